// SPDX-License-Identifier: GPL-3.0-or-later
// The main window.
#include "ui/frmMain.h"

#include "common/CommonRoutines.h"
#include "common/Product.h"
#include "common/clsCmcProfileIO.h"
#include "model/RigDoor.h"
#include "model/TestChannelSettings.h"
#include "platform/SessionLog.h"
#include "ui/AboutBox.h"
#include "ui/ConfirmDialog.h"
#include "ui/CurvesWindow.h"
#include "ui/ServiceMenu.h"
#include "ui/StatusLine.h"
#include "ui/Twips.h"
#include "ui/UiHooks.h"
#include "ui/frmEditCh.h"
#include "ui/frmInstruments.h"
#include "ui/frmPortDevice.h"

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
#include <QStatusBar>

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

// Row `row` of a list shows text (rows up to it are added as needed).
void setListLine(QListWidget& list, int row, const std::string& text) {
    while (list.count() <= row) {
        list.addItem(QString());
    }
    list.item(row)->setText(QString::fromStdString(text));
}

} // namespace

frmMain::frmMain() {
    setFont(windowFont());
    buildControls();
    buildMenus();
    setMinimumSize(Twips(*this).toPixels(MinimumWidth),
                   Twips(*this).toPixels(MinimumHeight) + statusBar()->sizeHint().height());
}

frmMain::~frmMain() = default;

void frmMain::attach(const Links& l) {
    links.emplace(l);
    jobMenu->attach(l.door);
    setComPortNo(1);
    setComAutoRelease(0);
}

void frmMain::buildControls() {
    w.form = this;
    w.client = new QWidget(this);
    setCentralWidget(w.client);
    for (auto& line : w.separators) {
        line = new QFrame(w.client);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        line->setFixedHeight(1);
    }
    w.separators[1]->setFrameShadow(QFrame::Plain);
    w.separators[1]->setStyleSheet("color: palette(light)");
    comBusy = new QLabel(w.client);
    comBusy->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    for (auto& frame : w.frames) {
        frame = new QGroupBox(w.client);
    }
    w.title = new QLabel(QString("%1\n%2").arg(product::Title, product::Subtitle), w.frames[0]);
    w.title->setAlignment(Qt::AlignHCenter);
    w.console = new QListWidget(w.frames[1]);
    w.console->installEventFilter(this);
    for (auto& list : w.lists) {
        list = new QListWidget(w.frames[2]);
        list->setFocusPolicy(Qt::NoFocus);
        list->setSelectionMode(QAbstractItemView::NoSelection);
    }
    status = std::make_unique<StatusLine>(*statusBar());
    w.statusBar = statusBar();
    curves = new CurvesWindow(this);
    w.dump = new QPlainTextEdit(w.frames[3]);
    w.dump->setReadOnly(true);
    w.dump->setLineWrapMode(QPlainTextEdit::NoWrap);
    w.dump->installEventFilter(this);
    for (int i = 0; i < 3; ++i) {
        auto* button = new QPushButton(w.client);
        button->setAutoDefault(true); // Enter clicks the button that has the focus
        button->installEventFilter(this);
        connect(button, &QPushButton::clicked, this, [this, i] {
            showLastError({});
            links->door.click(static_cast<RigDoor::Button>(i));
        });
        w.buttons[static_cast<std::size_t>(i)] = button;
    }
    // F5 anywhere in the window does what "Reload(F5)" does.
    auto* reload = new QAction(this);
    reload->setShortcut(Qt::Key_F5);
    reload->setShortcutContext(Qt::WindowShortcut);
    connect(reload, &QAction::triggered, this, [this] {
        showLastError({});
        links->door.click(RigDoor::Reload);
    });
    addAction(reload);
}

void frmMain::buildMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    jobMenu = new ServiceMenu(*file, *this);
    file->addSeparator();
    exitAction = file->addAction("E&xit");
    connect(exitAction, &QAction::triggered, this, &QWidget::close);

    QMenu* view = menuBar()->addMenu("&View");
    curvesAction = view->addAction("&Curves");
    curvesAction->setShortcut(Qt::Key_F6);
    curvesAction->setShortcutContext(Qt::WindowShortcut);
    connect(curvesAction, &QAction::triggered, this, &frmMain::showCurves);

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
    port->addSeparator();
    deviceAction = port->addAction(frmPortDevice::menuCaption(1));
    connect(deviceAction, &QAction::triggered, this,
            [this] { choosePortDevice(*this, links->settings, comPortNo); });
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
    instrumentsAction = option->addAction(frmInstruments::menuCaption());
    connect(instrumentsAction, &QAction::triggered, this, &frmMain::instrumentsWanted);

    QMenu* align = buildAlignMenu();

    QMenu* help = menuBar()->addMenu("&Help");
    logFolderAction = help->addAction("Open &log folder");
    connect(logFolderAction, &QAction::triggered, this,
            [] { ui::openFolder(platform::SessionLog::currentFolder()); });
    aboutAction = help->addAction("&About");
    connect(aboutAction, &QAction::triggered, this, [this] { showAbout(*this); });

    // Any menu entry is the technician's next action: the last error has been read.
    for (QMenu* menu : {file, view, option, align, help}) {
        connect(menu, &QMenu::triggered, this, [this] { showLastError({}); });
    }
}

