// SPDX-License-Identifier: GPL-3.0-or-later
// The door into the radio: its parts built in the order they need each other, the tick and
// the one route of a failure.
#include "model/RigDoor.h"

#include "link/CloneErrorText.h"
#include "model/RigView.h"
#include "platform/SerialControl.h"

#include <QTimer>

namespace {

// The radio this utility aligns, and its whole memory for a clone write.
clsCmcRadio thisModel() {
    clsCmcRadio radio;
    radio.setRadioNameM("7351");
    radio.setRadionameS("0001");
    radio.cloneWriteAdrList_Clear();
    radio.cloneWriteAdrList_Add(0x0000, 0x07FF);
    return radio;
}

} // namespace

RigDoor::RigDoor(std::unique_ptr<SerialControl> serial, RigView& view)
    : view(view), com(std::move(serial)), identity(thisModel()),
      sequencer(com, identity, &clsIndOp_RigK5::RigOpFunc_CheckSubNameLegal), items(&view),
      rig({sequencer, com.cln3D, identity}, items, testChannels, view) {
    connect(&com, &frmCom::dataArrived, this, &RigDoor::wantsTick);
    // The loss is reported from a tick of its own, not from inside the port's error handler.
    connect(&com, &frmCom::portLost, this,
            [this] { QTimer::singleShot(0, this, &RigDoor::wantsTick); });
    connect(&sequencer, &clsCmcCln3Sequence::operationFailed, this, &RigDoor::linkFailed);
}

RigDoor::~RigDoor() {
    shutDown();
}

bool RigDoor::loadConstants(const std::string& file) {
    if (!rig.RigProp_ReadParametersFromExtFile(file)) {
        return false;
    }
    rig.RigOpFunc_FormResource();
    return true;
}

void RigDoor::setBackupFolder(const std::string& folder) {
    rig.serviceJob().setBackupFolder(folder);
}

void RigDoor::click(Button button) {
    if (button == Connect) {
        failure.clear();
    }
    rig.RigOpFunc_ClickCmd00(button);
}

bool RigDoor::stepItem(int row, int by) {
    if (row < 0 || row >= items.ListCount() || rig.RigProp_JobRunning()) {
        return false;
    }
    items.UpDown(static_cast<std::int16_t>(row), static_cast<std::int16_t>(by));
    return true;
}

bool RigDoor::pressEnter(int row) {
    if (row < 0 || row >= items.ListCount() || rig.RigProp_JobRunning()) {
        return false;
    }
    items.EnterPushed(static_cast<std::int16_t>(row));
    return true;
}

std::optional<int> RigDoor::itemOf(ProcedureId procedure) const {
    const std::int16_t enterEvent = procedureRow(procedure).enterEvent;
    for (std::int16_t i = 0; i < items.ListCount(); ++i) {
        if (items.Event_Enter(i) == enterEvent) {
            return i;
        }
    }
    return std::nullopt;
}

void RigDoor::carryOut(const JobProposal& proposal) {
    if (!proposal.asks()) {
        return;
    }
    if (proposal.kind == JobProposal::Kind::Revert) {
        startRevert(proposal.plan);
    } else {
        startWrite(proposal.image, proposal.path);
    }
}

bool RigDoor::settled() const {
    if (!editEnabled() || sequencer.OpRunning() || procedureStep() != 0 || jobRunning()) {
        return false;
    }
    for (std::int16_t i = 0; i < items.ListCount(); ++i) {
        if (items.flgChanged(i) || items.flgEnterOn(i)) {
            return false;
        }
    }
    return true;
}

void RigDoor::tick() {
    ++tickCount;
    inTick = true;
    // After a lost port nothing more runs: the report below ends the session first.
    if (!com.errPortLost()) {
        com.serviceLine();
        sequencer.task();
        if (rig.task() == TaskOutcome::LinkFailed) {
            linkFailed();
        }
    }
    if (com.totalError()) {
        linkFailed();
    }
    if (com.comOpen() && com.totalError()) {
        com.setComOpen(false); // also resets the driver, clearing its current error
    }
    inTick = false;
}

void RigDoor::linkFailed() {
    failure = cloneErrorText(com, sequencer);
    rig.RigOpFunc_ResetAll(); // the model is idle before the technician reads why
    rig.RigOpFunc_FormState();
    failureToShow = true;
}

void RigDoor::reportFailure() {
    if (failureToShow) {
        failureToShow = false;
        view.linkFailed(failure);
    }
}

std::int32_t RigDoor::msUntilDue() {
    std::int32_t due = 0;
    for (const std::int32_t ms :
         {rig.msUntilDue(), com.cln3D.deadlineLeft(), sequencer.msUntilRelease()}) {
        if (ms > 0 && (due == 0 || ms < due)) {
            due = ms;
        }
    }
    return due;
}

void RigDoor::shutDown() {
    rig.RigOpFunc_LeaveProcedure(); // the radio keeps nothing half done
    com.setComOpen(false);
}
