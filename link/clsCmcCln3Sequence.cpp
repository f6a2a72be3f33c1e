// SPDX-License-Identifier: GPL-3.0-or-later
// The clone operation sequencer: phase choice per tick, identity check, phase bodies and the
// automatic port release.
#include "link/clsCmcCln3Sequence.h"

#include "common/CommonRoutines.h"
#include "link/CloneFrames.h"
#include "link/clsCmcRadio.h"
#include "link/frmCom.h"

#include <tuple>

namespace {

// The model code and sub code in the identity answer EF EE E1 mm mm ss ss, as hex text, or ""
// when the answer is shorter.
std::string identityCode(const Bytes& answer, std::size_t first) {
    if (answer.size() < first + 2) {
        return {};
    }
    const auto at = answer.begin() + static_cast<std::ptrdiff_t>(first);
    return ByteStrToHex(Bytes(at, at + 2));
}

// A frame's body: its command byte, then the identity and data given as hexadecimal text.
Bytes frameBody(std::uint8_t command, const std::string& hex) {
    Bytes body{command};
    const Bytes rest = HexToByteStr(hex);
    body.insert(body.end(), rest.begin(), rest.end());
    return body;
}

} // namespace

clsCmcCln3Sequence::clsCmcCln3Sequence(frmCom& com, clsCmcRadio& radio, SubNameRule subNameRule)
    : com(com), radio(radio), subNameLegal(std::move(subNameRule)) {
    Reset();
    comPortNo = 1;
    setComHoldReload(0);
}

void clsCmcCln3Sequence::Reset() {
    com.cln3D.Reset();
    com.Reset();
    Standby();
}

void clsCmcCln3Sequence::Standby() {
    op = Operation::None;
    step = 0;
    e8Text.clear();
}

void clsCmcCln3Sequence::abandonOperation() {
    if (!exchangeOver()) {
        com.cln3D.Reset();
    }
    Standby();
}

bool clsCmcCln3Sequence::exchangeOver() const {
    return op == Operation::E8 && !ansRequired && step != 0;
}

void clsCmcCln3Sequence::easyReset(std::int16_t portNo) {
    Reset();
    comPortNo = portNo;
}

void clsCmcCln3Sequence::easyCloneRead() {
    start(Operation::CloneRead);
}

void clsCmcCln3Sequence::easyCloneWrite() {
    start(Operation::CloneWrite);
}

bool clsCmcCln3Sequence::easySendE8NoAnswer(const std::string& text) {
    e8Text = text;
    lastSendTaken = false;
    start(Operation::E8);
    return lastSendTaken;
}

void clsCmcCln3Sequence::easySendE8ReqAnswer(const std::string& text) {
    e8Text = text;
    start(Operation::E8, true);
}

void clsCmcCln3Sequence::start(Operation operation, bool answerRequired) {
    op = operation;
    ansRequired = answerRequired;
    step = 0;
    task();
}

void clsCmcCln3Sequence::setComHoldReload(std::int32_t milliseconds) {
    holdReload = milliseconds;
    comHoldTick.setCounter(milliseconds);
}

std::int32_t clsCmcCln3Sequence::msUntilRelease() {
    if (op != Operation::None || holdReload <= 0 || !com.comOpen()) {
        return 0;
    }
    return comHoldTick.counter();
}

std::string clsCmcCln3Sequence::ansNameM() const {
    return identityCode(com.cln3D.ansInfo(), frames::PosData);
}

std::string clsCmcCln3Sequence::ansNameS() const {
    return identityCode(com.cln3D.ansInfo(), frames::PosData + 2);
}

void clsCmcCln3Sequence::task() {
    const bool pending = (op != Operation::None);
    const bool wasOver = exchangeOver();
    if (pending && !com.cln3D.Running()) {
        Phase phase = nextPhase();
        if (phase == Phase::ErrorEnd) {
            com.setComOpen(false);
            emit operationFailed();
        }
        ++step;
        if (phase == Phase::ErrorEnd) {
            phase = Phase::Done;
        }
        if (phase != Phase::None) {
            startPhase(phase);
        }
    }
    // The port is released after the hold time without an exchange; it runs from the end of
    // the last one.
    if (pending && !wasOver) {
        comHoldTick.setCounter(holdReload);
    } else if (holdReload > 0 && comHoldTick.counter() < 1 && com.comOpen()) {
        Reset();
    }
}

