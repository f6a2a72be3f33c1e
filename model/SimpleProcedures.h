// SPDX-License-Identifier: GPL-3.0-or-later
// The two-step procedures: the channel select (the channel dialog, then the chosen channel
// sent) and the DTCS test tone on and off (one live command each).
#pragma once

#include "model/Procedure.h"

class ProcedureContext;

class ChannelProcedure : public Procedure {
  public:
    explicit ChannelProcedure(ProcedureContext& ctx) : ctx(ctx) {}
    bool tick(std::int16_t& step) override;

  private:
    enum Step : std::int16_t { EditDialog = 1, SendChannel = 2, End = 3 };
    ProcedureContext& ctx;
};

class DtcsProcedure : public Procedure {
  public:
    // firstStep 4 with tone 1 (DTCS Start), 6 with tone 0 (DTCS Stop).
    DtcsProcedure(ProcedureContext& ctx, std::int16_t firstStep, int tone)
        : ctx(ctx), firstStep(firstStep), tone(tone) {}
    bool tick(std::int16_t& step) override;

  private:
    ProcedureContext& ctx;
    std::int16_t firstStep; // sends the tone; the step after it ends the procedure
    int tone;
};
