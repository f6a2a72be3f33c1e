// The clone operation sequencer: phase choice per tick, identity check, phase bodies and the
// automatic port release.
#include "link/clsCmcCln3Sequence.h"

#include "app/common/CommonRoutines.h"
#include "link/LinkGlobals.h"
#include "link/LinkHost.h"
#include "link/clsCmcRadio.h"
#include "link/frmCom.h"

namespace {

// Bytes at 1-based positions first..last as hex text, or "" when the answer is shorter.
std::string hexAt(const Bytes& bytes, std::size_t first, std::size_t last) {
    if (bytes.size() < last) {
        return {};
    }
    return ByteStrToHex(Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(first - 1),
                              bytes.begin() + static_cast<std::ptrdiff_t>(last)));
}

bool checkSubName(const std::string& nameS) {
    frmCom* com = gObjCom();
    LinkHost* host = com != nullptr ? com->Host() : nullptr;
    return host != nullptr ? host->RigOpFunc_CheckSubNameLegal(nameS) : subNameIsLegal(nameS);
}

} // namespace

clsCmcCln3Sequence::clsCmcCln3Sequence() {
    Reset();
    setComPortNo(1);
    setComHoldReload(0);
}

void clsCmcCln3Sequence::Reset() {
    if (frmCom* com = gObjCom()) {
        com->cln3D.Reset();
        com->Reset();
    }
    Standby();
}

void clsCmcCln3Sequence::Standby() {
    operation = 0;
    step = 0;
    e8Text.clear();
}

void clsCmcCln3Sequence::abandonOperation() {
    if (frmCom* com = gObjCom()) {
        com->cln3D.Reset();
    }
    Standby();
}

void clsCmcCln3Sequence::easyReset(std::int16_t portNo) {
    Reset();
    setComPortNo(portNo);
}

void clsCmcCln3Sequence::easyCloneRead() {
    setOperation(OpCloneRead);
    start();
}

void clsCmcCln3Sequence::easyCloneWrite() {
    setOperation(OpCloneWrite);
    start();
}

bool clsCmcCln3Sequence::easySendE8NoAnswer(const std::string& e8Text) {
    setOperation(OpE8);
    setE8HexStrToSend(e8Text);
    lastSendTaken = false;
    start();
    return lastSendTaken;
}

void clsCmcCln3Sequence::easySendE8ReqAnswer(const std::string& e8Text) {
    setOperation(OpE8);
    setE8HexStrToSend(e8Text);
    setE8AnsRequired(true);
    start();
}

void clsCmcCln3Sequence::start() {
    step = 0;
    task();
}

void clsCmcCln3Sequence::setOperation(std::int16_t value) {
    operation = value;
    ansRequired = false;
}

void clsCmcCln3Sequence::setComHoldReload(std::int32_t milliseconds) {
    holdReload = milliseconds;
    comHoldTick.setCounter(milliseconds);
}

Bytes clsCmcCln3Sequence::ansInfo() const {
    const frmCom* com = gObjCom();
    return com != nullptr ? com->cln3D.ansInfo() : Bytes{};
}

std::string clsCmcCln3Sequence::ansNameM() const {
    return hexAt(ansInfo(), 4, 5);
}

std::string clsCmcCln3Sequence::ansNameS() const {
    return hexAt(ansInfo(), 6, 7);
}

void clsCmcCln3Sequence::task() {
    frmCom* com = gObjCom();
    if (com == nullptr) {
        return;
    }
    const bool pending = (operation != 0);
    if (operation != 0 && !com->cln3D.Running()) {
        const std::int16_t driverError = com->cln3D.lastError();
        std::int16_t n = 0;
        switch (operation) {
        case OpIdentity:
            n = (step == 0) ? 1 : 6;
            break;
        case OpCloneRead:
        case OpCloneWrite:
            if (step == 0) {
                n = 1;
            } else if (step == 1) {
                // The identity answer is in (or the query failed).
                if (driverError != 0) {
                    seqError = ErrIdentity;
                } else {
                    clsCmcRadio& radio = gObjRadio();
                    if (radio.radioNameM() != ansNameM()) {
                        seqError = ErrModelCode;
                    }
                    // Only a sub code the radio really answered is taken: without an answer
                    // (the query never went out) the frames keep the last known one.
                    const std::string nameS = ansNameS();
                    if (nameS.empty()) {
                        seqError = ErrModelCode;
                    } else if (checkSubName(nameS)) {
                        radio.setRadionameS(nameS);
                    } else {
                        seqError = ErrSubCode;
                    }
                }
                n = (operation == OpCloneRead) ? 2 : 3;
                if (seqError != 0) {
                    n = 5;
                }
            } else {
                n = (driverError == 0) ? 6 : 5;
            }
            break;
        case OpE8:
            if (step == 0) {
                n = 4;
            } else {
                n = (driverError == 0) ? 6 : 5;
            }
            break;
        default:
            break;
        }
        if (n == 5) {
            com->setComOpen(false);
            reportError();
        }
        ++step;
        if (n == 5) {
            n = 6;
        }
        if (n != 0) {
            curPhase = n;
            startPhase();
        }
    }
    if (pending) {
        comHoldTick.setCounter(holdReload);
    } else if (holdReload > 0 && comHoldTick.counter() < 1 && com->comOpen()) {
        Reset();
    }
}

void clsCmcCln3Sequence::reportError() {
    frmCom* com = gObjCom();
    if (com != nullptr && com->Host() != nullptr) {
        com->Host()->MsgBoxCloneErr(*this);
    }
}

void clsCmcCln3Sequence::prepareOp() {
    frmCom* com = gObjCom();
    com->cln3D.setLastError(0);
    seqError = 0;
    com->setComPortNum(comPortNo);
}

void clsCmcCln3Sequence::startPhase() {
    frmCom* com = gObjCom();
    if (com == nullptr) {
        return;
    }
    if (curPhase >= 1 && curPhase <= 4) {
        prepareOp();
        com->setComOpen(true);
    }
    clsCmcCln3Drv& drv = com->cln3D;
    clsCmcRadio& radio = gObjRadio();
    // A refused send counts as sent: the next step finds the driver idle without an error.
    switch (curPhase) {
    case 1:
        drv.setWorkMode(1);
        drv.Send(HexToByteStr("E0" + radio.radioNameM() + "0000"));
        break;
    case 2:
        drv.setWorkMode(2);
        drv.setMyEep(&radio.objEep());
        drv.Send(HexToByteStr("E2" + radio.radioNameM() + radio.radionameS()));
        break;
    case 3:
        drv.setWorkMode(3);
        drv.setMyEep(&radio.objEep());
        drv.setSizDataOfPacket(16);
        drv.setCloneWriteAdrList(radio.cloneWriteAdrList());
        drv.Send(HexToByteStr("E3" + radio.radioNameM() + radio.radionameS()));
        break;
    case 4:
        drv.setWorkMode(5);
        drv.setWaitAnswer(ansRequired);
        drv.setRetryCount(2);
        lastSendTaken =
            drv.Send(HexToByteStr("E8" + radio.radioNameM() + radio.radionameS() + e8Text)) == 0;
        break;
    case 6:
        step = 0;
        Standby();
        break;
    default:
        break;
    }
}
