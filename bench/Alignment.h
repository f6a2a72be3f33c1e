// SPDX-License-Identifier: GPL-3.0-or-later
// The unattended alignment timed: vsk5-aln-cli's composition root running `align` (the real
// QtSerialControl, the 50 ms QTimer, the system clock) against the paced simulated radio on a
// pseudo-terminal and the simulated signal generator on a local TCP port, from the start to the
// end of the verifying read, beside its floor:
//
//   the line's frames, their answers and the waits the model asked for (CriticalPath.h), with
//   the settle time of each step that sets the generator as one more wait: it runs from the
//   last byte before the step's first frame, and overlaps a wait of the model's there.
//
// The full run takes the sample plan (vx-k5-sim.plan: three sweeps, the S-meter, TXF with its
// full write, DTCS start and stop); the quick run a short plan (the S-meter, DTCS start and
// stop), both with two Connects, the first and the verifying one.
#pragma once

#include "bench/Figure.h"

namespace vsk5bench {

class BenchApp;

Figure measureAlignment(BenchApp& app, bool quick);

} // namespace vsk5bench
