// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the adjustment console, the model's buttons, readout lists and dump, the
// port status, the service job's File entries, the curves window (View, F6), the COM port (and
// its device), auto-release, instruments, Align and Help menus, the status bar (progress, the last
// link error, the connected radio), and the settings of the port, the release time and the test
// channels. It carries out what the model asks (RigView, the console's lines among it), and is the
// one place where errors become message boxes. It reaches the radio only through the door.
#pragma once

#include "model/RigView.h"
#include "ui/KeyBuffer.h"
#include "ui/MainLayout.h"

#include <QMainWindow>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

class QAction;
class QLabel;
class QMenu;
class CurvesWindow;
class ServiceMenu;
class StatusLine;
class RigDoor;
class clsCmcProfileIO;
class frmEditCh;

class frmMain : public QMainWindow, public RigView {
    Q_OBJECT

  public:
    // What the window works with; both owned by the composition root, both outliving it.
    struct Links {
        RigDoor& door;
        clsCmcProfileIO& settings; // where "Device for COM n…" writes its mapping
    };

    // Builds the controls; the window works once attached.
    frmMain();
    ~frmMain() override;

    // Joins the window to the door: then ComPortNo := 1 and ComAutoRelease := 0.
    void attach(const Links& links);
    // Load: reads the constants file, sets the captions and lays the window out. False when the
    // constants file could not be read (the caller ends the program).
    bool Form_Load(const std::string& constantsFile);

    std::int16_t ComPortNo() const { return comPortNo; }
    void setComPortNo(std::int16_t value);
    std::int16_t ComAutoRelease() const { return comAutoRelease; }
    void setComAutoRelease(std::int16_t seconds);

    // The window's part of every tick: menu check marks and the port status.
    void refresh();
    // Says why the link failed; the door has reset the model already.
    void MsgBoxCloneErr(const std::string& text);
    // The last warning the model had shown (a procedure's or the link's), for whoever would say
    // the same again.
    const std::string& lastMessage() const { return lastWarning; }
    void saveData(clsCmcProfileIO& objProf);
    void loadData(clsCmcProfileIO& objProf);

    // RigView
    void setButtonCaptions(const std::array<std::string, 3>& captions) override;
    void resetReadouts(ReadoutPage page, const std::string& caption, int rows) override;
    void setReadoutLine(ReadoutPage page, int row, const std::string& text) override;
    void showMode(Mode mode) override;
    void showDump(const std::string& text) override;
    void dumpClosed() override;
    void editChannel(std::int16_t channel) override;
    void showMessage(const std::string& text) override;
    void showInformation(const std::string& text) override;
    bool askYesNo(const std::string& question, const std::vector<std::string>& lines) override;
    void beep() override;
    void linkFailed(const std::string& text) override;

    // ConsoleLines
    void setLine(int i, const std::string& text) override;
    void clearLines() override;

    // The controls, by the names the technician's manual uses.
    QListWidget& lboConsole() { return *w.console; }
    QListWidget& lbo01(int index) { return *w.lists.at(static_cast<std::size_t>(index)); }
    QGroupBox& fra01(int index) { return *w.frames.at(static_cast<std::size_t>(index)); }
    QPushButton& cmd00(int index) { return *w.buttons.at(static_cast<std::size_t>(index)); }
    QLabel& lblTitle() { return *w.title; }
    QLabel& lblComBusy() { return *comBusy; }
    QPlainTextEdit& txtDispPara() { return *w.dump; }
    QAction& mnuFileExit() { return *exitAction; }
    ServiceMenu& serviceMenu() { return *jobMenu; }
    StatusLine& statusLine() { return *status; }
    QAction& mnuViewCurves() { return *curvesAction; }
    CurvesWindow& curvesWindow() { return *curves; }
    QAction& mnuOptSelCom(int index) { return *comActions.at(static_cast<std::size_t>(index - 1)); }
    QAction& mnuOptionSelAutoRelease(int index) {
        return *releaseActions.at(static_cast<std::size_t>(index));
    }
    QAction& mnuOptPortDevice() { return *deviceAction; }
    QAction& mnuOptInstruments() { return *instrumentsAction; }
    QAction& mnuAlignGuided() { return *guidedAction; }
    QAction& mnuAlignAutomatic() { return *automaticAction; }
    QAction& mnuHelpAbout() { return *aboutAction; }
    QAction& mnuHelpOpenLogFolder() { return *logFolderAction; }
    frmEditCh& editDialog();

  signals:
    // The technician closes the window ("E&xit" or the close box): the program ends.
    void closing();
    // A key stepped an item or pressed Enter: the work the next tick would do may go out now,
    // so that the frame leaves within milliseconds of the key.
    void workWaiting();
    // "Option → Instruments…": the composition root, which keeps the bench, opens the dialog.
    void instrumentsWanted();
    // The radio link failed: whatever drives the radio's input must stop before the box.
    void radioLinkLost();
    // "Align → Guided alignment…" and "Align → Run the automatic steps".
    void guidedAlignmentWanted();
    void automaticStepsWanted();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void buildMenus();
    QMenu* buildAlignMenu();
    void showCurves();
    // The last link error in the status bar; empty clears it.
    void showLastError(const std::string& text);
    bool consoleKey(QKeyEvent& event);
    void refreshMenuChecks();
    void refreshPortStatus();

    std::optional<Links> links;
    std::int16_t comPortNo = 0;
    std::int16_t comAutoRelease = -1;
    std::optional<std::pair<std::int16_t, bool>> portStatusShown; // COM number, open
    KeyBuffer keyBuffer;
    MainLayout layout;
    MainWidgets w;
    QLabel* comBusy = nullptr;
    QAction* exitAction = nullptr;
    ServiceMenu* jobMenu = nullptr;
    std::unique_ptr<StatusLine> status;
    QAction* curvesAction = nullptr;
    CurvesWindow* curves = nullptr;
    std::array<QAction*, 4> comActions{};
    std::array<QAction*, 6> releaseActions{};
    QAction* deviceAction = nullptr;
    QAction* instrumentsAction = nullptr;
    QAction* guidedAction = nullptr;
    QAction* automaticAction = nullptr;
    QAction* aboutAction = nullptr;
    QAction* logFolderAction = nullptr;
    frmEditCh* dialog = nullptr;
    std::string lastWarning;
};
