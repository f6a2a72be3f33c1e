// Captions of the buttons and readout lists, and the arrangement of the main window. Sizes are
// worked out in twips (1/1440 inch) and turned into pixels with the screen's logical resolution.
//
//   [COM 1: OPEN]      [Connect] [Reload(F5)] [Disp para]
//   +- title (idle) / console (connected) / dump (Disp para) ---------------+
//   |                                                                      |
//   +- readouts -----------------------------------------------------------+
//   | [A/D] list                         | [D/A] list                      |
#include "model/clsIndOp_RigK5.h"

#include "app/common/CommonRoutines.h"
#include "model/RigHost.h"
#include "model/Twips.h"

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

std::int32_t clsIndOp_RigK5::windowHeightFor(std::int32_t screenHeight) {
    auto height = static_cast<std::int32_t>(roundHalfEven(screenHeight * 0.9));
    if (height < 6600) {
        height = 6600;
    }
    if (height > 9000) {
        height = 9800; // a tall screen gets 9800, not 9000
    }
    return height;
}

void clsIndOp_RigK5::RigOpFunc_FormResource() {
    RigHost* host = rigHost();
    if (host == nullptr) {
        return;
    }
    host->cmd00(0).setText("Connect");
    host->cmd00(1).setText("Reload(F5)");
    host->cmd00(2).setText("Disp para");
    const auto fill = [](QListWidget& list, const char* caption, int placeholders) {
        list.clear();
        list.addItem(caption);
        for (int i = 0; i < placeholders; ++i) {
            list.addItem("----");
        }
    };
    fill(host->lbo01(0), "[A/D]", 3);
    fill(host->lbo01(1), "[D/A]", 8);
}

void clsIndOp_RigK5::RigOpFunc_FormLayout() {
    RigHost* host = rigHost();
    if (host == nullptr) {
        return;
    }
    QWidget& form = host->form();
    const Twips twips(form);
    if (!formSizedOnce && form.screen() != nullptr) {
        formSizedOnce = true;
        const QRect screen = form.screen()->geometry();
        const int screenWidth = twips.fromPixels(screen.width());
        const int screenHeight = twips.fromPixels(screen.height());
        const int height = windowHeightFor(screenHeight);
        form.resize(twips.toPixels(WindowWidth), twips.toPixels(height));
        form.move(screen.left() + twips.toPixels((screenWidth - WindowWidth) / 2),
                  screen.top() + twips.toPixels(static_cast<int>((screenHeight - height) * 0.3)));
    }

    // The buttons: one row, 120 apart, centred under the separator line.
    const QFrame& line = host->linSepa(1);
    const int x1 = twips.fromPixels(line.x());
    const int x2 = twips.fromPixels(line.x() + line.width());
    const int y1 = twips.fromPixels(line.y());
    for (int i = 0; i < 3; ++i) {
        QPushButton& button = host->cmd00(i);
        const int left =
            x1 + ((x2 - x1) - (3 * ButtonWidth + 2 * Gap)) / 2 + (ButtonWidth + Gap) * i;
        button.setGeometry(twips.toPixels(left, y1 + Gap, ButtonWidth, ButtonHeight));
        // A tab stop, but a click leaves the focus where it was: the console keeps its keys.
        button.setFocusPolicy(Qt::TabFocus);
        button.setVisible(true);
    }

    // The frames: the title frame takes the whole area under the buttons; the console and the
    // dump frames (never shown together with it) share its upper part, the readouts its lower.
    const QWidget* client = host->cmd00(0).parentWidget();
    const int clientWidth = twips.fromPixels(client->width());
    const int clientHeight = twips.fromPixels(client->height());
    const int top = y1 + Gap + ButtonHeight + Gap;
    const int width = clientWidth - 2 * Gap;
    const int height = clientHeight - top - Gap;
    host->fra01(0).setGeometry(twips.toPixels(Gap, top, width, height));

    const int rowHeight = twips.fromPixels(host->lbo01(1).fontMetrics().height() + 2);
    const int listsHeight = std::min(std::max(height, 0) / 2, 10 * rowHeight + FrameTop + 2 * Gap);
    const int upperHeight = height - listsHeight - Gap / 2;
    host->fra01(1).setGeometry(twips.toPixels(Gap, top, width, upperHeight));
    host->fra01(3).setGeometry(twips.toPixels(Gap, top, width, upperHeight));
    QGroupBox& lists = host->fra01(2);
    lists.setGeometry(twips.toPixels(Gap, top + height - listsHeight, width, listsHeight));
    lists.raise(); // over the title frame, which it lies in while the radio is not connected

    // The readout lists side by side, equally wide.
    const int listWidth = (width - 3 * Gap) / 2;
    const int listHeight = listsHeight - FrameTop - Gap;
    host->lbo01(0).setGeometry(twips.toPixels(Gap, FrameTop, listWidth, listHeight));
    host->lbo01(1).setGeometry(
        twips.toPixels(Gap + listWidth + Gap, FrameTop, listWidth, listHeight));
    host->lbo01(0).setVisible(true);
    host->lbo01(1).setVisible(true);

    placeInFrame(twips, host->lboConsole(), host->fra01(1));

    // The title, centred in its frame.
    QLabel& title = host->lblTitle();
    title.adjustSize();
    const QWidget& titleFrame = host->fra01(0);
    title.move((titleFrame.width() - title.width()) / 2, twips.toPixels(3 * Gap));
    title.setVisible(true);

    QPlainTextEdit& dumpBox = host->txtDispPara();
    placeInFrame(twips, dumpBox, host->fra01(3));
    dumpBox.setFocusPolicy(Qt::StrongFocus);
}
