// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the adjustment procedures: starts the one an Enter asks for (after leaving the one that
// runs), takes one step of the running one per tick, and prepares the console when one ends.
// A procedure left before its end puts back what it changed; one that reached its end keeps
// its result. Every run of an adjustment procedure goes into the service record with its
// outcome and the values it left.
//
//   runner.enter(4)      -> BPF Low ALL starts at step 12, if test channel 1 is set up
//   runner.dispatch()    -> one step of it, once per cycle of the model's task
//   runner.prepareConsole()   (a button) -> T1..T3 of the low band back as they were
#pragma once

#include "model/ProcedureContext.h"
#include "model/ProcedureTable.h"
#include "model/Progress.h"
#include "model/ServiceRecord.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class Procedure;
class ServiceRecord;

class ProcedureRunner {
  public:
    ProcedureRunner(ProcedureContext& ctx, ServiceRecord& record);
    ~ProcedureRunner();
    ProcedureRunner(const ProcedureRunner&) = delete;
    ProcedureRunner& operator=(const ProcedureRunner&) = delete;

    // Enter on a procedure item (its Enter event): the running procedure takes it as its own,
    // or a new one starts; one whose test channel is hidden does not start, and says so.
    void enter(std::int16_t enterEvent);
    // One step of the running procedure; true when no procedure runs (the task phase is done).
    bool dispatch();
    // Ends a running procedure (putting back what it changed), restores the waits the sweeps
    // lower, clears every Enter mark and redraws the console.
    void prepareConsole();
    // Ends a running procedure without a word to the radio: the link is being reset.
    void drop();

    // The line of a procedure item after its title.
    std::string line(const ProcedureRow& row, std::int16_t index, std::int16_t val);

    std::int16_t step() const { return adjStep; }
    // The running procedure by name and how far it is; nothing when none runs.
    std::optional<Progress> progress() const;
    bool runs(ProcedureId id) const;

  private:
    Procedure& unit(ProcedureId id);
    void start(const ProcedureRow& row);
    bool testChannelReady(const ProcedureRow& row);
    // The run under way ends so; the record gets it (the channel item is no adjustment).
    void closeRun(RunOutcome outcome, const std::string& reason, std::vector<CellResult> results);

    ProcedureContext& ctx;
    ServiceRecord& record;
    std::optional<ProcedureRun> openRun;
    std::array<std::unique_ptr<Procedure>, ProcedureCount> units;
    std::int16_t adjStep = 0; // the step of the running procedure; 0 when none runs
};
