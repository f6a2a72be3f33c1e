// The start-up: one copy only, the port manager and the radio identity with their defaults,
// the main window and the constants file, and the teardown of every global on the way out.
#include "app/start.h"

#include "app/common/CommonRoutines.h"
#include "app/common/Product.h"
#include "app/frmMain.h"
#include "console/ConsoleGlobal.h"
#include "link/LinkGlobals.h"
#include "link/clsCmcRadio.h"
#include "link/frmCom.h"
#include "model/clsIndOp_RigK5.h"
#include "platform/InstanceLock.h"
#include "platform/SerialControl.h"
#include "platform/UserFolders.h"

#include <QApplication>

namespace {

const char* const AlreadyRunningText =
    "Cannot execute VS-K5 ALN Rev.1.0 repeatedly.\r\nVS-K5 ALN Rev.1.0 is already executing.";

void setRadioIdentity() {
    clsCmcRadio& radio = gObjRadio();
    radio.setRadioNameM("7351");
    radio.setRadionameS("0001");
    radio.cloneWriteAdrList_Clear();
    radio.cloneWriteAdrList_Add(0x0000, 0x07FF);
}

void setLinkDefaults(frmCom& com) {
    com.setComPortNum(1);
    com.cln3D.Reset();
    com.setComBaud(9600);
    com.Reset();
}

// The model is the console's event object and the window owns the console's list, so they go
// first; the port manager (owned by the caller) last.
void tearDownGlobals() {
    resetModelGlobal();
    resetConsoleGlobal();
    destroyMainWindow();
    resetLinkGlobals();
}

} // namespace

int Main(int argc, char** argv) {
    // Names the per-user folders Qt gives out (settings, the lock's fallback) before any is asked.
    QApplication::setApplicationName(product::ShortName);
    QApplication app(argc, argv);
    return runUtility();
}

int runUtility(const StartupPlaces& places) {
    platform::InstanceLock instance(places.lockFolder.empty() ? platform::userRuntimeFolder()
                                                              : places.lockFolder,
                                    places.lockName);
    if (instance.acquire() == platform::InstanceLock::Result::HeldByAnotherCopy) {
        // Nothing opened, read or written: the running copy stays undisturbed.
        MsgBoxProduct(AlreadyRunningText);
        return 1;
    }

    frmCom com;
    if (!places.settingsFolder.empty()) {
        com.profMain.setPath(places.settingsFolder);
    }
    if (!places.userSettingsFolder.empty()) {
        com.profMain.setUserPath(places.userSettingsFolder);
    }
    setGObjCom(&com);
    setRadioIdentity();
    setLinkDefaults(com);
    frmMain& window = mainWindow(); // COM 1 and no auto release: creates model and sequencer
    com.loadData(com.profMain);
    com.timSolid().start();

    int code = 1;
    if (window.Form_Load()) {
        window.show();
        code = QApplication::exec();
    } else {
        MsgBoxProduct("Cannot read 'Const.ini'.");
    }
    window.CloseComForm(); // closes the port and saves the settings (once)
    tearDownGlobals();
    return code;
}
