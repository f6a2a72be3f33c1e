// SPDX-License-Identifier: GPL-3.0-or-later
// The alignment run's state machine: a step's generator settings, its settle time, Enter on
// its item, its procedure to the end, the output off, and how a step or a run ends.
#include "align/AlignmentRun.h"

#include "align/PlanMessages.h"
#include "align/RunMessages.h"
#include "instruments/SignalGenerator.h"
#include "model/RigDoor.h"
#include "model/ServiceRecord.h"
#include "platform/TickCount.h"

#include <cctype>

const char* stepStateText(StepState state) {
    switch (state) {
    case StepState::ToDo:
        return "To do";
    case StepState::Running:
        return "Running";
    case StepState::Done:
        return "Done";
    case StepState::Failed:
        return "Failed";
    case StepState::Skipped:
        return "Skipped";
    }
    return "";
}

AlignmentRun::AlignmentRun(RigDoor& door, AlignmentPlan plan,
                           instruments::SignalGenerator* generator, int settleMs)
    : door(door), steps(std::move(plan)), generator(generator), settleMs(settleMs),
      states(steps.steps.size(), StepState::ToDo), results(steps.steps.size()) {
    if (generator) {
        instruments::ScpiInstrument& scpi = generator->instrument();
        connect(&scpi, &instruments::ScpiInstrument::completed, this, &AlignmentRun::onCompleted);
        connect(&scpi, &instruments::ScpiInstrument::failed, this,
                [this](int, const QString& message) { onInstrumentFailure(message); });
        connect(&scpi, &instruments::ScpiInstrument::connectionLost, this,
                [this](const QString& message) {
                    instrumentDown = message.toStdString();
                    onInstrumentFailure(message);
                });
        connect(&scpi, &instruments::ScpiInstrument::connected, this,
                [this] { instrumentDown.clear(); });
        connect(generator, &instruments::SignalGenerator::refused, this,
                &AlignmentRun::onInstrumentFailure);
    }
}

AlignmentRun::~AlignmentRun() {
    // The program may end under a step: the generator must not keep sending into the radio.
    if (generator && running()) {
        generator->switchOutputOff();
    }
}

StepState AlignmentRun::state(std::size_t step) const {
    return step < states.size() ? states[step] : StepState::ToDo;
}

std::string AlignmentRun::result(std::size_t step) const {
    return step < results.size() ? results[step] : std::string();
}

std::string AlignmentRun::whatToSet(std::size_t step) const {
    if (step >= steps.steps.size()) {
        return {};
    }
    const PlanStep& s = steps.steps[step];
    std::string setting = run_messages::outputStaysOff();
    if (s.levelDbm) {
        const std::int64_t hz = std::int64_t{door.channels().ChUnit(s.channel).FreqOp_Pure()} * 10;
        setting = "set " + run_messages::megahertz(hz) + ", " + plan_messages::dbm(*s.levelDbm) +
                  (s.modulation.empty() ? "" : ", " + s.modulation) + ", output on";
    }
    if (!s.connect.empty()) {
        return "Connect " + s.connect + "; " + setting;
    }
    // Alone, the setting is the sentence.
    setting[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(setting[0])));
    return setting;
}

std::int32_t AlignmentRun::msUntilDue() const {
    if (phase != Phase::Settling) {
        return 0;
    }
    return std::max<std::int32_t>(settleMs - platform::TickCount::since(settledFrom), 0);
}

// --- the commands ---------------------------------------------------------------------------

void AlignmentRun::startStep(std::size_t step) {
    if (running() || step >= steps.steps.size()) {
        return;
    }
    unattended = false;
    ended = RunEnd::None;
    if (!door.connected()) {
        now = step;
        fail(run_messages::notConnected(), RunEnd::Failed);
        return;
    }
    begin(step);
}

void AlignmentRun::ready() {
    if (phase != Phase::WaitingReady || !now) {
        return;
    }
    const PlanStep& s = steps.steps[*now];
    if (s.kind == StepKind::Manual) {
        ServiceRecord& record = door.job().record();
        record.noteRun(
            {run_messages::manualRunName(s.name), record.now(), RunOutcome::Completed, {}, {}});
        stepDone(run_messages::doneByHand());
        return;
    }
    phase = Phase::Starting;
    pressEnter();
}

