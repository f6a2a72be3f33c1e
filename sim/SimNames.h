// SPDX-License-Identifier: GPL-3.0-or-later
// The names the simulated radio's trace lines give its adjustment commands and readout
// parameters, and the printf-style formatter of those lines.
//
//   commandName(17)   -> "BPF Low T1"
//   parameterName(2)  -> "SD"
#pragma once

#include <cstdio>
#include <string>

namespace vxk5sim {

// A trace line is short: 256 characters hold the longest with room to spare.
template <typename... Args> std::string format(const char* fmt, Args... args) {
    char buf[256];
    std::snprintf(buf, sizeof buf, fmt, args...);
    return buf;
}

std::string commandName(int command);
std::string parameterName(int parameter);

} // namespace vxk5sim
