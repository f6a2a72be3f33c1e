#include "app/frmMain.h"

#include "app/common/CommonRoutines.h"
#include "app/common/Product.h"
#include "app/common/clsCmcProfileIO.h"
#include "console/ConsoleGlobal.h"
#include "console/clsConsole.h"
#include "link/CloneErrorText.h"
#include "link/LinkGlobals.h"
#include "link/clsCmcCln3Sequence.h"
#include "link/frmCom.h"
#include "model/Twips.h"
#include "model/clsIndOp_RigK5.h"
#include "model/clsRig_Ch.h"
#include "model/frmEditCh.h"
#include "platform/UiHooks.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace {

constexpr int PortMenuCount = 4;
constexpr int ReleaseMenuCount = 6;
constexpr int StatusLabelOffset = 120; // twips from the left and the top
// Below this the centred button row would cover the port status label (twips).
constexpr int MinimumWidth = 8700;
constexpr int MinimumHeight = 4800;

// Courier New where the system has it, otherwise the system's fixed-width font.
QFont windowFont() {
    QFont font("Courier New", 9);
    if (QFontInfo(font).family() != "Courier New") {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSize(9);
    }
    return font;
}

std::string channelKey(int channel, const char* field) {
    return "MR-" + std::to_string(channel) + field;
}

std::unique_ptr<frmMain> theMainWindow;

} // namespace

frmMain::frmMain() {
    setFont(windowFont());
    setMinimumSize(Twips(*this).toPixels(MinimumWidth), Twips(*this).toPixels(MinimumHeight));
    buildControls();
    buildMenus();
    setRigHost(this);
    if (gObjCom() != nullptr) {
        gObjCom()->setHost(this);
    }
    setComPortNo(1);
    setComAutoRelease(0);
}

frmMain::~frmMain() {
    if (rigHost() == this) {
        setRigHost(nullptr);
    }
    if (gObjCom() != nullptr && gObjCom()->Host() == this) {
        gObjCom()->setHost(nullptr);
    }
}

void frmMain::buildControls() {
    auto* client = new QWidget(this);
    setCentralWidget(client);

    for (auto& line : separators) {
        line = new QFrame(client);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        line->setFixedHeight(1);
    }
    separators[1]->setFrameShadow(QFrame::Plain);
    separators[1]->setStyleSheet("color: palette(light)");

    comBusy = new QLabel(client);
    comBusy->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));

    for (auto& frame : frames) {
        frame = new QGroupBox(client);
    }
    title =
        new QLabel(QString("%1\n%2").arg(product::Title, "Adjust Utility for VX-K5"), frames[0]);
    title->setAlignment(Qt::AlignHCenter);
    console = new QListWidget(frames[1]);
    console->installEventFilter(this);
    for (auto& list : lists) {
        list = new QListWidget(frames[2]);
        list->setFocusPolicy(Qt::NoFocus);
        list->setSelectionMode(QAbstractItemView::NoSelection);
    }
    dumpBox = new QPlainTextEdit(frames[3]);
    dumpBox->setReadOnly(true);
    dumpBox->setLineWrapMode(QPlainTextEdit::NoWrap);
    dumpBox->installEventFilter(this);

    for (int i = 0; i < 3; ++i) {
        auto* button = new QPushButton(client);
        button->setAutoDefault(true); // Enter clicks the button that has the focus
        button->installEventFilter(this);
        connect(button, &QPushButton::clicked, this,
                [i] { gObjRigOp().RigOpFunc_ClickCmd00(static_cast<std::int16_t>(i)); });
        buttons[static_cast<std::size_t>(i)] = button;
    }
    // F5 anywhere in the window does what "Reload(F5)" does.
    auto* reload = new QAction(this);
    reload->setShortcut(Qt::Key_F5);
    reload->setShortcutContext(Qt::WindowShortcut);
    connect(reload, &QAction::triggered, this, [] { gObjRigOp().RigOpFunc_ClickCmd00(1); });
    addAction(reload);
}

void frmMain::buildMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    exitAction = file->addAction("E&xit");
    connect(exitAction, &QAction::triggered, this, &QWidget::close);

    QMenu* option = menuBar()->addMenu("&Option");
    QMenu* port = option->addMenu("&Port");
    auto* portGroup = new QActionGroup(this); // one check mark at a time, also between ticks
    for (int i = 1; i <= PortMenuCount; ++i) {
        QAction* action = port->addAction(QString("COM &%1").arg(i));
        action->setCheckable(true);
        portGroup->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, i] { setComPortNo(static_cast<std::int16_t>(i)); });
        comActions[static_cast<std::size_t>(i - 1)] = action;
    }
    QMenu* release = option->addMenu("&Auto port release");
    auto* releaseGroup = new QActionGroup(this);
    const char* const captions[ReleaseMenuCount] = {"&OFF",   "&1 sec", "&2 sec",
                                                    "&3 sec", "&4 sec", "&5 sec"};
    for (int i = 0; i < ReleaseMenuCount; ++i) {
        QAction* action = release->addAction(captions[i]);
        action->setCheckable(true);
        releaseGroup->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, i] { setComAutoRelease(static_cast<std::int16_t>(i)); });
        releaseActions[static_cast<std::size_t>(i)] = action;
    }
}

