// SPDX-License-Identifier: GPL-3.0-or-later
// Connect, the key steps and the procedures, timed against their floors.
#include "bench/Procedures.h"

#include "bench/BenchApp.h"
#include "bench/Clock.h"
#include "bench/CriticalPath.h"
#include "bench/UtilityOnPty.h"

#include <QPushButton>

#include <algorithm>
#include <cstdio>

namespace vsk5bench {

namespace {

// Console rows, as the item table lists them.
constexpr int PowerHighRow = 1, BpfLowAllRow = 8, TxfRow = 20, SMeterRow = 21;
// TXF's steps while it follows the temperature, and its first step.
constexpr int TxfFollow = 56, TxfDecide = 58, TxfStart = 54;
// Power(Hi) is put here before the key steps, so that a hundred steps up stay below its top
// (255), where a step would still send but change nothing.
constexpr std::int16_t PowerHighStart = 100;

// Generous: about ten times what each takes here, so that a slow machine only gets slow figures.
constexpr int ConnectTimeoutMs = 120000, StepTimeoutMs = 5000, ProcedureTimeoutMs = 300000;

constexpr double ProcedureRatio = 1.01, SMeterRatio = 1.10;
constexpr double KeyMedianLimitMs = 20, KeyWorstLimitMs = 30;

std::string messagesSince(UtilityOnPty& b, std::size_t messagesBefore) {
    std::string text;
    for (std::size_t i = messagesBefore; i < b.messages().size(); ++i) {
        text += "a message box came up: " + b.messages()[i].substr(0, 60);
    }
    return text;
}

Figure unmeasured(const std::string& name, const std::string& what, double ratioLimit) {
    return Figure{name, "ms", {}, {}, ratioLimit, {}, {what, "did not come to its end in time"}};
}

// The figure of a piece of work that sent these frames, asked for at `from` and over at
// `endNs`, beside their floor.
Figure againstFloor(UtilityOnPty& b, const std::string& name, const std::string& what,
                    std::int64_t from, std::int64_t endNs,
                    const std::vector<const ComputerFrame*>& frames, double ratioLimit) {
    const PathFloor p = criticalPath(b.log(), frames, b.line().radio().config().answerDelayMs);
    Figure f{name, "ms", msBetween(from, endNs), p.ms, ratioLimit, {}, {what}};
    f.notes.push_back("floor: " + p.describe());
    if (!frames.empty()) {
        // The program's reaction: at once for what a key or an arriving byte sets off, at the
        // next 50 ms tick for the rest.
        char text[128];
        std::snprintf(text, sizeof text,
                      "its first frame was handed to the port %.1f ms after the start, read off "
                      "the pseudo-terminal %.1f ms after",
                      msBetween(from, b.handedAt(*frames.front())),
                      msBetween(from, frames.front()->firstReadNs));
        f.notes.push_back(text);
    }
    const WaitShortfall cut = waitsAtTheRadio(b.log(), frames);
    if (cut.cutShort > 0) {
        f.notes.push_back(cut.describe());
        // What the work would have taken with those waits kept, against the same floor.
        char text[128];
        const double kept = *f.value + cut.totalMs;
        std::snprintf(text, sizeof text, "with them kept in full: about %.1f ms, %.3f x floor",
                      kept, kept / p.ms);
        f.notes.push_back(text);
    }
    return f;
}

// Work that is over when the program reaches a state (the console loaded): the frames read
// before that moment count.
Figure untilState(UtilityOnPty& b, const std::string& name, const std::string& what,
                  std::int64_t from, std::optional<std::int64_t> seen, double ratioLimit) {
    if (!seen) {
        return unmeasured(name, what, ratioLimit);
    }
    b.log().mark(name + ": seen", *seen);
    return againstFloor(b, name, what, from, *seen, b.log().framesReadBetween(from, *seen),
                        ratioLimit);
}

// Work that is over when the program is done with it and the last frame it sent has reached
// the radio: a command that awaits no answer is done for the program once the port has it, so
// the line may still be carrying the work's last commands when the program is done.
Figure throughTheLine(UtilityOnPty& b, const std::string& name, const std::string& what,
                      std::int64_t from, std::optional<std::int64_t> seen, double ratioLimit) {
    const std::optional<std::int64_t> handed = seen ? b.drain() : std::nullopt;
    if (!handed) {
        return unmeasured(name, what, ratioLimit);
    }
    b.log().mark(name + ": the program done", *seen);
    const auto frames = b.log().framesSentBy(from, *handed);
    const std::int64_t end = frames.empty() ? *seen : std::max(*seen, frames.back()->lineEndNs);
    return againstFloor(b, name, what, from, end, frames, ratioLimit);
}

bool allValuesOut(Utility& u) {
    if (!u.door().model().RigProp_EditEnabled() || u.door().seq().OpRunning()) {
        return false;
    }
    for (std::int16_t i = 0; i < u.door().console().ListCount(); ++i) {
        if (u.door().console().flgChanged(i)) {
            return false;
        }
    }
    return true;
}

// Enter on a procedure's row, then the procedure run to its end (step 0 again).
Figure enterToEnd(UtilityOnPty& b, int row, const std::string& name, const std::string& what,
                  double ratioLimit) {
    clsIndOp_RigK5& model = b.utility().door().model();
    b.settle(StepTimeoutMs);
    const std::size_t messages = b.messages().size();
    const std::int64_t enter = b.press(row, Qt::Key_Return);
    const bool started =
        b.app().runUntil([&] { return model.adjStepNow() != 0; }, StepTimeoutMs).has_value();
    const auto end =
        started ? b.app().runUntil([&] { return model.adjStepNow() == 0; }, ProcedureTimeoutMs)
                : std::nullopt;
    Figure f = throughTheLine(b, name, what, enter, end, ratioLimit);
    if (const std::string note = messagesSince(b, messages); !note.empty()) {
        f.notes.push_back(note);
    }
    return f;
}

} // namespace

std::vector<Figure> measureConnect(UtilityOnPty& b) {
    Utility& u = b.utility();
    const std::int64_t click = nowNs();
    u.window().cmd00(0).click();
    b.log().mark("click on Connect", click);
    const auto loaded =
        b.app().runUntil([&] { return u.door().model().RigProp_EditEnabled(); }, ConnectTimeoutMs);
    const auto connected = b.app().runUntil([&] { return allValuesOut(u); }, ConnectTimeoutMs);

    return {untilState(b, "Connect: console loaded",
                       "click on Connect -> console loaded (edit enabled)", click, loaded,
                       ProcedureRatio),
            throughTheLine(b, "Connect: last value sent",
                           "click on Connect -> the last value's last byte at the radio", click,
                           connected, ProcedureRatio)};
}

// "median 0.2, worst 4.9 ms" of the samples; sorts them.
std::string spread(std::vector<double>& samples) {
    if (samples.empty()) {
        return "-";
    }
    std::sort(samples.begin(), samples.end());
    char text[64];
    std::snprintf(text, sizeof text, "median %.2f, worst %.2f ms", samples[samples.size() / 2],
                  samples.back());
    return text;
}

std::vector<Figure> measureKeySteps(UtilityOnPty& b, int count) {
    clsConsole& items = b.utility().door().console();
    const LineLog& log = b.log();
    items.setValue(PowerHighRow, PowerHighStart);
    b.app().runUntil([&] { return !items.flgChanged(PowerHighRow) && b.linkIdle(); },
                     StepTimeoutMs);
    std::vector<double> samples, toPort, toLine;
    double floorMs = 0;
    for (int i = 0; i < count; ++i) {
        const std::size_t before = log.computerFrames().size();
        const std::int64_t key = b.press(PowerHighRow, Qt::Key_Right);
        // Its frame through and the 200 ms wait after it over: the next key finds the link
        // idle, as a technician's next key a moment later does.
        const auto done = b.app().runUntil(
            [&] { return log.computerFrames().size() > before && b.linkIdle(); }, StepTimeoutMs);
        if (!done) {
            break;
        }
        const ComputerFrame& frame = log.computerFrames()[before];
        samples.push_back(msBetween(key, frame.lineEndNs));
        toPort.push_back(msBetween(key, b.handedAt(frame)));
        toLine.push_back(msBetween(b.handedAt(frame), frame.firstReadNs));
        floorMs = static_cast<double>(frame.bytes.size()) * ByteMs;
    }
    const std::string parts = "key -> frame handed to the port: " + spread(toPort) +
                              "; -> read off the pseudo-terminal: " + spread(toLine);
    const auto figure = [&](const std::string& which, double limit) {
        Figure f;
        f.name = "Key step: " + which + " of " + std::to_string(count);
        f.unit = "ms";
        f.limit = limit;
        f.notes = {"Right on \"   Power(Hi)\" -> its frame's last byte at the radio",
                   "floor: the frame's own bytes on the line", parts};
        return f;
    };
    Figure median = figure("median", KeyMedianLimitMs);
    Figure worst = figure("worst", KeyWorstLimitMs);
    if (static_cast<int>(samples.size()) == count && count > 0) {
        std::sort(samples.begin(), samples.end());
        median.value = samples[samples.size() / 2];
        worst.value = samples.back();
        median.floor = worst.floor = floorMs;
    }
    return {median, worst};
}

Figure measureSweep(UtilityOnPty& b) {
    return enterToEnd(b, BpfLowAllRow, "Band-pass sweep (BPF Low)",
                      "Enter on \"BPF Low ALL \" -> the sweep at its end (step 0)", ProcedureRatio);
}

Figure measureSMeter(UtilityOnPty& b) {
    return enterToEnd(b, SMeterRow, "S-meter", "Enter on \"   S-METER\" -> its end (step 0)",
                      SMeterRatio);
}

Figure measureTxfWrite(UtilityOnPty& b) {
    clsIndOp_RigK5& model = b.utility().door().model();
    BenchApp& app = b.app();
    // Following the temperature with the link idle: where TXF takes the item and an Enter.
    const auto following = [&] {
        return app
            .runUntil(
                [&] {
                    const int step = model.adjStepNow();
                    return !b.utility().door().seq().OpRunning() &&
                           (step == TxfFollow || step == TxfDecide);
                },
                ProcedureTimeoutMs)
            .has_value();
    };
    const std::string name = "TXF write (40 values)";
    const std::string what = "the second pass's Enter on \"       TXF\" -> TXF at its end (step 0)";
    b.settle(StepTimeoutMs);
    b.press(TxfRow, Qt::Key_Return);
    // First pass: the item 4 up, a second for TXF to follow it, Enter; TXF starts over.
    if (!app.runUntil([&] { return model.adjStepNow() != 0; }, StepTimeoutMs) || !following()) {
        return unmeasured(name, what, ProcedureRatio);
    }
    for (int i = 0; i < 4; ++i) {
        b.press(TxfRow, Qt::Key_Right);
    }
    app.runFor(1000);
    b.press(TxfRow, Qt::Key_Return);
    // Second pass: 5 up (Shift), a second, Enter: the whole curve, 40 values, then the end.
    if (!app.runUntil([&] { return model.adjStepNow() == TxfStart; }, ProcedureTimeoutMs) ||
        !following()) {
        return unmeasured(name, what, ProcedureRatio);
    }
    b.press(TxfRow, Qt::Key_Right, Qt::ShiftModifier);
    app.runFor(1000);
    const std::int64_t enter = b.press(TxfRow, Qt::Key_Return);
    const auto end = app.runUntil([&] { return model.adjStepNow() == 0; }, ProcedureTimeoutMs);
    return throughTheLine(b, name, what, enter, end, ProcedureRatio);
}

} // namespace vsk5bench
