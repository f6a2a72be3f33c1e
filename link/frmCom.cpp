// SPDX-License-Identifier: GPL-3.0-or-later
// The serial port manager: port opening in its fixed order, the line service, the events.
#include "link/frmCom.h"

#include "link/LinkLog.h"
#include "platform/SerialControl.h"

namespace {

// 9600 bit/s, no parity, 8 data bits, 1 stop bit: the cloning cable's only setting.
const char* const LineSettings = "9600,N,8,1";

} // namespace

frmCom::frmCom(std::unique_ptr<SerialControl> control, QObject* parent)
    : QObject(parent), serial(std::move(control)) {
    serial->setEventHandler([this](int commEvent) { onCommEvent(commEvent); });
    cln3D.setPort(serial.get());
    Reset();
}

frmCom::~frmCom() {
    setComOpen(false);
    serial->setEventHandler({});
}

void frmCom::Reset() {
    setComOpen(false);
    portNum = 1;
    serial->setDTREnable(true);
    serial->setRTSEnable(true);
    serial->setInBufferSize(InBufferSize);
    serial->setOutBufferSize(OutBufferSize);
    cannotOpen = false;
    lost = false;
}

bool frmCom::comOpen() const {
    return serial->portOpen();
}

void frmCom::setComOpen(bool bo) {
    if (bo && !serial->portOpen()) {
        serial->setCommPort(portNum);
        serial->setSettings(LineSettings);
    }
    serial->clearOutBuffer();
    // A lost port is not opened again: reopening would carry the next commands to a radio that
    // may no longer listen; the loss is reported first and the session ends. A port that fails
    // to open does not stop the sequence; it is only remembered.
    const bool reopenLost = bo && lost;
    if (!reopenLost && serial->portOpen() != bo) {
        const bool done = serial->setPortOpen(bo);
        // The port logs its own opening, with the device it opened.
        if (!bo) {
            qCInfo(lcLink, "COM%d closed", portNum);
        }
        if (!done && bo) {
            serial->setPortOpen(false);
            cannotOpen = true;
        }
    }
    cln3D.Reset();
}

void frmCom::setComPortNum(std::int16_t value) {
    if (value >= imdMinComPortNum && value <= imdmaxComPortNum) {
        portNum = value;
    }
}

bool frmCom::totalError() const {
    return cln3D.nowError() != DriverError::None || cannotOpen || lost;
}

void frmCom::serviceLine() {
    if (serial->inBufferCount() > 0) {
        cln3D.read(serial->input());
    }
    cln3D.task();
}

void frmCom::onCommEvent(int commEvent) {
    switch (commEvent) {
    case SerialControl::comEvReceive:
        if (serial->inBufferCount() > 0) {
            emit dataArrived();
        }
        break;
    case SerialControl::comEvPortLost:
        qCInfo(lcLink, "COM%d lost", portNum);
        lost = true;
        emit portLost();
        break;
    default:
        break;
    }
}
