// SPDX-License-Identifier: GPL-3.0-or-later
// The bench's instruments in the settings file, section INSTRUMENTS, read and written the same
// way by the window and the command line:
//
//   Generator=TCPIP::127.0.0.1::5025::SOCKET   GeneratorProfile=   SettleTime=300
//   MaximumLevel=-20.0   Plan=/home/bench/vx-k5.plan
//
// A value that is missing, is no number or lies outside what a bench can mean comes back as
// its default, so a hand-edited file never lets a higher level through than the default.
#pragma once

#include "instruments/BenchGenerator.h"

#include <string>

class clsCmcProfileIO;

struct BenchSettings {
    static constexpr int DefaultSettleMs = 300;

    instruments::GeneratorSetup generator;
    int settleMs = DefaultSettleMs; // after the generator's settings, before the procedure
    std::string plan;               // the alignment plan opened last
};

namespace bench_settings {

BenchSettings load(clsCmcProfileIO& profile);
// False when the file could not be written.
bool save(clsCmcProfileIO& profile, const BenchSettings& settings);

} // namespace bench_settings
