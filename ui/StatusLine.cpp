// SPDX-License-Identifier: GPL-3.0-or-later
// The status bar's contents.
#include "ui/StatusLine.h"

#include "ui/Twips.h"

#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

#include <algorithm>

namespace {

constexpr int BarWidth = 2400; // twips: long enough to read, short enough to leave the error room
constexpr int EdgeMargin = 90; // twips: the texts at either end keep off the window's frame

} // namespace

StatusLine::StatusLine(QStatusBar& status) {
    status.setSizeGripEnabled(false);
    const int edge = Twips(status).toPixels(EdgeMargin);
    what = new QLabel(&status);
    what->setContentsMargins(edge, 0, 0, 0);
    bar = new QProgressBar(&status);
    bar->setFixedWidth(Twips(status).toPixels(BarWidth));
    bar->setFormat("%v of %m"); // bytes of the memory, values of a write, steps of a sweep
    errorText = new QLabel(&status);
    errorText->setStyleSheet("color: #b00000");
    errorText->setContentsMargins(edge, 0, 0, 0);
    identityText = new QLabel(&status);
    identityText->setContentsMargins(0, 0, edge, 0);
    status.addWidget(what);
    status.addWidget(bar);
    status.addWidget(errorText, 1);
    status.addPermanentWidget(identityText);
    what->hide();
    bar->hide();
}

void StatusLine::showProgress(const std::optional<Progress>& now) {
    what->setVisible(now.has_value());
    bar->setVisible(now.has_value() && now->total > 0);
    if (now) {
        what->setText(QString::fromStdString(now->what));
        bar->setRange(0, std::max(now->total, 1));
        bar->setValue(std::clamp(now->done, 0, std::max(now->total, 1)));
    }
}

void StatusLine::showError(const std::string& text) {
    errorText->setText(QString::fromStdString(text));
}

void StatusLine::showIdentity(const std::string& text) {
    identityText->setText(QString::fromStdString(text));
}
