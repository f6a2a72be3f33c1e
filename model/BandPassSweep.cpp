// SPDX-License-Identifier: GPL-3.0-or-later
// The band-pass sweep.
#include "model/BandPassSweep.h"

#include "common/CommonRoutines.h"
#include "console/clsConsole.h"
#include "model/CurveLog.h"
#include "model/MemoryMap.h"
#include "model/ProcedureContext.h"
#include "model/ProcedureMessages.h"
#include "model/RigView.h"
#include "model/TestChannels.h"

#include <algorithm>

namespace {

constexpr const char* BandNames[] = {"Low", "Mid", "High"};

// Whole-number halves, (a + b) / 2 rounded to even.
std::int16_t halfway(std::int16_t a, std::int16_t b) {
    return static_cast<std::int16_t>(roundHalfEven((a + b) / 2.0));
}

} // namespace

BandPassSweep::BandPassSweep(ProcedureContext& ctx, int band)
    : ctx(ctx), band(band), firstStep(static_cast<std::int16_t>(12 + 14 * band)) {}

bool BandPassSweep::tick(std::int16_t& step) {
    const int k = step - firstStep;
    Tick tick = Tick::Advance;
    if (k == Start) {
        startSweep();
    } else if (k == SetFirstPoint) {
        setAll(Points[static_cast<std::size_t>(curPoint)]);
    } else if (k == CoarsePass) {
        tick = coarsePass(step);
    } else if (k < SweepDone) {
        tick = stageStep((k - FirstStageStep) / 3, (k - FirstStageStep) % 3);
    } else if (k == SweepDone) {
        if (!signalSeen) {
            endWithout(step, procedure_messages::noSignalForSweep);
            return true;
        }
        ctx.sendE8(MemoryMap::E8SweepDone, 1);
    } else {
        step = 0;
        ctx.view().beep();
        return true;
    }
    if (tick == Tick::Waiting) {
        return false;
    }
    if (tick == Tick::Ended) {
        return true;
    }
    if (tick == Tick::Advance) {
        ++step;
        readingOut = false;
    }
    return true;
}

std::int16_t BandPassSweep::allItem() const {
    return ctx.indexes().bpfAll(band);
}

// Tk of the band to x: live to the radio and into its console item.
void BandPassSweep::setStage(int stage, int x) {
    ctx.sendE8(MemoryMap::E8BandPass + 3 * band + stage, x);
    ctx.items().setValue(static_cast<std::int16_t>(allItem() + 1 + stage),
                         static_cast<std::int16_t>(x));
    varyingStage = stage;
    varyingSetting = x;
}

void BandPassSweep::setAll(int x) {
    for (int stage = 0; stage < 3; ++stage) {
        setStage(stage, x);
    }
    varyingStage = -1;
}

void BandPassSweep::startSweep() {
    std::array<int, 3> before{};
    for (int stage = 0; stage < 3; ++stage) {
        before[static_cast<std::size_t>(stage)] =
            ctx.items().Value(static_cast<std::int16_t>(allItem() + 1 + stage));
    }
    ctx.curves().sweepStart(band, before);
    setAll(0);
    signalSeen = false;
    bestReading = 0;
    bestSetting = 1;
    equalCount = 0;
    curPoint = 1;
}

// The signal detector's reading for the sweep; false while it is not in yet.
bool BandPassSweep::detector(std::int16_t& value) {
    if (!ctx.takeReading(MemoryMap::AdSignalDetector, readingOut)) {
        return false;
    }
    value = ctx.reading(MemoryMap::AdSignalDetector);
    signalSeen = signalSeen || value > 0;
    ctx.curves().sweepReading(band, varyingStage, varyingSetting, value);
    return true;
}

// All three stages together at the points 1 to 3 of the table. The best of them (the earlier
// one on equal readings) and its two neighbours bound the search of every stage.
BandPassSweep::Tick BandPassSweep::coarsePass(std::int16_t& step) {
    std::int16_t value = 0;
    if (!detector(value)) {
        return Tick::Waiting;
    }
    coarseReadings[static_cast<std::size_t>(curPoint - 1)] = value;
    // The sweep's own commands set no wait; the console preparation puts these back to 200
    // when the sweep ends or is left.
    for (int i = 0; i < 3; ++i) {
        ctx.items().setWaitAfterE8(static_cast<std::int16_t>(allItem() + i), i);
    }
    if (value > bestReading) {
        bestReading = value;
        bestSetting = curPoint;
    }
    ++curPoint;
    if (curPoint < 4) {
        setAll(Points[static_cast<std::size_t>(curPoint)]);
        return Tick::Stay;
    }
    if (const EndMessage message = noPeak()) {
        endWithout(step, message);
        return Tick::Ended;
    }
    lower = Points[static_cast<std::size_t>(bestSetting - 1)];
    upper = Points[static_cast<std::size_t>(bestSetting + 1)];
    middle = Points[static_cast<std::size_t>(bestSetting)];
    setAll(middle);
    bestReading = 0;
    return Tick::Advance;
}

