// The adjustment procedures that Enter starts on a procedure item. Each is a small state
// machine on adjStep, run one step per tick by RigOpProc_Dispatch from phase 23 of the task;
// a step that waits for the sequencer or for an A/D reading returns false and is tried again
// on the next tick.
//
//   steps  1..3   channel select (the channel dialog)
//   steps  4..7   DTCS start / stop
//   steps  8..11  modulation level (runs until Enter is pressed again)
//   steps 12..53  band-pass sweeps: low 12..25, middle 26..39, high 40..53
//   steps 54..58  TXF, the reference oscillator's temperature compensation (two Enters)
//   steps 59..60  S-meter points
#include "model/clsIndOp_RigK5.h"

#include "app/common/CommonRoutines.h"
#include "console/clsConsole.h"
#include "link/LinkGlobals.h"
#include "link/clsCmcCln3Sequence.h"
#include "link/clsCmcRadio.h"
#include "model/MemoryMap.h"
#include "model/ProcedureMessages.h"
#include "model/RigHost.h"
#include "model/clsRig_Ch.h"
#include "platform/UiHooks.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr std::int32_t AdrModLevel = MemoryMap::ModLevel;
constexpr std::int32_t AdrSdS1 = MemoryMap::SMeter;
constexpr std::int32_t AdrRefInitial = MemoryMap::RefInitial;
constexpr std::int32_t AdrRefSlant = MemoryMap::RefSlant;
constexpr std::int16_t E8RefInitial = 26;
constexpr std::int16_t E8RefSlant = 46;
constexpr std::int16_t TxfSecondLift = 14; // the second pass starts this far above the first

// Whole-number halves, (a + b) / 2 rounded to even.
std::int16_t halfway(std::int16_t a, std::int16_t b) {
    return static_cast<std::int16_t>(roundHalfEven((a + b) / 2.0));
}

// Largest whole number not above x, saturated instead of overflowing for huge or broken input.
std::int64_t wholeFloor(double x) {
    if (std::isnan(x)) {
        return 0;
    }
    constexpr double limit = 9.0e15;
    return static_cast<std::int64_t>(std::floor(std::clamp(x, -limit, limit)));
}

// Nearest whole number, ties to even, saturated the same way.
std::int64_t wholeRound(double x) {
    if (std::isnan(x)) {
        return 0;
    }
    constexpr double limit = 9.0e15;
    return roundHalfEven(std::clamp(x, -limit, limit));
}

std::int16_t clampTo(std::int64_t value, int low, int high) {
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(value, low, high));
}

clsCmcEeprom& image() {
    return gObjRadio().objEep();
}

} // namespace

bool clsIndOp_RigK5::sendE8(std::int16_t command, int value) {
    journal.noteSent(command);
    return gObjSeq().easySendE8NoAnswer(IntToHex2(command) + IntToAsciiHex2(value));
}

void clsIndOp_RigK5::sendAndStore(std::int16_t command, int value, std::int32_t address,
                                  int stored) {
    if (sendE8(command, value)) {
        image().WriteByte(address, stored);
    }
}

void clsIndOp_RigK5::restoreProcedureChanges() {
    const std::vector<ProcedureJournal::Restore> restores = journal.restores();
    journal.clear();
    if (restores.empty()) {
        return;
    }
    clsCmcCln3Sequence& seq = gObjSeq();
    // A reading of the procedure may still be out; it is of no use any more, and waiting for
    // it would let the new action's commands reach the radio first.
    if (seq.OpRunning()) {
        seq.abandonOperation();
    }
    for (const ProcedureJournal::Restore& r : restores) {
        if (seq.easySendE8NoAnswer(IntToHex2(r.command) + IntToAsciiHex2(r.liveValue))) {
            image().WriteByte(r.address, r.stored);
        }
    }
    // The items of those bytes show them again; nothing is left for the task to resend.
    clsConsole& items = console();
    for (std::int16_t i = 0; i < items.ListCount(); ++i) {
        const std::int32_t address = items.EeAdr(i);
        const bool restored = std::any_of(restores.begin(), restores.end(),
                                          [&](const auto& r) { return r.address == address; });
        if (address >= 0 && restored) {
            items.ReadFromEe(i);
            items.setFlgChanged(i, false);
        }
    }
}

