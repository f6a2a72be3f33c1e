// SPDX-License-Identifier: GPL-3.0-or-later
// The procedure runner.
#include "model/ProcedureRunner.h"

#include "common/CommonRoutines.h"
#include "console/clsConsole.h"
#include "link/clsCmcEeprom.h"
#include "model/BandPassSweep.h"
#include "model/ModLevelProcedure.h"
#include "model/ModelLog.h"
#include "model/ProcedureMessages.h"
#include "model/RigView.h"
#include "model/SMeterProcedure.h"
#include "model/ServiceRecord.h"
#include "model/SimpleProcedures.h"
#include "model/TestChannels.h"
#include "model/TxfProcedure.h"

namespace {

const char* const LeftEarly = "Left before its end; its values were put back.";
const char* const LinkReset =
    "Ended by a reset of the link; values it sent until then may stand in the radio.";

} // namespace

ProcedureRunner::ProcedureRunner(ProcedureContext& ctx, ServiceRecord& record)
    : ctx(ctx), record(record) {
    const auto put = [this](ProcedureId id, std::unique_ptr<Procedure> p) {
        units[static_cast<std::size_t>(id)] = std::move(p);
    };
    put(ProcedureId::Channel, std::make_unique<ChannelProcedure>(ctx));
    put(ProcedureId::DtcsStart, std::make_unique<DtcsProcedure>(ctx, 4, 1));
    put(ProcedureId::DtcsStop, std::make_unique<DtcsProcedure>(ctx, 6, 0));
    put(ProcedureId::ModLevel, std::make_unique<ModLevelProcedure>(ctx));
    put(ProcedureId::BpfLow, std::make_unique<BandPassSweep>(ctx, 0));
    put(ProcedureId::BpfMid, std::make_unique<BandPassSweep>(ctx, 1));
    put(ProcedureId::BpfHigh, std::make_unique<BandPassSweep>(ctx, 2));
    put(ProcedureId::Txf, std::make_unique<TxfProcedure>(ctx));
    put(ProcedureId::SMeter, std::make_unique<SMeterProcedure>(ctx));
}

ProcedureRunner::~ProcedureRunner() = default;

Procedure& ProcedureRunner::unit(ProcedureId id) {
    return *units[static_cast<std::size_t>(id)];
}

bool ProcedureRunner::runs(ProcedureId id) const {
    const ProcedureRow& row = procedureRow(id);
    return adjStep >= row.firstStep && adjStep <= row.lastStep;
}

void ProcedureRunner::enter(std::int16_t enterEvent) {
    const std::optional<ProcedureRow> row = procedureForEnter(enterEvent);
    if (!row) {
        return;
    }
    if (runs(row->id) && unit(row->id).enterWhileRunning()) {
        return;
    }
    if (testChannelReady(*row)) {
        start(*row);
    }
}

void ProcedureRunner::start(const ProcedureRow& row) {
    modellog::started(row.name);
    prepareConsole();
    adjStep = row.firstStep;
    ctx.journal().begin(ctx.image(), row.name, record.now());
    if (row.id != ProcedureId::Channel) {
        openRun = ProcedureRun{row.name, record.now(), RunOutcome::Completed, {}, {}};
    }
    unit(row.id).begin();
}

void ProcedureRunner::closeRun(RunOutcome outcome, const std::string& reason,
                               std::vector<CellResult> results) {
    if (openRun) {
        openRun->outcome = outcome;
        openRun->reason = reason;
        openRun->results = std::move(results);
        record.noteRun(std::move(*openRun));
        openRun.reset();
    }
}

// A hidden channel is never sent to the radio: the procedure would run on whatever the radio
// was tuned to last.
bool ProcedureRunner::testChannelReady(const ProcedureRow& row) {
    if (row.testChannel < 0 || ctx.channels().ChUnit(row.testChannel).AppearCh()) {
        return true;
    }
    const std::string message =
        procedure_messages::channelNotSetUp(row.name, twoDigits(row.testChannel));
    record.noteRun({row.name, record.now(), RunOutcome::Refused, firstLine(message), {}});
    ctx.view().showMessage(message);
    return false;
}

bool ProcedureRunner::dispatch() {
    const std::optional<ProcedureRow> row = procedureForStep(adjStep);
    if (!row) {
        return true;
    }
    // Every step may talk to the radio: while the link is busy the procedure loses a whole
    // tick and skips nothing.
    if (ctx.linkBusy()) {
        return false;
    }
    const bool done = unit(row->id).tick(adjStep);
    if (adjStep == 0) { // the procedure has reached its end
        const std::string reason = ctx.takeEndReason();
        closeRun(reason.empty() ? RunOutcome::Completed : RunOutcome::EndedWithoutResult, reason,
                 ctx.journal().results(ctx.image()));
        prepareConsole();
    }
    return done;
}

void ProcedureRunner::prepareConsole() {
    if (const std::optional<ProcedureRow> row = procedureForStep(adjStep)) {
        // A procedure that reached its own end has set step 0 and keeps its result; one left
        // before it puts back what it changed, before the new action sends anything.
        ctx.restoreChanges();
        closeRun(RunOutcome::Abandoned, LeftEarly, {});
    }
    ctx.journal().clear(); // kept or put back: nothing of the run is left to restore
    drop();
    clsConsole& items = ctx.items();
    for (std::int16_t i = 0; i < 3; ++i) {
        for (int band = 0; band < 3; ++band) {
            items.setWaitAfterE8(static_cast<std::int16_t>(ctx.indexes().bpfAll(band) + i), 200);
        }
    }
    for (std::int16_t i = 0; i < items.ListCount(); ++i) {
        items.setFlgEnterOn(i, false);
        items.Disp(i);
    }
}

void ProcedureRunner::drop() {
    closeRun(RunOutcome::Abandoned, LinkReset, {});
    // The technician is told of the lost link at once and the record says what may stand in
    // the radio: the copy on disk is for a program that ends without a word.
    ctx.journal().clear();
    adjStep = 0;
    // A run left while its reading was out must not take a stale answer as the first reading
    // of its next run.
    for (auto& procedure : units) {
        procedure->stop();
    }
}

std::optional<Progress> ProcedureRunner::progress() const {
    const std::optional<ProcedureRow> row = procedureForStep(adjStep);
    if (!row || row->id == ProcedureId::Channel) {
        return std::nullopt;
    }
    Progress p =
        units[static_cast<std::size_t>(row->id)]->progress(adjStep, row->firstStep, row->lastStep);
    p.what = row->name;
    return p;
}

std::string ProcedureRunner::line(const ProcedureRow& row, std::int16_t index, std::int16_t val) {
    if (runs(row.id)) {
        if (const std::optional<std::string> text = unit(row.id).runningLine(index, val)) {
            return *text;
        }
    }
    return row.idleText;
}
