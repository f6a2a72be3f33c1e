// SPDX-License-Identifier: GPL-3.0-or-later
// The timed pieces of a technician's work, driven as a technician drives them (a click on
// Connect, keys on the console list) and each set beside its floor (CriticalPath.h):
//
//   Connect          click -> console loaded (edit enabled), and -> the last value through
//   key step         Right on "   Power(Hi)" -> its frame's last byte at the radio
//   band-pass sweep  Enter on "BPF Low ALL " -> the procedure back at step 0
//   S-meter          Enter on "   S-METER" -> step 0
//   TXF write        the second pass's Enter -> step 0 (the write of all 40 values)
//
// A piece that did not get to its end in a generous time comes back unmeasured; the bench
// goes on with the next.
#pragma once

#include "bench/Figure.h"

#include <vector>

namespace vsk5bench {

class UtilityOnPty;

// Both Connect figures; the utility is connected afterwards (when it could be).
std::vector<Figure> measureConnect(UtilityOnPty& bench);
// The median and the worst of `count` key steps, each after the last one's wait.
std::vector<Figure> measureKeySteps(UtilityOnPty& bench, int count);
Figure measureSweep(UtilityOnPty& bench);
Figure measureSMeter(UtilityOnPty& bench);
Figure measureTxfWrite(UtilityOnPty& bench);

} // namespace vsk5bench