// One tick of a procedure's reading of A/D channel 0..3; true once an accepted value is in
// adLast. `requested` is the procedure's own flag: clear, the tick sends a fresh request; set,
// it looks for the answer. It stays set until an answer has been accepted. A rejected answer
// (commError) is nothing to act on: the task reports it and resets the model in the same pass.
// Modulation level, TXF and the sweeps also clear their flag whenever they change step.
bool clsIndOp_RigK5::takeReading(std::int16_t channel, bool& requested) {
    bool done = false;
    RigOpDisp_AD(channel, !requested, done);
    requested = !done || commError;
    return !requested;
}

bool clsIndOp_RigK5::RigOpProc_Dispatch() {
    struct Procedure {
        std::int16_t firstStep;
        std::int16_t lastStep;
        bool (clsIndOp_RigK5::*run)();
    };
    // The steps of each procedure; no step belongs to two.
    static constexpr Procedure Procedures[] = {
        {1, 3, &clsIndOp_RigK5::RigOpProc_Channel},   {4, 5, &clsIndOp_RigK5::RigOpProc_DtcsStart},
        {6, 7, &clsIndOp_RigK5::RigOpProc_DtcsStop},  {8, 11, &clsIndOp_RigK5::RigOpProc_ModLevel},
        {54, 58, &clsIndOp_RigK5::RigOpProc_Txf},     {59, 60, &clsIndOp_RigK5::RigOpProc_SMeter},
        {12, 25, &clsIndOp_RigK5::RigOpProc_BpfLow},  {26, 39, &clsIndOp_RigK5::RigOpProc_BpfMid},
        {40, 53, &clsIndOp_RigK5::RigOpProc_BpfHigh},
    };
    for (const Procedure& p : Procedures) {
        if (!inRange(adjStep, p.firstStep, p.lastStep)) {
            continue;
        }
        // Every step may talk to the radio: while the sequencer is busy the procedure loses a
        // whole tick and skips nothing.
        if (gObjSeq().OpRunning()) {
            return false;
        }
        const bool result = (this->*p.run)();
        if (adjStep == 0) { // the procedure has ended
            RigOpFunc_PrepareConsole();
        }
        return result;
    }
    return true;
}

bool clsIndOp_RigK5::RigOpProc_Channel() {
    switch (adjStep) {
    case 1:
        adjStep = 2; // before the dialog: its modal loop must find the step already taken
        if (rigHost() != nullptr) {
            rigHost()->EditFormSet(curChNo);
        }
        break;
    case 2:
        console().setFlgChanged(0, true);
        adjStep = 3;
        break;
    default:
        adjStep = 0;
        break;
    }
    return false;
}

bool clsIndOp_RigK5::RigOpProc_DtcsStart() {
    return dtcsStep(4, 1);
}

bool clsIndOp_RigK5::RigOpProc_DtcsStop() {
    return dtcsStep(6, 0);
}

// DTCS start and stop: one E8(2, tone) at the first step, the end on the next.
bool clsIndOp_RigK5::dtcsStep(std::int16_t firstStep, int tone) {
    if (adjStep == firstStep) {
        sendE8(2, tone);
        adjStep = static_cast<std::int16_t>(firstStep + 1);
    } else {
        adjStep = 0;
    }
    return true;
}

bool clsIndOp_RigK5::RigOpProc_ModLevel() {
    clsConsole& items = console();
    const std::int16_t before = adjStep;
    std::int16_t next = modNext ? 11 : static_cast<std::int16_t>(adjStep + 1);
    switch (adjStep) {
    case 8:
        modNext = false;
        items.setValue(idxModLevel, image().ReadByte(AdrModLevel));
        next = 9;
        break;
    case 9:
        if (!takeReading(1, modReadoutStarted)) {
            return false;
        }
        if (items.Value(idxModLevel) != modLastWritten) {
            // The level input has no byte in the image; the radio keeps it as "MOD LV Level".
            sendE8(13, adLast[1]);
            // A change made just before the closing Enter still goes to the radio: step 10
            // sends it, and the reading after it ends the procedure.
            next = 10;
        }
        break;
    case 10: {
        const std::int16_t value = items.Value(idxModLevel);
        if (value != modLastWritten) {
            modLastWritten = value;
            sendAndStore(14, value, AdrModLevel, value);
        }
        next = 9;
        break;
    }
    default:
        next = 0;
        break;
    }
    adjStep = next;
    if (adjStep != before) {
        modReadoutStarted = false;
    }
    return true;
}

