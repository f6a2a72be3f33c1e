// The main window: the adjustment console, the model's buttons, readout lists and dump, the
// port status, the COM port and auto-release menus, the 31 test channels and their settings,
// and the periodic task that the port manager's timer runs every 50 ms. It is the host the
// link and the model call back into (errors, settings, the channel dialog).
#pragma once

#include "app/common/KeyBuffer.h"
#include "link/LinkHost.h"
#include "model/RigHost.h"

#include <QMainWindow>

#include <array>
#include <cstdint>
#include <memory>

class QAction;
class frmEditCh;

class frmMain : public QMainWindow, public LinkHost, public RigHost {
  public:
    static constexpr int ChannelCount = 31;

    // Builds the controls; then ComPortNo := 1 and ComAutoRelease := 0, which create the model
    // object and the sequencer (the port manager must be registered before).
    frmMain();
    ~frmMain() override;

    // Load: reads "Const.ini", sets the captions and lays the window out. False when the
    // constants file could not be read (the caller ends the program).
    bool Form_Load();
    // Closes the port, saves the settings and stops the port manager.
    void CloseComForm();

    std::int16_t ComPortNo() const { return comPortNo; }
    void setComPortNo(std::int16_t value);
    std::int16_t ComAutoRelease() const { return comAutoRelease; }
    void setComAutoRelease(std::int16_t seconds);

    // LinkHost
    void task() override;
    void MsgBoxCloneErr(clsCmcCln3Sequence& myObjCln3Seq) override;
    void saveData(clsCmcProfileIO& objProf) override;
    void loadData(clsCmcProfileIO& objProf) override;
    bool RigOpFunc_CheckSubNameLegal(const std::string& nameS) override;

    // RigHost
    QWidget& form() override { return *this; }
    QListWidget& lboConsole() override { return *console; }
    QListWidget& lbo01(int index) override { return *lists.at(static_cast<std::size_t>(index)); }
    QGroupBox& fra01(int index) override { return *frames.at(static_cast<std::size_t>(index)); }
    QPushButton& cmd00(int index) override { return *buttons.at(static_cast<std::size_t>(index)); }
    QFrame& linSepa(int index) override { return *separators.at(static_cast<std::size_t>(index)); }
    QLabel& lblTitle() override { return *title; }
    QPlainTextEdit& txtDispPara() override { return *dumpBox; }
    clsRig_Ch& ChUnit(std::int16_t ChNo) override;
    void EditFormSet(std::int16_t ChNo) override;
    clsRig_Ch& CurChObj(std::int16_t ChNo) { return ChUnit(ChNo); }

    QLabel& lblComBusy() { return *comBusy; }
    QAction& mnuFileExit() { return *exitAction; }
    QAction& mnuOptSelCom(int index) { return *comActions.at(static_cast<std::size_t>(index - 1)); }
    QAction& mnuOptionSelAutoRelease(int index) {
        return *releaseActions.at(static_cast<std::size_t>(index));
    }
    frmEditCh& editDialog();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void buildMenus();
    bool consoleKey(QKeyEvent& event);
    void refreshMenuChecks();
    void refreshPortStatus();

    std::int16_t comPortNo = 0;
    std::int16_t comAutoRelease = -1;
    bool closed = false;
    std::array<std::unique_ptr<clsRig_Ch>, ChannelCount> channels;
    KeyBuffer keyBuffer;

    QListWidget* console = nullptr;
    std::array<QListWidget*, 2> lists{};
    std::array<QGroupBox*, 4> frames{};
    std::array<QPushButton*, 3> buttons{};
    std::array<QFrame*, 2> separators{};
    QLabel* title = nullptr;
    QLabel* comBusy = nullptr;
    QPlainTextEdit* dumpBox = nullptr;
    QAction* exitAction = nullptr;
    std::array<QAction*, 4> comActions{};
    std::array<QAction*, 6> releaseActions{};
    frmEditCh* dialog = nullptr;
};

// The main window, created at its first use (after the port manager is registered).
frmMain& mainWindow();
bool mainWindowExists();
void destroyMainWindow();
