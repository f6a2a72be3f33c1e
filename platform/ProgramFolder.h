// SPDX-License-Identifier: GPL-3.0-or-later
// The folder of the program's own executable, where the settings file lives, and the data
// folder an installation puts beside it (<prefix>/bin and <prefix>/share/vsk5-aln).
#pragma once

#include <string>

namespace platform {

// The folder without a trailing separator (the caller appends exactly one).
std::string programFolder();

// The installed data folder, found from the program's folder, without a trailing separator.
// It need not exist: a program run from its build folder has none.
std::string installedDataFolder();

} // namespace platform