bool clsIndOp_RigK5::RigOpProc_SMeter() {
    if (adjStep == 60) {
        adjStep = 0;
        platform::beep();
        return true;
    }
    if (!takeReading(2, smeterReadoutStarted)) {
        return false;
    }
    const int s = adLast[2];
    if (sMeterOutOfRange(s)) {
        return true;
    }
    sendAndStore(4, s - 2, AdrSdS1, s);
    sendAndStore(5, s + 7, AdrSdS1 + 1, s + 8);
    sendAndStore(6, s + 16, AdrSdS1 + 2, s + 16);
    adjStep = 60;
    return true;
}

// The three points are s - 2 (live) and s + 16 (stored) at their ends: outside 2 to 239 one of
// them would not fit a byte, and the radio and the image would part ways. Nothing is sent.
bool clsIndOp_RigK5::sMeterOutOfRange(int s) {
    if (s >= 2 && s <= 239) {
        return false;
    }
    adjStep = 0;
    namespace text = procedure_messages;
    MsgBoxProduct(s == 0 ? text::noSignalForSMeter()
                         : (s < 2 ? text::sMeterLevelTooLow() : text::sMeterLevelTooHigh()));
    return true;
}

std::int16_t clsIndOp_RigK5::RigOpProc_TxfArea(std::int16_t value) const {
    for (std::int16_t n = 0; n <= 18; ++n) {
        if (value < txfTempBorder[static_cast<std::size_t>(n + 1)]) {
            return n;
        }
    }
    return 19;
}

bool clsIndOp_RigK5::RigOpProc_Txf() {
    clsConsole& items = console();
    const std::int16_t before = adjStep;
    bool result = true;
    switch (adjStep) {
    case 54:
        txfLastArea = -1;
        txfNext = false;
        adjStep = 55;
        break;
    case 55:
    case 56: {
        if (!takeReading(0, txfReadoutStarted)) {
            return false;
        }
        if (txfSensorError()) {
            return true;
        }
        const std::int16_t area = RigOpProc_TxfArea(adLast[0]);
        if (adjStep == 55) {
            const std::int16_t initial = image().ReadByte(AdrRefInitial + area);
            items.setValue(
                idxTxf, static_cast<std::int16_t>(txfSecond ? initial + TxfSecondLift : initial));
            adjStep = 56;
            break;
        }
        const std::int16_t value = items.Value(idxTxf);
        if (value == txfLastItemValue && !txfNext && area == txfLastArea) {
            adjStep = 58; // nothing changed
            break;
        }
        txfLastArea = area;
        if (txfNext && txfSecond) {
            txfWriteIndex = 0;
            txfWriteEnd = 39;
            txfFullWrite = true;
            txfSecondValue = value;
            computeTxfCurve(area, adLast[0]);
        } else {
            txfWriteIndex = static_cast<std::int16_t>(area - 1);
            txfWriteEnd = static_cast<std::int16_t>(area + 4);
            if (txfNext) {
                txfStartValue = value;
            }
        }
        txfWriteIndex = std::clamp<std::int16_t>(txfWriteIndex, 0, 19);
        txfNextCopy = txfNext;
        txfLastItemValue = items.Value(idxTxf);
        adjStep = 57;
        break;
    }
    case 57:
        result = txfWriteStep();
        break;
    default: // 58
        if (!txfNextCopy) {
            adjStep = 56;
        } else if (!txfSecond) {
            txfSecond = true;
            adjStep = 54;
        } else {
            adjStep = 0;
            txfSecond = false;
            txfNext = false;
            platform::beep();
        }
        break;
    }
    if (adjStep != before) {
        txfReadoutStarted = false;
    }
    return result;
}

