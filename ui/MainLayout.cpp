// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's layout.
#include "ui/MainLayout.h"

#include "common/CommonRoutines.h"
#include "ui/Twips.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace {

constexpr int ButtonWidth = 1800;
constexpr int ButtonHeight = 330;
constexpr int Gap = 120;
constexpr int FrameTop = 240; // room for a frame's caption
constexpr int WindowWidth = 9525;

// Places a control inside its frame, margins in twips, never with a negative size.
void placeInFrame(const Twips& twips, QWidget& control, const QWidget& frame) {
    const int width = twips.fromPixels(frame.width()) - 2 * Gap;
    const int height = twips.fromPixels(frame.height()) - FrameTop - Gap;
    control.setGeometry(twips.toPixels(Gap, FrameTop, width, height));
    control.setVisible(true);
}

} // namespace

std::int32_t MainLayout::windowHeightFor(std::int32_t screenHeight) {
    auto height = static_cast<std::int32_t>(roundHalfEven(screenHeight * 0.9));
    if (height < 6600) {
        height = 6600;
    }
    if (height > 9000) {
        height = 9800; // a tall screen gets 9800, not 9000
    }
    return height;
}

void MainLayout::sizeWindow(const MainWidgets& w) {
    if (sizedOnce || w.form->screen() == nullptr) {
        return;
    }
    sizedOnce = true;
    const Twips twips(*w.form);
    const QRect screen = w.form->screen()->geometry();
    const int screenWidth = twips.fromPixels(screen.width());
    const int screenHeight = twips.fromPixels(screen.height());
    const int height = windowHeightFor(screenHeight);
    // The rules size the window above the status bar, which comes on top.
    const int statusHeight = w.statusBar != nullptr ? w.statusBar->sizeHint().height() : 0;
    w.form->resize(twips.toPixels(WindowWidth), twips.toPixels(height) + statusHeight);
    w.form->move(screen.left() + twips.toPixels((screenWidth - WindowWidth) / 2),
                 screen.top() + twips.toPixels(static_cast<int>((screenHeight - height) * 0.3)));
}

void MainLayout::apply(const MainWidgets& w) {
    sizeWindow(w);
    const Twips twips(*w.form);
    // The buttons: one row, 120 apart, centred under the separator line.
    const QFrame& line = *w.separators[1];
    const int x1 = twips.fromPixels(line.x());
    const int x2 = twips.fromPixels(line.x() + line.width());
    const int y1 = twips.fromPixels(line.y());
    for (int i = 0; i < 3; ++i) {
        QPushButton& button = *w.buttons[static_cast<std::size_t>(i)];
        const int left =
            x1 + ((x2 - x1) - (3 * ButtonWidth + 2 * Gap)) / 2 + (ButtonWidth + Gap) * i;
        button.setGeometry(twips.toPixels(left, y1 + Gap, ButtonWidth, ButtonHeight));
        // A tab stop, but a click leaves the focus where it was: the console keeps its keys.
        button.setFocusPolicy(Qt::TabFocus);
        button.setVisible(true);
    }
    placeFrames(w, y1 + Gap + ButtonHeight + Gap);

    // The title, centred in its frame.
    QLabel& title = *w.title;
    title.adjustSize();
    title.move((w.frames[0]->width() - title.width()) / 2, twips.toPixels(3 * Gap));
    title.setVisible(true);

    placeInFrame(twips, *w.console, *w.frames[1]);
    placeInFrame(twips, *w.dump, *w.frames[3]);
    w.dump->setFocusPolicy(Qt::StrongFocus);
}

// The title frame takes the whole area under the buttons; the console and the dump frames
// (never shown together with it) share its upper part, the readouts its lower.
void MainLayout::placeFrames(const MainWidgets& w, int top) {
    const Twips twips(*w.form);
    const int width = twips.fromPixels(w.client->width()) - 2 * Gap;
    const int height = twips.fromPixels(w.client->height()) - top - Gap;
    w.frames[0]->setGeometry(twips.toPixels(Gap, top, width, height));

    const int rowHeight = twips.fromPixels(w.lists[1]->fontMetrics().height() + 2);
    const int listsHeight = std::min(std::max(height, 0) / 2, 10 * rowHeight + FrameTop + 2 * Gap);
    const int upperHeight = height - listsHeight - Gap / 2;
    w.frames[1]->setGeometry(twips.toPixels(Gap, top, width, upperHeight));
    w.frames[3]->setGeometry(twips.toPixels(Gap, top, width, upperHeight));
    QGroupBox& lists = *w.frames[2];
    lists.setGeometry(twips.toPixels(Gap, top + height - listsHeight, width, listsHeight));
    lists.raise(); // over the title frame, which it lies in while the radio is not connected

    // The readout lists side by side, equally wide.
    const int listWidth = (width - 3 * Gap) / 2;
    const int listHeight = listsHeight - FrameTop - Gap;
    w.lists[0]->setGeometry(twips.toPixels(Gap, FrameTop, listWidth, listHeight));
    w.lists[1]->setGeometry(twips.toPixels(Gap + listWidth + Gap, FrameTop, listWidth, listHeight));
    w.lists[0]->setVisible(true);
    w.lists[1]->setVisible(true);
}
