// SPDX-License-Identifier: GPL-3.0-or-later
// The model's periodic task: a state machine of 26 phases that connects to the radio (unlock,
// clone read, every item loaded and sent once) and then cycles while the technician works:
// readouts when a reload was asked for, the changed items to the radio, the Enter key, one step
// of the running procedure, and the parameter dump on request. It never waits: a busy link or
// the wait after a live command ends the tick, and the next tick goes on from there.
//
//   Connect -> Begin -> Unlock -> CloneRead -> LatchReload -> readouts 5..20 -> SendChanged
//           -> EnterKey -> ProcedureStep -> CycleEnd -> LatchReload ...      (Dump: 25)
#pragma once

#include "link/clsCmcTick.h"
#include "model/ProcedureTable.h"
#include "model/Progress.h"

#include <cstdint>
#include <optional>

struct RigSession;

// The phases by what each does. The readout phases are ranges: the first A/D pass 5..7, the
// second 8..10 (each asks on its first pass and takes the answer on a later one), D/A 11..20.
enum class TaskPhase : std::int16_t {
    Idle = 0,
    Begin = 1,
    Unlock = 2,
    CloneRead = 3,
    LatchReload = 4,
    FirstAdReadouts = 5,
    SecondAdReadouts = 8,
    DaReadouts = 11,
    SendChanged = 21,
    EnterKey = 22,
    ProcedureStep = 23,
    CycleEnd = 24,
    Dump = 25,
};

// What a tick of the task came to.
enum class TaskOutcome {
    Ran,        // whatever could be done this tick was done
    LinkFailed, // an answer the task waited for never came: the session is over
};

class ModelTask {
  public:
    explicit ModelTask(RigSession& session) : s(session) {}

    // Back to idle, not connected.
    void reset();
    // "Connect": the connect sequence starts with the next tick.
    void connect();
    void requestReload() { reloadRequest = true; }
    void setDumpWanted(bool wanted) { dispParaRequest = wanted; }
    // Milliseconds until the wait after a live command is over; 0 when none runs. (A wait
    // asked for in this tick starts with the next, and runs from the command's echo.)
    std::int32_t msUntilDue() { return waitTick.counter(); }

    // One tick of the task. After LinkFailed the owner resets the model and reports why.
    [[nodiscard]] TaskOutcome task();

    TaskPhase phase() const { return taskPhase; }
    bool editEnabled() const;
    bool dumpShown() const { return taskPhase == TaskPhase::Dump; }
    // From "Connect" until every value has gone out once (the first cycle's end).
    bool connecting() const { return connectUnderWay; }
    // Where Connect is: the clone read's bytes while it reads memory and levels, then the
    // values sent once, counted.
    Progress connectProgress() const;

  private:
    bool runPhase(TaskPhase phase, TaskPhase& next);
    bool cloneRead();
    bool readoutPhase(TaskPhase phase);
    bool sendChanged();
    bool enterKey();
    bool dump(TaskPhase& next);
    void stampProcedureReadouts();

    RigSession& s;
    TaskPhase taskPhase = TaskPhase::Idle;
    bool phaseEntry = true; // the first pass through the current phase
    bool reloadRequest = false;
    bool reloadNow = false; // the reload request, latched for one cycle of readouts
    bool dispParaRequest = false;
    bool connectUnderWay = false;
    int connectValues = 0; // the values Connect's read marked to go out once
    clsCmcTick waitTick;
    // The procedure the readouts' occasion names; nothing when it names another occasion.
    std::optional<ProcedureId> occasionProcedure;
};
