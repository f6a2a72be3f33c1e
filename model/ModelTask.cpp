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

ModelTask::ModelTask(const Parts& parts) : p(parts) {}

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
        return sendingValues(p.console, connectValues);
    }
    const char* what = taskPhase <= TaskPhase::CloneRead ? "Reading memory" : "Reading levels";
    return {what, p.driver.cloneBytesDone(), clsCmcEeprom::DefaultSize};
}

bool ModelTask::editEnabled() const {
    return taskPhase > TaskPhase::CloneRead && taskPhase < TaskPhase::Dump;
}

TaskOutcome ModelTask::task() {
    if (p.seq.OpRunning()) {
        return TaskOutcome::Ran;
    }
    if (waitE8 > 0) {
        // The wait runs from the moment the command's last byte is through (its echo in),
        // however early a key's tick comes after the send.
        waitTick.setCounter(waitE8 + p.driver.msUntilLineFree());
        waitE8 = 0;
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
        if (p.readouts.commError()) {
            return TaskOutcome::LinkFailed;
        }
        if (p.seq.OpRunning() || !done || taskPhase == TaskPhase::CycleEnd) {
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
            p.seq.easySendE8NoAnswer(IntToHex2(MemoryMap::E8Unlock) + MemoryMap::UnlockText);
        return true;
    case TaskPhase::CloneRead:
        return cloneRead();
    case TaskPhase::LatchReload:
        reloadNow = reloadRequest;
        reloadRequest = false;
        if (reloadNow) {
            p.readouts.setOccasion(connectUnderWay ? "at Connect" : "at Reload",
                                   p.job.record().now());
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
        if (p.job.busy()) {
            return p.job.tick();
        }
        stampProcedureReadouts();
        return p.procedures.dispatch();
    case TaskPhase::CycleEnd:
        connectUnderWay = false;
        if (dispParaRequest) {
            p.procedures.prepareConsole();
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
    const std::optional<ProcedureRow> row = procedureForStep(p.procedures.step());
    if (!row || row->id == ProcedureId::Channel) {
        return;
    }
    if (occasionProcedure != row->id) {
        occasionProcedure = row->id;
        p.readouts.setOccasion(std::string("during ") + row->name, p.job.record().now());
    } else {
        p.readouts.setOccasionTime(p.job.record().now());
    }
}

// The memory is read from the radio, then every item takes its value from it and is marked
// changed, so that every value goes to the radio once.
bool ModelTask::cloneRead() {
    if (phaseEntry) {
        // The items and the dump live in the adjustment area: a read that lost any of it must
        // fail rather than load and send stale bytes.
        p.driver.setRequiredReadRange(MemoryMap::AreaFirst, MemoryMap::AreaLast);
        p.seq.easyCloneRead();
        return false;
    }
    p.readouts.setRadioNameBytes(HexToByteStr(p.radio.radioNameM() + p.radio.radionameS()));
    // The radio's memory is safe on disk before the first value goes to it.
    p.job.connected();
    for (std::int16_t i = 0; i < p.console.ListCount(); ++i) {
        p.console.ReadFromEe(i);
        p.console.setFlgChanged(i, true);
    }
    connectValues = valuesToSend(p.console);
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
        p.readouts.RigOpDisp_AD(static_cast<std::int16_t>(n - 5), phaseEntry, done);
    } else if (phase < TaskPhase::DaReadouts) {
        p.readouts.RigOpDisp_AD(static_cast<std::int16_t>(n - 8), phaseEntry, done);
    } else {
        p.readouts.RigOpDisp_DA(static_cast<std::int16_t>(n - 11), phaseEntry, done);
    }
    return done;
}

// Every changed item to the radio, one live command at a time: a send that keeps the link
// busy ends the pass, and the scan starts from the top again on a later one.
bool ModelTask::sendChanged() {
    for (std::int16_t i = 0; i < p.console.ListCount(); ++i) {
        if (p.console.flgChanged(i)) {
            p.console.setFlgChanged(i, false);
            p.console.SendE8(i);
            if (p.seq.OpRunning()) {
                return false;
            }
        }
    }
    return true;
}

// The first item marked for Enter that takes it; at most one per pass.
bool ModelTask::enterKey() {
    for (std::int16_t i = 0; i < p.console.ListCount(); ++i) {
        if (p.console.flgEnterOn(i) && p.console.Event_Enter(i) >= 0) {
            p.console.setFlgEnterOn(i, false);
            p.console.EnterExec(i);
            break;
        }
    }
    return true;
}

// The dump is shown on entry and stays until "Disp para" is clicked again.
bool ModelTask::dump(TaskPhase& next) {
    if (phaseEntry) {
        p.view.showDump(clsIndEep_RigK5::RigEep_Text(p.radio.objEep(), p.txf));
    }
    if (dispParaRequest) {
        return false;
    }
    next = TaskPhase::CycleEnd;
    p.view.dumpClosed();
    return true;
}