void AlignmentRun::skip(std::size_t step) {
    if (step >= steps.steps.size()) {
        return;
    }
    if (now == step && phase == Phase::WaitingReady) {
        if (steps.steps[step].levelDbm) {
            outputOff();
        }
        setState(step, StepState::Skipped, {});
        close(true, steps.steps[step].name + ": " + stepStateText(StepState::Skipped));
        return;
    }
    if (now != step) {
        setState(step, StepState::Skipped, {});
    }
}

void AlignmentRun::stop(const std::string& why) {
    if (running() && phase != Phase::Closing) {
        fail(why, RunEnd::Failed);
    }
}

// --- the tick -------------------------------------------------------------------------------

void AlignmentRun::tick() {
    if (phase == Phase::Idle) {
        return;
    }
    if (phase == Phase::Closing) {
        if (!generator || generator->instrument().idle() ||
            !generator->instrument().isConnected()) {
            phase = Phase::Idle;
            emit finished(closingCompleted, QString::fromStdString(closingMessage));
        }
        return;
    }
    if (radioLost()) {
        const std::string& why = door.lastFailure();
        fail(why.empty() ? run_messages::linkLost() : why, RunEnd::LinkFailed);
        return;
    }
    switch (phase) {
    case Phase::Connecting:
        if (door.settled()) {
            nextAutomatic();
        }
        break;
    case Phase::Settling:
        if (platform::TickCount::since(settledFrom) >= settleMs) {
            afterSetup();
        }
        break;
    case Phase::Starting:
        pressEnter();
        break;
    case Phase::Procedure:
        watchProcedure();
        break;
    case Phase::Verifying:
        if (door.settled()) {
            verified();
        }
        break;
    default:
        break;
    }
}

bool AlignmentRun::radioLost() const {
    switch (phase) {
    case Phase::Connecting:
    case Phase::Verifying:
        // A Connect clears the last failure: one seen now is this Connect's.
        return !door.lastFailure().empty();
    case Phase::Setting:
    case Phase::Settling:
    case Phase::WaitingReady:
    case Phase::Starting:
    case Phase::Procedure:
        return !door.connected();
    default:
        return false;
    }
}

// --- a step ---------------------------------------------------------------------------------

void AlignmentRun::begin(std::size_t step) {
    now = step;
    pending.clear();
    txfEnter = 0;
    txfRestarted = false;
    setState(step, StepState::Running, {});
    const PlanStep& s = steps.steps[step];
    if (s.levelDbm) {
        const clsRig_Ch& ch = door.channels().ChUnit(s.channel);
        if (!ch.AppearCh() || ch.FreqOp_Pure() <= 0) {
            fail(run_messages::channelNotSetUp(s.channel), RunEnd::Failed);
            return;
        }
    }
    if (generator && s.levelDbm && !instrumentDown.empty()) {
        // The generator went before this step: why it went says more than a command refused.
        fail(instrumentDown, RunEnd::Failed);
        return;
    }
    if (generator && s.levelDbm) {
        phase = Phase::Setting;
        setGenerator(s);
        return;
    }
    afterSetup();
}

// Frequency, level and output on, each confirmed by the generator before the settle time
// starts. A refusal (a level above the maximum) or an error ends the step from the
// generator's signal, possibly before the next command is given.
void AlignmentRun::setGenerator(const PlanStep& step) {
    const std::int64_t hz = std::int64_t{door.channels().ChUnit(step.channel).FreqOp_Pure()} * 10;
    const int frequency = generator->setFrequency(hz);
    if (phase != Phase::Setting) {
        return;
    }
    pending.insert(frequency);
    const int level = generator->setLevel(*step.levelDbm);
    if (phase != Phase::Setting) {
        return;
    }
    if (level == 0) {
        fail(run_messages::levelRefused(*step.levelDbm), RunEnd::Failed);
        return;
    }
    pending.insert(level);
    const int output = generator->setOutput(true);
    if (phase == Phase::Setting) {
        pending.insert(output);
    }
}

