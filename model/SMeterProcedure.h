// SPDX-License-Identifier: GPL-3.0-or-later
// The S-meter points: one reading of the signal detector s sets the three thresholds, sent live
// as s - 2, s + 7 and s + 16 and kept as s, s + 8 and s + 16. A reading outside 2 to 239 would
// not fit a byte at one end: nothing is sent, and the technician is told why.
#pragma once

#include "model/Procedure.h"

class ProcedureContext;

class SMeterProcedure : public Procedure {
  public:
    explicit SMeterProcedure(ProcedureContext& ctx) : ctx(ctx) {}
    bool tick(std::int16_t& step) override;
    void stop() override { readingOut = false; }

  private:
    enum Step : std::int16_t { Measure = 59, Finish = 60 };
    bool outOfRange(int s, std::int16_t& step);

    ProcedureContext& ctx;
    bool readingOut = false;
};
