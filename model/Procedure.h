// SPDX-License-Identifier: GPL-3.0-or-later
// The common face of an adjustment procedure: a small state machine that the runner drives one
// step per tick while the step number lies in the procedure's range (ProcedureTable).
#pragma once

#include "model/Progress.h"

#include <cstdint>
#include <optional>
#include <string>

class Procedure {
  public:
    virtual ~Procedure() = default;

    // A new run starts (its first step is set): the kept values of a run start afresh.
    virtual void begin() {}
    // One tick at `step`, which the procedure moves on (0 at its own end). The result is the
    // task phase's "done": false while the tick waited for the radio.
    virtual bool tick(std::int16_t& step) = 0;
    // Enter on the item while the procedure runs: true when the procedure takes it as its
    // own (the next Enter of the modulation level and TXF); false restarts the procedure.
    virtual bool enterWhileRunning() { return false; }
    // The run ended or was left: a reading under way is not waited for any more.
    virtual void stop() {}
    // How far the run is at `step` of its steps first..last: by default the steps themselves;
    // a procedure that waits on the technician counts nothing.
    virtual Progress progress(std::int16_t step, std::int16_t first, std::int16_t last) const {
        return {{}, step - first, last - first};
    }
    // The item's line after its title while the procedure runs; nothing for its idle line.
    virtual std::optional<std::string> runningLine(std::int16_t /*index*/, std::int16_t /*val*/) {
        return std::nullopt;
    }
};
