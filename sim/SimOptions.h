// SPDX-License-Identifier: GPL-3.0-or-later
// Command line of the vxk5-sim tool: every fault knob and circuit setting of SimConfig, the
// pacing switch, the optional link path and the simulated signal generator. Parsing is kept apart
// from the tool so that the option table can be tested without a pseudo-terminal.
#pragma once

#include "sim/SimConfig.h"
#include "sim/SimGenerator.h"

#include <string>
#include <vector>

namespace vxk5sim {

struct SimOptions {
    SimConfig config;     // pacing is on unless --no-pace is given
    std::string linkPath; // --link PATH: a symlink to the pseudo-terminal, empty for none
    bool help = false;    // --help: print the usage and stop
    bool quiet = false;   // --quiet: no trace lines, only the device path
    std::string error;    // why the command line was refused; empty when it was accepted
    // --generator HOST:PORT: a simulated signal generator on this TCP address, the radio's
    // detector following it; --generator-pty PATH: the same generator on a pseudo-terminal
    // linked at PATH. Empty for none.
    std::string generatorHost;
    int generatorPort = 0;
    std::string generatorPty;
    GeneratorFaults generatorFaults;
    bool hasGenerator() const { return !generatorHost.empty() || !generatorPty.empty(); }
};

// Parses the arguments after the program name.
SimOptions parseSimOptions(const std::vector<std::string>& args);

// The usage text listing every option.
std::string simUsage(const std::string& program);

} // namespace vxk5sim
