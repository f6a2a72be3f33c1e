// SPDX-License-Identifier: GPL-3.0-or-later
// The floor: the frames of a piece of work replayed on an ideal line.
#include "bench/CriticalPath.h"

#include "bench/Clock.h"

#include <algorithm>
#include <cstdio>

namespace vsk5bench {

std::string PathFloor::describe() const {
    char text[160];
    std::snprintf(text, sizeof text, "%d frames (%ld B) + %d answers (%ld B)", frames, sentBytes,
                  answers, answerBytes);
    std::string line = text;
    int count = 0;
    std::string lengths;
    for (auto w = waits.rbegin(); w != waits.rend(); ++w) {
        count += w->second;
        lengths += (lengths.empty() ? "" : ", ") + std::to_string(w->second) + " x " +
                   std::to_string(w->first);
    }
    if (count > 0) {
        std::snprintf(text, sizeof text, " ms (%.0f ms on the path)", waitCountedMs);
        line += ", " + std::to_string(count) + " waits: " + lengths + text;
    }
    return line;
}

PathFloor criticalPath(const LineLog& log, const std::vector<const ComputerFrame*>& frames,
                       double turnaroundMs) {
    PathFloor floor;
    double lineFree = 0; // ms from the start: the line has carried everything so far
    double waitOver = 0; // ms from the start: the last wait asked for is over
    for (const ComputerFrame* f : frames) {
        const double start = std::max(lineFree, waitOver);
        floor.waitCountedMs += start - lineFree;
        const double end = start + static_cast<double>(f->bytes.size()) * ByteMs;
        lineFree = end;
        ++floor.frames;
        floor.sentBytes += static_cast<long>(f->bytes.size());
        for (std::size_t i : f->answers) {
            const RadioFrame& a = log.radioFrames()[i];
            lineFree += turnaroundMs + static_cast<double>(a.bytes.size()) * ByteMs;
            ++floor.answers;
            floor.answerBytes += static_cast<long>(a.bytes.size());
        }
        if (f->waitMs > 0) {
            waitOver = end + f->waitMs;
            ++floor.waits[f->waitMs];
        }
    }
    floor.ms = lineFree;
    return floor;
}

} // namespace vsk5bench

namespace vsk5bench {

namespace {

constexpr double ClockGrainMs = 1.0;

} // namespace

std::string WaitShortfall::describe() const {
    if (cutShort == 0) {
        return {};
    }
    char text[160];
    std::snprintf(text, sizeof text,
                  "%d of %d waits ended early at the radio, by up to %.1f ms (%.1f ms in all)",
                  cutShort, waits, worstMs, totalMs);
    return text;
}

WaitShortfall waitsAtTheRadio(const LineLog& log, const std::vector<const ComputerFrame*>& frames) {
    WaitShortfall shortfall;
    const std::vector<ComputerFrame>& all = log.computerFrames();
    for (const ComputerFrame* f : frames) {
        const auto next = static_cast<std::size_t>(f - all.data()) + 1;
        if (f->waitMs <= 0 || next >= all.size()) {
            continue;
        }
        ++shortfall.waits;
        const double waited = msBetween(f->lineEndNs, all[next].lineStartNs);
        const double lacking = f->waitMs - waited;
        if (lacking > ClockGrainMs) {
            ++shortfall.cutShort;
            shortfall.worstMs = std::max(shortfall.worstMs, lacking);
            shortfall.totalMs += lacking;
        }
    }
    return shortfall;
}

} // namespace vsk5bench