// An open or shorted sensor (reading 0 or 255) gives no temperature: the areas and the curve
// built on it would be nonsense. TXF ends with everything it wrote put back.
bool clsIndOp_RigK5::txfSensorError() {
    if (adLast[0] != 0 && adLast[0] != 255) {
        return false;
    }
    restoreProcedureChanges();
    adjStep = 0;
    txfSecond = false;
    txfNext = false;
    MsgBoxProduct(procedure_messages::temperatureSensorError());
    return true;
}

// The reference curve through the two settings, in single precision: the start value at the
// first Enter, the second value at the second, spread over the borders by the constants.
void clsIndOp_RigK5::computeTxfCurve(std::int16_t area, std::int16_t t) {
    const float d = static_cast<float>(txfSecondValue - txfStartValue) / 10.0f;
    for (std::size_t i = 0; i <= 20; ++i) {
        txfCurve[i] = static_cast<float>(txfStartValue) - d * txfConstants[i];
    }
    for (std::size_t i = 0; i <= 19; ++i) {
        const float span = static_cast<float>(txfTempBorder[i + 1] - txfTempBorder[i]);
        txfSlope[i] = (txfCurve[i + 1] - txfCurve[i]) / span * 32.0f;
    }
    const auto a = static_cast<std::size_t>(area);
    // The slope's whole part times the distance into the area; wide integers, so that a steep
    // curve cannot overflow where 16 bits would.
    const std::int64_t product = wholeRound(txfSlope[a]) * (t - txfTempBorder[a]);
    const float y =
        static_cast<float>(wholeFloor(txfCurve[a] + 0.5f)) + static_cast<float>(product) / 32.0f;
    txfOffset =
        clampTo(wholeRound(static_cast<double>(txfStartValue - wholeFloor(y))),
                std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max());
}

// One value per tick: the full curve (40 values) after the second Enter, otherwise the initial
// value and a flat slope of the areas around the current one.
bool clsIndOp_RigK5::txfWriteStep() {
    const std::int16_t i = txfWriteIndex;
    if (txfFullWrite && txfSecond) {
        if (i < 20) {
            const auto u = static_cast<std::size_t>(i);
            const std::int16_t w = clampTo(wholeFloor(txfCurve[u] + 0.5f) + txfOffset, 0, 255);
            sendAndStore(static_cast<std::int16_t>(E8RefInitial + i), w, AdrRefInitial + i, w);
        } else {
            const std::int16_t w =
                clampTo(wholeRound(txfSlope[static_cast<std::size_t>(i - 20)]), -128, 127);
            sendAndStore(static_cast<std::int16_t>(E8RefInitial + i), w, AdrRefInitial + i,
                         w & 0xFF);
        }
    } else if (i <= txfWriteEnd - 3) {
        if (inRange(i, 0, TxfAreaCount - 1)) {
            const std::int16_t value = console().Value(idxTxf);
            sendAndStore(static_cast<std::int16_t>(E8RefInitial + i), value, AdrRefInitial + i,
                         value);
        }
    } else {
        const auto area = static_cast<std::int16_t>(i - 3);
        if (inRange(area, 0, TxfAreaCount - 1)) {
            sendAndStore(static_cast<std::int16_t>(E8RefSlant + area), 0, AdrRefSlant + area, 0);
        }
    }
    ++txfWriteIndex;
    if (txfWriteIndex <= txfWriteEnd) {
        return false;
    }
    adjStep = txfNextCopy ? 58 : 56;
    return true;
}

bool clsIndOp_RigK5::RigOpProc_BpfLow() {
    return bpfStep(0);
}
bool clsIndOp_RigK5::RigOpProc_BpfMid() {
    return bpfStep(1);
}
bool clsIndOp_RigK5::RigOpProc_BpfHigh() {
    return bpfStep(2);
}

