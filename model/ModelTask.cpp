// SPDX-License-Identifier: GPL-3.0-or-later
// The model task.
#include "model/ModelTask.h"

#include "common/CommonRoutines.h"
#include "console/clsConsole.h"
#include "link/clsCmcCln3Drv.h"
#include "link/clsCmcCln3Sequence.h"
#include "link/clsCmcEeprom.h"
#include "link/clsCmcRadio.h"
#include "model/ItemTable.h"
#include "model/MemoryMap.h"
#include "model/ProcedureRunner.h"
#include "model/Readouts.h"
#include "model/RigSession.h"
#include "model/RigView.h"
#include "model/ServiceJob.h"
#include "model/TxfTable.h"
#include "model/clsIndEep_RigK5.h"

#include <tuple>

namespace {

constexpr std::int16_t PhaseCount = 26;

TaskPhase after(TaskPhase phase) {
    return static_cast<TaskPhase>((static_cast<std::int16_t>(phase) + 1) % PhaseCount);
}

} // namespace

void ModelTask::reset() {
    phaseEntry = true;
    taskPhase = TaskPhase::Idle;
    dispParaRequest = false;
    connectUnderWay = false;
}

void ModelTask::connect() {
    taskPhase = TaskPhase::Begin;
    phaseEntry = true;
    connectUnderWay = true;
}

Progress ModelTask::connectProgress() const {
    if (taskPhase >= TaskPhase::SendChanged) {
        return sendingValues(s.console, connectValues);
    }
    const char* what = taskPhase <= TaskPhase::CloneRead ? "Reading memory" : "Reading levels";
    return {what, s.driver.cloneBytesDone(), clsCmcEeprom::DefaultSize};
}

bool ModelTask::editEnabled() const {
    return taskPhase > TaskPhase::CloneRead && taskPhase < TaskPhase::Dump;
}

TaskOutcome ModelTask::task() {
    if (s.seq.OpRunning()) {
        return TaskOutcome::Ran;
    }
    if (s.waitAfterSend > 0) {
        // The wait runs from the moment the command's last byte is through (its echo in),
        // however early a key's tick comes after the send.
        waitTick.setCounter(s.waitAfterSend + s.driver.msUntilLineFree());
        s.waitAfterSend = 0;
    }
    if (waitTick.counter() > 0) {
        return TaskOutcome::Ran;
    }
    // As many phases as complete at once; one cycle of phases 4 to 23 at most per tick.
    for (;;) {
        TaskPhase next = after(taskPhase);
        const bool done = runPhase(taskPhase, next);
        phaseEntry = done;
        if (done) {
            taskPhase = next;
        }
        if (s.readouts.commError()) {
            return TaskOutcome::LinkFailed;
        }
        if (s.seq.OpRunning() || !done || taskPhase == TaskPhase::CycleEnd) {
            return TaskOutcome::Ran;
        }
    }
}

// One pass of a phase; true when the phase is done. May change next.
bool ModelTask::runPhase(TaskPhase phase, TaskPhase& next) {
    switch (phase) {
    case TaskPhase::Idle:
        return false;
    case TaskPhase::Begin:
        return true;
    case TaskPhase::Unlock:
        // A refused unlock ends in the port manager's report on this same tick.
        std::ignore =
            s.seq.easySendE8NoAnswer(IntToHex2(MemoryMap::E8Unlock) + MemoryMap::UnlockText);
        return true;
    case TaskPhase::CloneRead:
        return cloneRead();
    case TaskPhase::LatchReload:
        reloadNow = reloadRequest;
        reloadRequest = false;
        if (reloadNow) {
            s.readouts.setOccasion(connectUnderWay ? "at Connect" : "at Reload",
                                   s.job.record().now());
            occasionProcedure.reset();
        }
        return true;
    case TaskPhase::SendChanged:
        return sendChanged();
    case TaskPhase::EnterKey:
        return enterKey();
    case TaskPhase::ProcedureStep:
        // A revert or write runs alone: no procedure starts while it does, and it starts
        // only while none runs.
        if (s.job.busy()) {
            return s.job.tick();
        }
        stampProcedureReadouts();
        return s.procedures.dispatch();
    case TaskPhase::CycleEnd:
        connectUnderWay = false;
        if (dispParaRequest) {
            s.procedures.prepareConsole();
            next = TaskPhase::Dump;
        } else {
            next = TaskPhase::LatchReload;
        }
        return true;
    case TaskPhase::Dump:
        return dump(next);
    default:
        return readoutPhase(phase);
    }
}