void AlignmentRun::onCompleted(int ticket) {
    if (pending.erase(ticket) > 0 && pending.empty() && phase == Phase::Setting) {
        settledFrom = platform::TickCount::now();
        phase = Phase::Settling;
    }
}

void AlignmentRun::onInstrumentFailure(const QString& message) {
    if (phase != Phase::Idle && phase != Phase::Closing) {
        fail(message.toStdString(), RunEnd::Failed);
    }
}

// The generator is set (or has nothing to set): the technician's turn, or Enter.
void AlignmentRun::afterSetup() {
    const PlanStep& s = steps.steps[*now];
    if (s.kind == StepKind::Manual || !generator) {
        phase = Phase::WaitingReady;
        emit stepChanged(*now);
        return;
    }
    phase = Phase::Starting;
    pressEnter();
}

// Enter on the step's item once the door has sent everything before it.
void AlignmentRun::pressEnter() {
    if (!door.settled()) {
        return;
    }
    const PlanStep& s = steps.steps[*now];
    runsBefore = door.job().record().runs().size();
    const std::optional<int> row = door.itemOf(*s.procedure);
    if (!row || !door.pressEnter(*row)) {
        fail(run_messages::enterRefused(procedureRow(*s.procedure).name), RunEnd::Failed);
        return;
    }
    phase = Phase::Procedure;
    emit wantsTick();
}

void AlignmentRun::watchProcedure() {
    // Guided, the technician adjusts TXF on the console and gives its Enters.
    if (unattended && steps.steps[*now].procedure == ProcedureId::Txf) {
        txfEnters();
    }
    if (door.settled() && door.job().record().runs().size() > runsBefore) {
        procedureEnded();
    }
}

void AlignmentRun::procedureEnded() {
    const ProcedureRun& run = door.job().record().runs().back();
    if (run.outcome == RunOutcome::Completed) {
        stepDone(outcomeText(run.outcome));
        return;
    }
    // The procedure has put back what it changed and the record says why.
    fail(run.reason.empty() ? outcomeText(run.outcome) : run.reason, RunEnd::Failed);
}

void AlignmentRun::stepDone(const std::string& outcome) {
    const std::size_t step = *now;
    setState(step, StepState::Done, outcome);
    if (generator && steps.steps[step].levelDbm) {
        outputOff();
    }
    if (unattended) {
        nextAutomatic();
        return;
    }
    close(true, steps.steps[step].name + ": " + outcome);
}

// --- the end --------------------------------------------------------------------------------

// The output off first, then the procedure's bytes back, then the record and the state.
void AlignmentRun::fail(const std::string& why, RunEnd how) {
    const bool inProcedure = phase == Phase::Procedure;
    const bool recorded = inProcedure && door.job().record().runs().size() > runsBefore;
    phase = Phase::Closing; // the drops that follow are not failures of their own
    ended = how;
    outputOff();
    if (inProcedure && door.procedureStep() != 0) {
        door.leaveProcedure();
    }
    if (!now) {
        close(false, why);
        return;
    }
    const std::size_t step = *now;
    if (!recorded && door.job().hasSession() && how != RunEnd::Mismatch) {
        ServiceRecord& record = door.job().record();
        record.noteRun({run_messages::stoppedRunName(steps.steps[step].name),
                        record.now(),
                        inProcedure ? RunOutcome::Abandoned : RunOutcome::Refused,
                        why,
                        {}});
    }
    setState(step, StepState::Failed, why);
    close(false, steps.steps[step].name + ": " + why);
}

void AlignmentRun::close(bool completed, const std::string& message) {
    if (completed && ended == RunEnd::None) {
        ended = RunEnd::Completed;
    }
    now.reset();
    phase = Phase::Closing;
    closingCompleted = completed;
    closingMessage = message;
    tick(); // without a setting on its way the step ends now
}

void AlignmentRun::outputOff() {
    if (generator) {
        generator->switchOutputOff();
    }
}

void AlignmentRun::setState(std::size_t step, StepState state, const std::string& result) {
    states[step] = state;
    results[step] = result;
    emit stepChanged(step);
}
