// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of a piece of work: how long it would take if the program itself took no time at
// all, from the frames that really crossed the line while it ran. The frames are laid end to
// end on an ideal line, starting at the moment the work was asked for:
//
//   - a frame of n bytes takes n x 1.0417 ms (9600 bit/s, 10 bits a byte); its echo comes back
//     while it is being sent, so the echo adds nothing;
//   - an answer of the radio follows its frame after the radio's turnaround (2 ms) and takes
//     its own bytes' time; a clone read's 129 answer frames each have their turnaround, as the
//     radio sends them;
//   - a wait the model asked for after a live command runs from that command's last byte (its
//     echo in), and the next frame starts when both the line is free and the wait is over: a
//     wait that overlaps a frame or an answer counts once, the longer of the two.
//
// The floor ends with the last byte of the last frame or answer of the work. A wait after the
// last frame is no part of it: nothing the program does for this work comes after it.
//
//   E8 "0C4339" (13 bytes) and its 200 ms wait, then E8 "0B3438" (13 bytes):
//   floor = 13.54 + 200 + 13.54 = 227.1 ms
#pragma once

#include "bench/LineLog.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vsk5bench {

struct PathFloor {
    double ms = 0;
    int frames = 0;
    int answers = 0;
    long sentBytes = 0;
    long answerBytes = 0;
    std::map<std::int32_t, int> waits; // how many of each length (ms) were asked for
    double waitCountedMs = 0;          // the part of them the next frame had to wait for

    // "34 frames (450 B) + 146 answers (6121 B), 14 waits: 14 x 200 ms (2600 ms on the path)"
    std::string describe() const;
};

// The floor of these frames (in the order sent), counted from the moment the work was asked for.
PathFloor criticalPath(const LineLog& log, const std::vector<const ComputerFrame*>& frames,
                       double turnaroundMs);

// Waits that ended before their time at the radio: the next frame began to cross the line
// less than the wait after the command's last byte had reached the radio. A millisecond is
// allowed for the program's clock, which counts whole milliseconds.
struct WaitShortfall {
    int waits = 0; // with a wait asked for after them
    int cutShort = 0;
    double worstMs = 0; // the most one of them lacked
    double totalMs = 0;

    // "3 of 127 waits ended early at the radio, by up to 41.2 ms (98.0 ms in all)"; empty
    // when none did.
    std::string describe() const;
};
WaitShortfall waitsAtTheRadio(const LineLog& log, const std::vector<const ComputerFrame*>& frames);

} // namespace vsk5bench