bool frmMain::Form_Load() {
    if (!gObjRigOp().RigProp_ReadParametersFromExtFile()) {
        return false;
    }
    setWindowTitle(product::Title);
    gObjRigOp().RigOpFunc_FormResource();
    gObjRigOp().RigOpFunc_FormLayout();
    return true;
}

void frmMain::CloseComForm() {
    if (closed || gObjCom() == nullptr) {
        return;
    }
    closed = true;
    gObjCom()->AllOver();
    gObjCom()->setComOpen(false);
    gObjCom()->timSolid().stop();
}

void frmMain::setComPortNo(std::int16_t value) {
    comPortNo = value;
    gObjRigOp().RigOpFunc_SetComPortNo(value);
}

void frmMain::setComAutoRelease(std::int16_t seconds) {
    comAutoRelease = seconds;
    gObjSeq().setComHoldReload(static_cast<std::int32_t>(seconds) * 1000);
}

void frmMain::task() {
    clsCmcCln3Sequence& seq = gObjSeq();
    seq.task();
    gObjRigOp().task();
    if (seq.OpRunning()) {
        seq.task();
    }
    refreshMenuChecks();
    refreshPortStatus();
}

void frmMain::refreshMenuChecks() {
    for (int i = 1; i <= PortMenuCount; ++i) {
        mnuOptSelCom(i).setChecked(i == comPortNo);
    }
    for (int i = 0; i < ReleaseMenuCount; ++i) {
        mnuOptionSelAutoRelease(i).setChecked(i == comAutoRelease);
    }
}

void frmMain::refreshPortStatus() {
    const bool open = gObjCom() != nullptr && gObjCom()->comOpen();
    // A number in a text carries a blank where its sign would stand: "COM 1: OPEN".
    const std::string number = (comPortNo < 0 ? "" : " ") + std::to_string(comPortNo);
    comBusy->setText(QString::fromStdString("COM" + number + (open ? ": OPEN" : ": CLOSE")));
    QPalette palette = comBusy->palette();
    palette.setColor(QPalette::WindowText,
                     open ? QApplication::palette().color(QPalette::ButtonText)
                          : QApplication::palette().color(QPalette::Disabled, QPalette::Text));
    comBusy->setPalette(palette);
    comBusy->adjustSize();
}

void frmMain::MsgBoxCloneErr(clsCmcCln3Sequence& myObjCln3Seq) {
    const std::string text =
        gObjCom() != nullptr ? cloneErrorText(*gObjCom(), myObjCln3Seq) : std::string();
    gObjRigOp().RigOpFunc_ResetAll(); // the model is idle before the technician reads why
    refreshPortStatus(); // no tick runs while the box is open: show the closed port now
    MsgBoxProduct(text);
}

bool frmMain::RigOpFunc_CheckSubNameLegal(const std::string& nameS) {
    return clsIndOp_RigK5::RigOpFunc_CheckSubNameLegal(nameS);
}

void frmMain::saveData(clsCmcProfileIO& objProf) {
    objProf.setSection("OPTION");
    // Every key is tried even after one failed; the technician hears of it once, not per key.
    bool saved = objProf.saveData("ComPort", ComPortNo());
    saved = objProf.saveData("ComAutoRelease", ComAutoRelease()) && saved;
    for (int c = 0; c < ChannelCount; ++c) {
        const clsRig_Ch& ch = ChUnit(static_cast<std::int16_t>(c));
        saved = objProf.saveData(channelKey(c, "(Appear)"), ch.AppearCh()) && saved;
        saved = objProf.saveData(channelKey(c, "(Frequency)"), ch.FreqOp_Pure()) && saved;
        saved = objProf.saveData(channelKey(c, "(Ref)"), ch.FreqOpRef_Pure()) && saved;
        saved = objProf.saveData(channelKey(c, "(RF Power)"), ch.RFPower_Pure()) && saved;
    }
    if (!saved) {
        // Neither beside the program nor in the user's folder: without a word the port and the
        // channels would be lost at every exit.
        MsgBoxProduct("Cannot save the settings to '" + objProf.ProfileToSave() + "'.");
    }
}