// The bench's part of the work: whoever owns the bench answers these.
QMenu* frmMain::buildAlignMenu() {
    QMenu* align = menuBar()->addMenu("&Align");
    guidedAction = align->addAction("&Guided alignment…");
    connect(guidedAction, &QAction::triggered, this, &frmMain::guidedAlignmentWanted);
    automaticAction = align->addAction("&Run the automatic steps");
    connect(automaticAction, &QAction::triggered, this, &frmMain::automaticStepsWanted);
    return align;
}

bool frmMain::Form_Load(const std::string& constantsFile) {
    if (!links->door.loadConstants(constantsFile)) {
        return false;
    }
    setWindowTitle(product::Title);
    layout.apply(w);
    return true;
}

void frmMain::setComPortNo(std::int16_t value) {
    comPortNo = value;
    deviceAction->setText(frmPortDevice::menuCaption(value));
    links->door.setPort(value);
}

void frmMain::setComAutoRelease(std::int16_t seconds) {
    comAutoRelease = seconds;
    links->door.setHoldTime(static_cast<std::int32_t>(seconds) * 1000);
}

void frmMain::refresh() {
    refreshMenuChecks();
    refreshPortStatus();
    if (const std::string trouble = platform::SessionLog::takeTrouble(); !trouble.empty()) {
        showLastError(trouble); // the bench goes on without its log
    }
    status->showProgress(links->door.progressNow());
    status->showIdentity(links->door.identityText());
    if (curves->isVisible()) {
        curves->refresh(links->door.curves());
    }
}

void frmMain::showCurves() {
    curves->refresh(links->door.curves());
    curves->show();
    curves->raise();
    curves->activateWindow();
}

