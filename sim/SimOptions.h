// SPDX-License-Identifier: GPL-3.0-or-later
// Command line of the vxk5-sim tool: every fault knob and circuit setting of SimConfig, the
// pacing switch and the optional link path. Parsing is kept apart from the tool so that the
// option table can be tested without a pseudo-terminal.
#pragma once

#include "sim/SimConfig.h"

#include <string>
#include <vector>

namespace vxk5sim {

struct SimOptions {
    SimConfig config;     // pacing is on unless --no-pace is given
    std::string linkPath; // --link PATH: a symlink to the pseudo-terminal, empty for none
    bool help = false;    // --help: print the usage and stop
    bool quiet = false;   // --quiet: no trace lines, only the device path
    std::string error;    // why the command line was refused; empty when it was accepted
};

// Parses the arguments after the program name.
SimOptions parseSimOptions(const std::vector<std::string>& args);

// The usage text listing every option.
std::string simUsage(const std::string& program);

} // namespace vxk5sim
