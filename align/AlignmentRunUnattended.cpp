// SPDX-License-Identifier: GPL-3.0-or-later
// The unattended part of the alignment run: the automatic steps in the plan's order, TXF's two
// Enters, and the verifying clone read that ends the run.
#include "align/AlignmentRun.h"

#include "align/RunMessages.h"
#include "instruments/SignalGenerator.h"
#include "model/MemoryMap.h"
#include "model/RigDoor.h"
#include "model/ServiceRecord.h"

namespace {

// TXF's first steps: it starts, loads its item, then follows the item until an Enter.
constexpr std::int16_t TxfStart = 54;
constexpr std::int16_t TxfLoadItem = 55;
constexpr std::int16_t TxfFollow = 56;

} // namespace

void AlignmentRun::runAutomatic() {
    if (running()) {
        return;
    }
    ended = RunEnd::None;
    if (!generator) {
        ended = RunEnd::Failed;
        emit finished(false, QString::fromStdString(run_messages::needsGenerator()));
        return;
    }
    unattended = true;
    for (std::size_t i = 0; i < states.size(); ++i) {
        if (steps.steps[i].kind == StepKind::Automatic) {
            setState(i, StepState::ToDo, {});
        }
    }
    now.reset();
    if (!door.connected()) {
        phase = Phase::Connecting;
        door.click(RigDoor::Connect);
        emit wantsTick();
        return;
    }
    nextAutomatic();
}

// Unattended, TXF takes the value the radio holds at both Enters: the first keeps it as the
// curve's start, the second (once the second pass has begun) writes the whole curve from it.
void AlignmentRun::txfEnters() {
    const std::int16_t step = door.procedureStep();
    if (txfEnter == 1 && (step == TxfStart || step == TxfLoadItem)) {
        txfRestarted = true;
    }
    const bool due = (txfEnter == 0 || (txfEnter == 1 && txfRestarted)) && step == TxfFollow;
    if (due) {
        if (!door.pressEnter(*door.itemOf(ProcedureId::Txf))) {
            fail(run_messages::enterRefused(procedureRow(ProcedureId::Txf).name), RunEnd::Failed);
            return;
        }
        ++txfEnter;
        emit wantsTick();
    }
}

// --- the unattended run ---------------------------------------------------------------------

void AlignmentRun::nextAutomatic() {
    std::size_t next = now ? *now + 1 : 0;
    while (next < steps.steps.size() && steps.steps[next].kind != StepKind::Automatic) {
        ++next;
    }
    if (next < steps.steps.size()) {
        begin(next);
        return;
    }
    startVerifying();
}

// A clone read through a Connect of its own: the radio must hold what the program wrote. The
// job goes on when it does (the same radio with the same adjustments).
void AlignmentRun::startVerifying() {
    now.reset();
    phase = Phase::Verifying;
    written = door.image().ReadBlock(MemoryMap::AreaFirst, MemoryMap::AreaSize);
    recordBefore = std::make_unique<ServiceRecord>(door.job().record());
    connectsBefore = door.job().record().sessionStarts().size();
    door.click(RigDoor::Connect);
    emit wantsTick();
}

void AlignmentRun::verified() {
    std::string lines;
    for (std::int32_t i = 0; i < MemoryMap::AreaSize; ++i) {
        const std::int32_t address = MemoryMap::AreaFirst + i;
        const int holds = door.image().ReadByte(address);
        const int wanted = written[static_cast<std::size_t>(i)];
        if (holds != wanted) {
            lines += run_messages::lineBreak() + run_messages::mismatch(address, holds, wanted);
        }
    }
    ServiceRecord& record = door.job().record();
    if (lines.empty()) {
        record.noteRun(
            {run_messages::verifyRunName(), record.now(), RunOutcome::Completed, {}, {}});
        ended = RunEnd::Completed;
        outputOff();
        close(true, run_messages::allCompleted());
        return;
    }
    // Another job has begun with this Connect (the radio was not as the job left it): the
    // report is of the job that aligned it.
    if (record.sessionStarts().size() <= connectsBefore) {
        record = *recordBefore;
    }
    const std::string why = run_messages::verifyDiffers() + lines;
    record.noteRun(
        {run_messages::verifyRunName(), record.now(), RunOutcome::EndedWithoutResult, why, {}});
    fail(why, RunEnd::Mismatch);
}