// The phase that follows the step just done (the driver is idle).
clsCmcCln3Sequence::Phase clsCmcCln3Sequence::nextPhase() {
    const bool driverFailed = com.cln3D.lastError() != DriverError::None;
    switch (op) {
    case Operation::CloneRead:
    case Operation::CloneWrite:
        if (step == 0) {
            return Phase::Identity;
        }
        if (step == 1) {
            return afterIdentity();
        }
        return driverFailed ? Phase::ErrorEnd : Phase::Done;
    case Operation::E8:
        if (step == 0) {
            return Phase::E8;
        }
        return driverFailed ? Phase::ErrorEnd : Phase::Done;
    default:
        return Phase::None;
    }
}

// The identity answer is in (or the query failed): the read or write goes on only for a radio
// of our model with a sub code the model accepts.
clsCmcCln3Sequence::Phase clsCmcCln3Sequence::afterIdentity() {
    if (com.cln3D.lastError() != DriverError::None) {
        seqError = SequencerError::Identity;
    } else {
        if (radio.radioNameM() != ansNameM()) {
            seqError = SequencerError::ModelCode;
        }
        // Only a sub code the radio really answered is taken: without an answer (the query
        // never went out) the frames keep the last known one.
        const std::string nameS = ansNameS();
        if (nameS.empty()) {
            seqError = SequencerError::ModelCode;
        } else if (subNameLegal(nameS)) {
            radio.setRadionameS(nameS);
        } else {
            seqError = SequencerError::SubCode;
        }
    }
    if (seqError != SequencerError::None) {
        return Phase::ErrorEnd;
    }
    return op == Operation::CloneRead ? Phase::CloneRead : Phase::CloneWrite;
}

void clsCmcCln3Sequence::prepareOp() {
    com.cln3D.clearLastError();
    seqError = SequencerError::None;
    com.setComPortNum(comPortNo);
    com.setComOpen(true);
}

void clsCmcCln3Sequence::startPhase(Phase phase) {
    switch (phase) {
    case Phase::Done:
        Standby();
        return;
    case Phase::None:
    case Phase::ErrorEnd:
        return;
    default:
        break; // a phase that sends a frame
    }
    clsCmcCln3Drv& drv = com.cln3D;
    const std::string identity = radio.radioNameM() + radio.radionameS();
    prepareOp();
    // A refused send counts as sent for the sequence: the next step finds the driver idle
    // without an error (the port manager reports a port that cannot be opened).
    switch (phase) {
    case Phase::Identity:
        drv.setWorkMode(WorkMode::Identity);
        std::ignore = drv.Send(frameBody(frames::CmdIdentityQuery, radio.radioNameM() + "0000"));
        break;
    case Phase::CloneRead:
        drv.setWorkMode(WorkMode::CloneRead);
        drv.setMyEep(&radio.objEep());
        std::ignore = drv.Send(frameBody(frames::CmdCloneRead, identity));
        break;
    case Phase::CloneWrite:
        drv.setWorkMode(WorkMode::CloneWriteStart);
        drv.setMyEep(&radio.objEep());
        drv.setSizDataOfPacket(16);
        drv.setCloneWriteAdrList(radio.cloneWriteAdrList());
        std::ignore = drv.Send(frameBody(frames::CmdCloneWrite, identity));
        break;
    default: // Phase::E8
        drv.setWorkMode(WorkMode::Adjust);
        drv.setWaitAnswer(ansRequired);
        drv.setRetryCount(2);
        lastSendTaken = drv.Send(frameBody(frames::CmdAdjust, identity + e8Text)) == 0;
        break;
    }
}