void frmMain::showLastError(const std::string& text) {
    status->showError(text);
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
    const bool open = links->door.portOpen();
    if (portStatusShown == std::pair(comPortNo, open)) {
        return; // the label already says so; its palette and size need not be made again
    }
    portStatusShown = std::pair(comPortNo, open);
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

void frmMain::MsgBoxCloneErr(const std::string& text) {
    // No tick runs while the box is open: show the closed port now.
    refreshPortStatus();
    status->showProgress(links->door.progressNow());
    // Until the next action the status bar keeps what went wrong, after the box is gone.
    showLastError(firstLine(text));
    lastWarning = text;
    MsgBoxProduct(text);
}

void frmMain::linkFailed(const std::string& text) {
    emit radioLinkLost();
    MsgBoxCloneErr(text);
}

void frmMain::saveData(clsCmcProfileIO& objProf) {
    objProf.setSection("OPTION");
    // One write of the file for all keys; every key is tried even after one failed, and the
    // technician hears of it once, not per key.
    objProf.beginSaving();
    bool saved = objProf.saveData("ComPort", ComPortNo());
    saved = objProf.saveData("ComAutoRelease", ComAutoRelease()) && saved;
    saved = test_channel_settings::save(objProf, links->door.channels()) && saved;
    saved = objProf.commitSaving() && saved;
    if (!saved) {
        // Neither beside the program nor in the user's folder: without a word the port and the
        // channels would be lost at every exit.
        MsgBoxProduct(objProf.notSavedText());
    }
}

void frmMain::loadData(clsCmcProfileIO& objProf) {
    objProf.setSection("OPTION");
    objProf.beginLoading(); // one read of the file for all keys
    std::int16_t port = 1;
    objProf.loadData("ComPort", port, std::int16_t{1});
    // The menus only ever store 1 to 4 and 0 to 5; a hand-edited value outside what the port
    // manager and the release timer take falls back to the default.
    setComPortNo(port >= frmCom::imdMinComPortNum && port <= frmCom::imdmaxComPortNum ? port : 1);
    std::int16_t release = 0;
    objProf.loadData("ComAutoRelease", release, std::int16_t{0});
    setComAutoRelease(release >= 0 && release < ReleaseMenuCount ? release : 0);
    test_channel_settings::load(objProf, links->door.channels());
    objProf.endLoading();
}

frmEditCh& frmMain::editDialog() {
    if (dialog == nullptr) {
        dialog = new frmEditCh(this);
    }
    return *dialog;
}

// --- RigView --------------------------------------------------------------------------------

void frmMain::setButtonCaptions(const std::array<std::string, 3>& captions) {
    for (std::size_t i = 0; i < captions.size(); ++i) {
        w.buttons[i]->setText(QString::fromStdString(captions[i]));
    }
}

void frmMain::resetReadouts(ReadoutPage page, const std::string& caption, int rows) {
    QListWidget& list = lbo01(static_cast<int>(page));
    list.clear();
    list.addItem(QString::fromStdString(caption));
    for (int i = 0; i < rows; ++i) {
        list.addItem("----");
    }
}

void frmMain::setReadoutLine(ReadoutPage page, int row, const std::string& text) {
    setListLine(lbo01(static_cast<int>(page)), row, text);
}

void frmMain::showMode(Mode mode) {
    fra01(0).setVisible(mode == Mode::Idle);
    const bool consoleWasShown = !fra01(1).isHidden();
    fra01(1).setVisible(mode == Mode::Editing);
    if (!consoleWasShown && mode == Mode::Editing) {
        w.console->setFocus();
    }
    fra01(3).setVisible(mode == Mode::DispPara);
    cmd00(0).setEnabled(mode != Mode::DispPara);
    cmd00(1).setEnabled(mode == Mode::Editing);
    cmd00(2).setEnabled(mode != Mode::Idle);
    // In the dump view "Disp para" is both the default and the cancel button (Enter and Esc
    // leave the dump); keyPressEvent routes Esc to it.
    cmd00(2).setDefault(mode == Mode::DispPara);
}

void frmMain::showDump(const std::string& text) {
    w.dump->setPlainText(QString::fromStdString(text));
}

void frmMain::dumpClosed() {
    cmd00(2).setFocus();
}

void frmMain::editChannel(std::int16_t channel) {
    clsRig_Ch& ch = links->door.channels().ChUnit(channel);
    frmEditCh& edit = editDialog();
    edit.adjustSize();
    const QRect main = frameGeometry();
    edit.move(main.left() + (main.width() - edit.frameGeometry().width()) / 2,
              main.top() + (main.height() - edit.frameGeometry().height()) / 2);
    edit.setCurCh(&ch);
    edit.FormAdjust();
    ui::execModal(edit);
}

void frmMain::showMessage(const std::string& text) {
    lastWarning = text;
    MsgBoxProduct(text);
}

void frmMain::showInformation(const std::string& text) {
    InfoBoxProduct(text);
}

bool frmMain::askYesNo(const std::string& question, const std::vector<std::string>& lines) {
    return ConfirmDialog::ask(this, question, lines, true);
}

void frmMain::beep() {
    ui::beep();
}

// --- ConsoleLines -----------------------------------------------------------------------------

void frmMain::setLine(int i, const std::string& text) {
    setListLine(*w.console, i, text);
}

void frmMain::clearLines() {
    w.console->clear();
}

// --- events ---------------------------------------------------------------------------------

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    const int width = centralWidget()->width();
    w.separators[0]->setGeometry(0, 0, width, 1);
    w.separators[1]->setGeometry(0, 1, width, 1);
    comBusy->setText("");
    portStatusShown.reset(); // the next tick writes the label again
    const Twips twips(*this);
    comBusy->move(twips.toPixels(StatusLabelOffset), twips.toPixels(StatusLabelOffset));
    layout.apply(w);
}

void frmMain::closeEvent(QCloseEvent* event) {
    curves->close(); // the curves belong to this window and go with it
    emit closing();
    event->accept();
}

void frmMain::keyPressEvent(QKeyEvent* event) {
    // In the dump view "Disp para" is the default and the cancel button.
    const int key = event->key();
    if (links->door.dumpShown() &&
        (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)) {
        w.buttons[2]->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

bool frmMain::consoleKey(QKeyEvent& event) {
    showLastError({});
    const int key = event.key();
    const bool keypad = (event.modifiers() & Qt::KeypadModifier) != 0;
    const bool step = key == Qt::Key_Left || key == Qt::Key_Right;
    // The keypad's separator key works as Enter; the comma of the main keys does nothing.
    const bool enter =
        key == Qt::Key_Return || key == Qt::Key_Enter || (key == Qt::Key_Comma && keypad);
    if (!step && !enter) {
        return false;
    }
    const int row = w.console->currentRow();
    const int by = (event.modifiers() & Qt::ShiftModifier) ? 5 : 1;
    // While a revert or a write puts the radio back, the items follow it and take no keys.
    const bool taken = step ? links->door.stepItem(row, key == Qt::Key_Left ? -by : by)
                            : links->door.pressEnter(row);
    if (taken) {
        emit workWaiting();
    }
    return true;
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == w.console) {
        if (event->type() == QEvent::KeyPress) {
            return consoleKey(static_cast<QKeyEvent&>(*event));
        }
        if (event->type() == QEvent::FocusIn && w.console->currentRow() < 0 &&
            w.console->count() > 0) {
            w.console->setCurrentRow(0);
        }
        return false;
    }
    if (watched == w.dump && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            keyPressEvent(static_cast<QKeyEvent*>(event));
            return true;
        }
        return false;
    }
    const bool isButton = std::find(w.buttons.begin(), w.buttons.end(), watched) != w.buttons.end();
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
