// SPDX-License-Identifier: GPL-3.0-or-later
// TXF, the temperature compensation of the reference oscillator. The radio keeps for each of
// 20 temperature areas an initial reference value (REF Initial) and a slope (REF Slant). The
// technician sets the "TXF" item twice: at the current temperature (first Enter), then once
// more for the spread (second Enter). While the item changes, the procedure writes the item's
// value as the initial value of the areas around the current one, with a flat slope; after the
// second Enter it computes the whole curve (TxfCurve) and writes all 40 values, one per tick.
#pragma once

#include "model/Procedure.h"
#include "model/TxfCurve.h"

class ProcedureContext;

class TxfProcedure : public Procedure {
  public:
    explicit TxfProcedure(ProcedureContext& ctx) : ctx(ctx) {}
    void begin() override;
    bool tick(std::int16_t& step) override;
    bool enterWhileRunning() override;
    void stop() override { readingOut = false; }
    std::optional<std::string> runningLine(std::int16_t index, std::int16_t val) override;
    // The 40 values of the full write; before it TXF follows the technician.
    Progress progress(std::int16_t step, std::int16_t first, std::int16_t last) const override;

    // Its steps, as the door's procedureStep() tells them: a client that gives TXF its Enters
    // (the unattended alignment) waits for Follow, where TXF takes the item's value.
    enum Step : std::int16_t { Start = 54, LoadItem = 55, Follow = 56, Write = 57, Decide = 58 };

  private:
    // The second pass starts this far above the area's first value.
    static constexpr std::int16_t SecondLift = 14;

    bool measure(std::int16_t& step);
    void planWrite(std::int16_t area, std::int16_t t);
    bool writeStep(std::int16_t& step);
    void writeLocal(std::int16_t i);
    void decide(std::int16_t& step);
    bool sensorError(std::int16_t& step);

    ProcedureContext& ctx;
    bool nextEnter = false;  // Enter pressed on the item while TXF runs
    bool secondPass = false; // working on the second transmit frequency
    bool fullWrite = false;  // all 40 values are being written
    bool readingOut = false;
    bool nextEnterCopy = false;
    std::int16_t lastArea = -1;
    std::int16_t lastItemValue = 0;
    std::int16_t writeIndex = 0;
    std::int16_t writeEnd = 0;
    std::int16_t startValue = 0;
    TxfCurve curve;
};