// One step of the band-pass sweep of band 0 (low), 1 (middle) or 2 (high): a coarse pass with
// all three stages together at 63, 127 and 191, then for each stage T1, T2, T3 three points
// around the best coarse setting and a fine scan by 2 between the best two of them.
bool clsIndOp_RigK5::bpfStep(int band) {
    BpfState& s = bpf[static_cast<std::size_t>(band)];
    const int k = adjStep - (12 + 14 * band); // the band's steps are 0..13 here
    BpfTick tick = BpfTick::Advance;
    if (k == 0) {
        bpfStartSweep(band);
    } else if (k == 1) {
        bpfSetAll(band, bpfPoint[static_cast<std::size_t>(s.curPoint)]);
    } else if (k == 2) {
        tick = bpfCoarsePass(band);
    } else if (k >= 3 && k <= 11) { // three steps for each stage
        tick = bpfStageStep(band, (k - 3) / 3, (k - 3) % 3);
    } else if (k == 12) {
        if (!s.signalSeen) {
            bpfEndWithoutSignal(band);
            return true;
        }
        sendE8(66, 1);
    } else {
        adjStep = 0;
        platform::beep();
        return true;
    }
    if (tick == BpfTick::Waiting) {
        return false;
    }
    if (tick == BpfTick::Advance) {
        ++adjStep;
        s.readoutStarted = false;
    }
    return true;
}

std::int16_t clsIndOp_RigK5::bpfAllItem(int band) const {
    return band == 0 ? idxBpfLowAll : band == 1 ? idxBpfMidAll : idxBpfHighAll;
}

// Tk of the band to x: live to the radio and into its console item.
void clsIndOp_RigK5::bpfSetStage(int band, int stage, int x) {
    sendE8(static_cast<std::int16_t>(17 + 3 * band + stage), x);
    console().setValue(static_cast<std::int16_t>(bpfAllItem(band) + 1 + stage),
                       static_cast<std::int16_t>(x));
}

void clsIndOp_RigK5::bpfSetAll(int band, int x) {
    for (int stage = 0; stage < 3; ++stage) {
        bpfSetStage(band, stage, x);
    }
}

void clsIndOp_RigK5::bpfStartSweep(int band) {
    BpfState& s = bpf[static_cast<std::size_t>(band)];
    bpfSetAll(band, 0);
    s.signalSeen = false;
    s.bestReading = 0;
    s.bestSetting = 1;
    s.equalCount = 0;
    s.curPoint = 1;
}

// The signal detector's reading just taken for the sweep of the band.
std::int16_t clsIndOp_RigK5::bpfReading(int band) {
    const std::int16_t value = adLast[2];
    bpf[static_cast<std::size_t>(band)].signalSeen |= value > 0;
    return value;
}

// A sweep that never saw the detector rise above 0 found nothing (the signal generator off or
// on another frequency): its settings would be arbitrary. T1 to T3 go back as they were.
void clsIndOp_RigK5::bpfEndWithoutSignal(int band) {
    restoreProcedureChanges();
    adjStep = 0;
    static const char* const names[] = {"Low", "Mid", "High"};
    const auto channel = static_cast<std::int16_t>(band + 1);
    std::string frequency;
    if (rigHost() != nullptr) {
        frequency = rigHost()->ChUnit(channel).FreqOp_String();
        frequency.erase(0, frequency.find_first_not_of(' '));
    }
    MsgBoxProduct(procedure_messages::noSignalForSweep(names[band], twoDigits(channel), frequency));
}

// Step 0, 1 or 2 of one stage: move it halfway down, take its three points, scan it finely.
clsIndOp_RigK5::BpfTick clsIndOp_RigK5::bpfStageStep(int band, int stage, int part) {
    BpfState& s = bpf[static_cast<std::size_t>(band)];
    switch (part) {
    case 0:
        bpfSetStage(band, stage, halfway(s.middle, s.lower));
        s.threePoint = BpfState::ThreePoint::Below;
        return BpfTick::Advance;
    case 1:
        return bpfThreePoints(band, stage);
    default:
        return bpfFineScan(band, stage);
    }
}

