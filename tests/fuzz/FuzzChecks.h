// SPDX-License-Identifier: GPL-3.0-or-later
// What every fuzz target shares: a promise that breaks is said on stderr and crashes the target,
// so that libFuzzer keeps the input that broke it; and a scratch folder for targets that read
// their input from a file.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <stdlib.h>
#include <string>

namespace fuzzcheck {

inline void require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// A file of this name in the run's scratch folder, made at the first call.
inline std::string scratchFile(const std::string& name) {
    static const std::string folder = [] {
        char made[] = "/tmp/vsk5-fuzz-XXXXXX";
        require(mkdtemp(made) != nullptr, "no scratch folder");
        return std::string(made);
    }();
    return folder + "/" + name;
}

} // namespace fuzzcheck
