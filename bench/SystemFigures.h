// SPDX-License-Identifier: GPL-3.0-or-later
// The figures that are not about the line: the processor time the connected utility takes
// while nobody works, the memory it holds, and the time its settings take to save.
#pragma once

#include "bench/Figure.h"

namespace vsk5bench {

class UtilityOnPty;

// Processor time of this process (user and system, getrusage) over wall time while the event
// loop runs for `seconds` with nothing to do but the utility's own ticks, in % of one core.
// The line must be quiet before and stay so: the frames that crossed it meanwhile are noted.
Figure measureIdleCpu(UtilityOnPty& bench, int seconds);
// VmRSS of this process (/proc/self/status): the utility, connected, after every procedure,
// with the simulated radio and the bench's log beside it; its peak (VmHWM) in the notes.
Figure measureResidentMemory();
// The settings file grown to about `bytes` with sections and keys of no concern to the
// utility, then the real save path timed: Utility::shutDown() (a running procedure left, the
// port closed, frmMain::saveData). The utility is closed afterwards.
Figure measureSettingsSave(UtilityOnPty& bench, long bytes);

} // namespace vsk5bench