// Step 0, 1 or 2 of one stage: move it halfway down, take its three points, scan it finely.
BandPassSweep::Tick BandPassSweep::stageStep(int stage, int part) {
    switch (part) {
    case 0:
        setStage(stage, halfway(middle, lower));
        threePoint = ThreePoint::Below;
        return Tick::Advance;
    case 1:
        return threePoints(stage);
    default:
        return fineScan(stage);
    }
}

BandPassSweep::Tick BandPassSweep::threePoints(int stage) {
    std::int16_t value = 0;
    if (!detector(value)) {
        return Tick::Waiting;
    }
    switch (threePoint) {
    case ThreePoint::Below:
        bestReading = value;
        bestSetting = halfway(middle, lower);
        setStage(stage, middle);
        threePoint = ThreePoint::Middle;
        return Tick::Stay;
    case ThreePoint::Middle:
        if (value > bestReading) {
            bestReading = value;
            bestSetting = middle;
        }
        setStage(stage, halfway(middle, upper));
        threePoint = ThreePoint::Above;
        return Tick::Stay;
    case ThreePoint::Above:
        break;
    }
    if (value > bestReading) {
        bestSetting = halfway(middle, upper);
    }
    bestReading = 0;
    chooseScanRange();
    curPoint = scanStart;
    setStage(stage, curPoint);
    threePoint = ThreePoint::Below;
    return Tick::Advance;
}

// The best of the three points picks the lower half, the upper half, or around the middle.
void BandPassSweep::chooseScanRange() {
    if (middle > bestSetting) {
        scanStart = lower;
        scanEnd = middle;
    } else if (middle == bestSetting) {
        scanStart = halfway(lower, middle);
        scanEnd = halfway(middle, upper);
    } else {
        scanStart = middle;
        scanEnd = upper;
    }
}

BandPassSweep::Tick BandPassSweep::fineScan(int stage) {
    std::int16_t value = 0;
    if (!detector(value)) {
        return Tick::Waiting;
    }
    if (value > bestReading) {
        bestReading = value;
        bestSetting = curPoint;
        equalCount = 0;
    } else if (value == bestReading) {
        ++equalCount;
    }
    curPoint = static_cast<std::int16_t>(curPoint + 2);
    if (curPoint <= scanEnd) {
        setStage(stage, curPoint);
        return Tick::Stay;
    }
    bestReading = 0;
    // The equal count is not reset between the stages; a detector gone flat could push the
    // sum past 255, where the radio would get a wrapped byte while the console item stops at
    // 255. Both get 255.
    const int chosen = std::min(bestSetting + equalCount, 255);
    setStage(stage, chosen);
    ctx.curves().sweepChosen(band, stage, chosen);
    return Tick::Advance;
}

// The coarse points lie 64 steps apart, far wider than a stage's resonance: a signal inside
// the band reads clearly higher at one of them. Readings that stay within 2 counts come from a
// signal the filters do not tune (outside the band); full scale at two points or more hides
// the peak in the clipped top. Either way the fine search would settle on noise. Readings of
// 0 throughout are left to the search, which ends on the missing signal after its last step.
BandPassSweep::EndMessage BandPassSweep::noPeak() const {
    constexpr std::int16_t FullScale = 255;
    constexpr std::int16_t FlatWithin = 2;
    if (std::count(coarseReadings.begin(), coarseReadings.end(), FullScale) >= 2) {
        return procedure_messages::saturatedDetectorForSweep;
    }
    const auto [low, high] = std::minmax_element(coarseReadings.begin(), coarseReadings.end());
    if (*high > 0 && *high - *low <= FlatWithin) {
        return procedure_messages::flatResponseForSweep;
    }
    return nullptr;
}

// A sweep without a sound result (no signal, or no peak in it: the signal generator off, on
// another frequency or too strong) would leave arbitrary settings. T1 to T3 go back as they
// were, and the message names the band's test channel the generator must match.
void BandPassSweep::endWithout(std::int16_t& step, EndMessage message) {
    const auto channel = static_cast<std::int16_t>(band + 1);
    const std::string frequency = trimBlanks(ctx.channels().ChUnit(channel).FreqOp_String());
    ctx.endWithoutResult(step, message(BandNames[band], twoDigits(channel), frequency));
}

// The sweep works on its band's test channel: showing its line puts the channel item there.
std::optional<std::string> BandPassSweep::runningLine(std::int16_t index, std::int16_t /*val*/) {
    if (index != allItem()) {
        return std::nullopt;
    }
    std::int16_t& channel = ctx.curChNo();
    channel = static_cast<std::int16_t>(band + 1);
    ctx.items().setValue(ctx.indexes().idxChNo, channel);
    ctx.items().setFlgChanged(ctx.indexes().idxChNo, true);
    return std::string("Sweeping");
}
