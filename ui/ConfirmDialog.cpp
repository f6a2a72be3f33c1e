// SPDX-License-Identifier: GPL-3.0-or-later
// The confirmation dialog.
#include "ui/ConfirmDialog.h"

#include "common/Product.h"
#include "ui/UiHooks.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

ConfirmDialog::ConfirmDialog(QWidget* parent, const std::string& question,
                             const std::vector<std::string>& lines, bool yesByDefault)
    : QDialog(parent) {
    setWindowTitle(product::Title);
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(QString::fromStdString(question).replace("\r\n", "\n"), this);
    text->setWordWrap(true);
    layout->addWidget(text);
    if (!lines.empty()) {
        auto* list = new QPlainTextEdit(this);
        list->setReadOnly(true);
        list->setLineWrapMode(QPlainTextEdit::NoWrap);
        for (const std::string& line : lines) {
            list->appendPlainText(QString::fromStdString(line));
        }
        list->moveCursor(QTextCursor::Start);
        layout->addWidget(list);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Yes | QDialogButtonBox::No, this);
    QPushButton* byDefault =
        buttons->button(yesByDefault ? QDialogButtonBox::Yes : QDialogButtonBox::No);
    byDefault->setDefault(true);
    byDefault->setFocus();
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    // Wide enough for a backup's name to stand whole on the question's first line.
    resize(640, lines.empty() ? 160 : 420);
}

bool ConfirmDialog::ask(QWidget* parent, const std::string& question,
                        const std::vector<std::string>& lines, bool yesByDefault) {
    ConfirmDialog dialog(parent, question, lines, yesByDefault);
    return ui::execModal(dialog) == QDialog::Accepted;
}
