// The serial port manager: port opening in its fixed order, the tick, the event table.
#include "link/frmCom.h"

#include "app/common/Product.h"
#include "link/LinkGlobals.h"
#include "link/LinkHost.h"
#include "platform/QtSerialControl.h"
#include "platform/SerialControl.h"
#include "platform/UiHooks.h"

frmCom::frmCom(std::unique_ptr<SerialControl> control, QObject* parent)
    : QObject(parent), serial(std::move(control)) {
    profMain.SetCurrentPath();
    profMain.SetUserConfigPath();
    profMain.setName(std::string(product::ShortName) + ".ini");
    profMain.setSection(product::Title);
    if (!serial) {
        // Asked at every opening: the settings file in use may change while the program runs
        // (the first save into the user's folder) or be pointed elsewhere after construction.
        serial = std::make_unique<QtSerialControl>(
            QtSerialControl::PortsFiles([this] { return profMain.PortsProfiles(); }));
    }
    serial->setEventHandler([this](int commEvent) { MsCom_OnComm(commEvent); });
    cln3D.setMyObjCom(this);
    timer.setInterval(TickIntervalMs);
    QObject::connect(&timer, &QTimer::timeout, this, &frmCom::timSolid_Timer);
    Reset();
}

frmCom::~frmCom() {
    if (gObjCom() == this) {
        setGObjCom(nullptr);
    }
    setComOpen(false);
    timer.stop();
    serial->setEventHandler({});
}

void frmCom::Reset() {
    setComOpen(false);
    portNum = 1;
    baud = 9600;
    serial->setDTREnable(true);
    serial->setRTSEnable(true);
    serial->setInBufferSize(InBufferSize);
    serial->setOutBufferSize(OutBufferSize);
    cannotOpen = false;
    overflow = false;
}

bool frmCom::comOpen() const {
    return serial->portOpen();
}

void frmCom::setComOpen(bool bo) {
    if (bo && !serial->portOpen()) {
        serial->setCommPort(portNum);
        serial->setSettings(std::to_string(baud) + ",N,8,1");
    }
    // From here on a platform error does not stop the sequence; it is only remembered.
    bool platformError = false;
    serial->clearOutBuffer();
    if (serial->portOpen() != bo) {
        if (!serial->setPortOpen(bo)) {
            platformError = true;
        }
    }
    if (platformError && bo) {
        serial->setPortOpen(false);
        cannotOpen = true;
    }
    cln3D.Reset();
}

void frmCom::setComPortNum(std::int16_t value) {
    if (value >= imdMinComPortNum && value <= imdmaxComPortNum) {
        portNum = value;
    }
}

void frmCom::setLnkSettings(const std::string& settings) {
    serial->setSettings(settings);
}

bool frmCom::totalError() const {
    return cln3D.nowError() != 0 || overflow || cannotOpen;
}

void frmCom::AllOver() {
    setComOpen(false);
    saveData(profMain);
}

void frmCom::saveData(clsCmcProfileIO& prof) {
    if (host != nullptr) {
        host->saveData(prof);
    }
}

void frmCom::loadData(clsCmcProfileIO& prof) {
    if (host != nullptr) {
        host->loadData(prof);
    }
}

void frmCom::timSolid_Timer() {
    // A modal box or dialog runs a nested event loop in which the timer and the receive event
    // fire again; running the link from there would re-enter the sequencer and the model in
    // the middle of their own step.
    if (inTick || platform::modalOpen()) {
        return;
    }
    inTick = true;
    if (serial->inBufferCount() > 0) {
        cln3D.read(serial->input());
    }
    cln3D.task();
    if (host != nullptr) {
        host->task();
    }
    if (totalError() && host != nullptr) {
        host->MsgBoxCloneErr(gObjSeq());
    }
    if (comOpen() && totalError()) {
        setComOpen(false); // also resets the driver, clearing its nowError
    }
    inTick = false;
}

void frmCom::MsCom_OnComm(int commEvent) {
    switch (commEvent) {
    case SerialControl::comEvReceive:
        if (serial->inBufferCount() > 0) {
            timSolid_Timer();
        }
        break;
    case SerialControl::comEventRxOver:
        overflow = true;
        setComOpen(false);
        break;
    case SerialControl::comEventBreak:
    case SerialControl::comEventCTSTO:
    case SerialControl::comEventDSRTO:
    case SerialControl::comEventFrame:
    case SerialControl::comEventOverrun:
    case SerialControl::comEventCDTO:
    case SerialControl::comEventRxParity:
    case SerialControl::comEventTxFull:
    case SerialControl::comEventDCB:
        // The partial frame is lost; the exchange goes on and ends by its deadline if needed.
        cln3D.ClearRxBuffer();
        break;
    default:
        break;
    }
}
