#include "start.h"

#include "app/common/CommonRoutines.h"
#include "app/common/Product.h"
#include "frmMain.h"
#include "link/LinkGlobals.h"
#include "link/clsCmcRadio.h"
#include "link/frmCom.h"
#include "platform/InstanceLock.h"
#include "platform/SerialControl.h"

#include <QApplication>

const char* const AlreadyRunningText =
    "Cannot execute VS-K5 ALN Rev.1.0 repeatedly.\r\nVS-K5 ALN Rev.1.0 is already executing.";

namespace {

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

} // namespace

int Main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::InstanceLock instance(std::string(product::ShortName) + ".lock");
    if (!instance.acquire()) {
        // Nothing opened, read or written: the running copy stays undisturbed.
        MsgBoxProduct(AlreadyRunningText);
        return 1;
    }

    frmCom com;
    setGObjCom(&com);
    setRadioIdentity();
    setLinkDefaults(com);
    frmMain& window = mainWindow(); // sets COM 1 and no auto release, creating model and sequencer
    com.loadData(com.profMain);
    com.timSolid().start();

    if (!window.Form_Load()) {
        MsgBoxProduct("Cannot read 'Const.ini'.");
        window.CloseComForm(); // the settings just loaded are saved before the end
        destroyMainWindow();
        setGObjCom(nullptr);
        return 1;
    }
    window.show();
    const int code = QApplication::exec();
    window.CloseComForm();
    destroyMainWindow();
    setGObjCom(nullptr);
    return code;
}
