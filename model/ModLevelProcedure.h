// SPDX-License-Identifier: GPL-3.0-or-later
// The modulation level: the technician steps the "MOD Level" item while the procedure sends
// each change at once (E8 14) and the measured level input (E8 13), reading the input between
// the changes, until Enter is pressed again; it then ends after the next completed reading.
#pragma once

#include "model/Procedure.h"

class ProcedureContext;

class ModLevelProcedure : public Procedure {
  public:
    explicit ModLevelProcedure(ProcedureContext& ctx) : ctx(ctx) {}
    bool tick(std::int16_t& step) override;
    bool enterWhileRunning() override;
    void stop() override { readingOut = false; }
    std::optional<std::string> runningLine(std::int16_t index, std::int16_t val) override;
    // It runs until the technician ends it: nothing to count.
    Progress progress(std::int16_t, std::int16_t, std::int16_t) const override { return {}; }

  private:
    enum Step : std::int16_t { Load = 8, ReadInput = 9, WriteLevel = 10, End = 11 };
    std::int16_t readInput(std::int16_t next);
    std::int16_t writeLevel();

    ProcedureContext& ctx;
    bool endRequested = false; // Enter again: ends after the next reading
    bool readingOut = false;
    std::int16_t lastWritten = 0; // kept from one run to the next, as the radio keeps it
};