// The coarse pass: all three stages together at each of the points 1 to 3 of the sweep table.
// The best of them (the earlier one on equal readings) and its two neighbours bound the search
// of every stage.
clsIndOp_RigK5::BpfTick clsIndOp_RigK5::bpfCoarsePass(int band) {
    BpfState& s = bpf[static_cast<std::size_t>(band)];
    if (!takeReading(2, s.readoutStarted)) {
        return BpfTick::Waiting;
    }
    const std::int16_t value = bpfReading(band);
    // The sweep's own E8 commands set no wait; PrepareConsole puts these back to 200 when the
    // sweep ends or is abandoned.
    for (int i = 0; i < 3; ++i) {
        console().setWaitAfterE8(static_cast<std::int16_t>(bpfAllItem(band) + i), i);
    }
    if (value > s.bestReading) {
        s.bestReading = value;
        s.bestSetting = s.curPoint;
    }
    ++s.curPoint;
    if (s.curPoint < 4) {
        bpfSetAll(band, bpfPoint[static_cast<std::size_t>(s.curPoint)]);
        return BpfTick::Stay;
    }
    s.lower = bpfPoint[static_cast<std::size_t>(s.bestSetting - 1)];
    s.upper = bpfPoint[static_cast<std::size_t>(s.bestSetting + 1)];
    s.middle = bpfPoint[static_cast<std::size_t>(s.bestSetting)];
    bpfSetAll(band, s.middle);
    s.bestReading = 0;
    return BpfTick::Advance;
}

// Three readings of one stage: halfway down, the middle, halfway up. The best of them picks the
// range of the fine scan: the lower half, the upper half, or around the middle.
clsIndOp_RigK5::BpfTick clsIndOp_RigK5::bpfThreePoints(int band, int stage) {
    using ThreePoint = BpfState::ThreePoint;
    BpfState& s = bpf[static_cast<std::size_t>(band)];
    if (!takeReading(2, s.readoutStarted)) {
        return BpfTick::Waiting;
    }
    const std::int16_t value = bpfReading(band);
    switch (s.threePoint) {
    case ThreePoint::Below:
        s.bestReading = value;
        s.bestSetting = halfway(s.middle, s.lower);
        bpfSetStage(band, stage, s.middle);
        s.threePoint = ThreePoint::Middle;
        return BpfTick::Stay;
    case ThreePoint::Middle:
        if (value > s.bestReading) {
            s.bestReading = value;
            s.bestSetting = s.middle;
        }
        bpfSetStage(band, stage, halfway(s.middle, s.upper));
        s.threePoint = ThreePoint::Above;
        return BpfTick::Stay;
    case ThreePoint::Above:
        break;
    }
    if (value > s.bestReading) {
        s.bestSetting = halfway(s.middle, s.upper);
    }
    s.bestReading = 0;
    if (s.middle > s.bestSetting) {
        s.scanStart = s.lower;
        s.scanEnd = s.middle;
    } else if (s.middle == s.bestSetting) {
        s.scanStart = halfway(s.lower, s.middle);
        s.scanEnd = halfway(s.middle, s.upper);
    } else {
        s.scanStart = s.middle;
        s.scanEnd = s.upper;
    }
    s.curPoint = s.scanStart;
    bpfSetStage(band, stage, s.curPoint);
    s.threePoint = ThreePoint::Below;
    return BpfTick::Advance;
}

// The fine scan of one stage by 2 from scan start to scan end. The stage ends on the first best
// setting plus the number of readings equal to the best, which settles it in the middle of a
// flat top.
clsIndOp_RigK5::BpfTick clsIndOp_RigK5::bpfFineScan(int band, int stage) {
    BpfState& s = bpf[static_cast<std::size_t>(band)];
    if (!takeReading(2, s.readoutStarted)) {
        return BpfTick::Waiting;
    }
    const std::int16_t value = bpfReading(band);
    if (value > s.bestReading) {
        s.bestReading = value;
        s.bestSetting = s.curPoint;
        s.equalCount = 0;
    } else if (value == s.bestReading) {
        ++s.equalCount;
    }
    s.curPoint = static_cast<std::int16_t>(s.curPoint + 2);
    if (s.curPoint <= s.scanEnd) {
        bpfSetStage(band, stage, s.curPoint);
        return BpfTick::Stay;
    }
    s.bestReading = 0;
    // The equal count is not reset between the stages; a dead detector (all readings
    // equal) could push the sum past 255, where the radio would get a wrapped byte
    // while the console item stops at 255. Both get 255.
    bpfSetStage(band, stage, std::min(s.bestSetting + s.equalCount, 255));
    return BpfTick::Advance;
}