// The readouts of this cycle were read during the running procedure, at this time. Its name is
// put into words only when another procedure runs (or a Reload came between).
void ModelTask::stampProcedureReadouts() {
    const std::optional<ProcedureRow> row = procedureForStep(s.procedures.step());
    if (!row || row->id == ProcedureId::Channel) {
        return;
    }
    if (occasionProcedure != row->id) {
        occasionProcedure = row->id;
        s.readouts.setOccasion(std::string("during ") + row->name, s.job.record().now());
    } else {
        s.readouts.setOccasionTime(s.job.record().now());
    }
}

// The memory is read from the radio, then every item takes its value from it and is marked
// changed, so that every value goes to the radio once.
bool ModelTask::cloneRead() {
    if (phaseEntry) {
        // The items and the dump live in the adjustment area: a read that lost any of it must
        // fail rather than load and send stale bytes.
        s.driver.setRequiredReadRange(MemoryMap::AreaFirst, MemoryMap::AreaLast);
        s.seq.easyCloneRead();
        return false;
    }
    s.readouts.setRadioNameBytes(HexToByteStr(s.radio.radioNameM() + s.radio.radionameS()));
    // The radio's memory is safe on disk before the first value goes to it.
    s.job.connected();
    for (std::int16_t i = 0; i < s.console.ListCount(); ++i) {
        s.console.ReadFromEe(i);
        s.console.setFlgChanged(i, true);
    }
    connectValues = valuesToSend(s.console);
    reloadRequest = true;
    return true;
}

// The A/D readouts twice (5..7, 8..10), then the D/A readouts (11..20), when a reload was asked.
bool ModelTask::readoutPhase(TaskPhase phase) {
    if (!reloadNow) {
        return true;
    }
    const auto n = static_cast<std::int16_t>(phase);
    bool done = false;
    if (phase < TaskPhase::SecondAdReadouts) {
        s.readouts.RigOpDisp_AD(static_cast<std::int16_t>(n - 5), phaseEntry, done);
    } else if (phase < TaskPhase::DaReadouts) {
        s.readouts.RigOpDisp_AD(static_cast<std::int16_t>(n - 8), phaseEntry, done);
    } else {
        s.readouts.RigOpDisp_DA(static_cast<std::int16_t>(n - 11), phaseEntry, done);
    }
    return done;
}

// Every changed item to the radio, one live command at a time: a send that keeps the link
// busy ends the pass, and the scan starts from the top again on a later one.
bool ModelTask::sendChanged() {
    for (std::int16_t i = 0; i < s.console.ListCount(); ++i) {
        if (s.console.flgChanged(i)) {
            s.console.setFlgChanged(i, false);
            s.console.SendE8(i);
            if (s.seq.OpRunning()) {
                return false;
            }
        }
    }
    return true;
}

// The first item marked for Enter that takes it; at most one per pass.
bool ModelTask::enterKey() {
    for (std::int16_t i = 0; i < s.console.ListCount(); ++i) {
        if (s.console.flgEnterOn(i) && s.console.Event_Enter(i) >= 0) {
            s.console.setFlgEnterOn(i, false);
            s.console.EnterExec(i);
            break;
        }
    }
    return true;
}

// The dump is shown on entry and stays until "Disp para" is clicked again.
bool ModelTask::dump(TaskPhase& next) {
    if (phaseEntry) {
        s.view.showDump(clsIndEep_RigK5::RigEep_Text(s.radio.objEep(), s.txf));
    }
    if (dispParaRequest) {
        return false;
    }
    next = TaskPhase::CycleEnd;
    s.view.dumpClosed();
    return true;
}