void frmMain::loadData(clsCmcProfileIO& objProf) {
    objProf.setSection("OPTION");
    std::int16_t port = 1;
    objProf.loadData("ComPort", port, std::int16_t{1});
    // The menus only ever store 1 to 4 and 0 to 5; a hand-edited value outside what the port
    // manager and the release timer take falls back to the default.
    setComPortNo(port >= frmCom::imdMinComPortNum && port <= frmCom::imdmaxComPortNum ? port : 1);
    std::int16_t release = 0;
    objProf.loadData("ComAutoRelease", release, std::int16_t{0});
    setComAutoRelease(release >= 0 && release < ReleaseMenuCount ? release : 0);

    for (int c = 0; c < ChannelCount; ++c) {
        bool appear = c == 0;
        std::int32_t frequency = 14500000;
        std::int16_t reference = 0;
        std::int16_t power = 0;
        objProf.loadData(channelKey(c, "(Appear)"), appear, c == 0);
        objProf.loadData(channelKey(c, "(Frequency)"), frequency, std::int32_t{14500000});
        objProf.loadData(channelKey(c, "(Ref)"), reference, std::int16_t{0});
        objProf.loadData(channelKey(c, "(RF Power)"), power, std::int16_t{0});
        clsRig_Ch& ch = ChUnit(static_cast<std::int16_t>(c));
        if (c == 0 && !appear) {
            // Channel 0 is always shown: the procedures rely on it.
            appear = true;
            frequency = 14500000;
            reference = 0;
            power = 0;
        }
        ch.setAppearCh(appear);
        // A hand-edited frequency outside the radio's band would be sent as it stands (and a
        // negative one as nonsense digits): it is held at the band edge, as typed ones are.
        ch.setFreqOp_Pure(std::clamp(frequency, clsRig_Ch::FreqLowest, clsRig_Ch::FreqHighest));
        ch.setFreqOpRef_Pure(reference);
        ch.setRFPower_Pure(power);
    }
}

clsRig_Ch& frmMain::ChUnit(std::int16_t ChNo) {
    const auto index = static_cast<std::size_t>(std::clamp<int>(ChNo, 0, ChannelCount - 1));
    if (!channels[index]) {
        channels[index] = std::make_unique<clsRig_Ch>();
    }
    return *channels[index];
}

frmEditCh& frmMain::editDialog() {
    if (dialog == nullptr) {
        dialog = new frmEditCh(this);
    }
    return *dialog;
}

void frmMain::EditFormSet(std::int16_t ChNo) {
    clsRig_Ch& channel = ChUnit(ChNo);
    frmEditCh& edit = editDialog();
    edit.adjustSize();
    const QRect main = frameGeometry();
    edit.move(main.left() + (main.width() - edit.frameGeometry().width()) / 2,
              main.top() + (main.height() - edit.frameGeometry().height()) / 2);
    edit.setCurCh(&channel);
    edit.FormAdjust();
    platform::execModal(edit);
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    const int width = centralWidget()->width();
    separators[0]->setGeometry(0, 0, width, 1);
    separators[1]->setGeometry(0, 1, width, 1);
    comBusy->setText("");
    const Twips twips(*this);
    comBusy->move(twips.toPixels(StatusLabelOffset), twips.toPixels(StatusLabelOffset));
    gObjRigOp().RigOpFunc_FormLayout();
}

void frmMain::closeEvent(QCloseEvent* event) {
    CloseComForm();
    event->accept();
}

void frmMain::keyPressEvent(QKeyEvent* event) {
    // In the dump view "Disp para" is the default and the cancel button.
    const int key = event->key();
    if (gObjRigOp().RigProp_DispPara() &&
        (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)) {
        buttons[2]->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

bool frmMain::consoleKey(QKeyEvent& event) {
    clsConsole& items = gObjConsole();
    const int row = console->currentRow();
    const bool selected = row >= 0 && row < items.ListCount();
    const auto index = static_cast<std::int16_t>(row);
    const std::int16_t step = (event.modifiers() & Qt::ShiftModifier) ? 5 : 1;
    switch (event.key()) {
    case Qt::Key_Left:
        if (selected) {
            items.UpDown(index, static_cast<std::int16_t>(-step));
        }
        return true;
    case Qt::Key_Right:
        if (selected) {
            items.UpDown(index, step);
        }
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: // the keypad's Enter
        if (selected) {
            items.EnterPushed(index);
        }
        return true;
    default:
        return false;
    }
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == console) {
        if (event->type() == QEvent::KeyPress) {
            return consoleKey(static_cast<QKeyEvent&>(*event));
        }
        if (event->type() == QEvent::FocusIn && console->currentRow() < 0 && console->count() > 0) {
            console->setCurrentRow(0);
        }
        return false;
    }
    if (watched == dumpBox && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            keyPressEvent(static_cast<QKeyEvent*>(event));
            return true;
        }
        return false;
    }
    const bool isButton = std::find(buttons.begin(), buttons.end(), watched) != buttons.end();
    if (isButton && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (!typed.isEmpty()) {
            if (const auto caption = keyBuffer.Feed(typed.toStdString())) {
                setWindowTitle(QString::fromStdString(*caption));
            }
        }
    }
    return false; // the key still reaches the button
}

frmMain& mainWindow() {
    if (!theMainWindow) {
        theMainWindow = std::make_unique<frmMain>();
    }
    return *theMainWindow;
}

bool mainWindowExists() {
    return theMainWindow != nullptr;
}

void destroyMainWindow() {
    theMainWindow.reset();
}
