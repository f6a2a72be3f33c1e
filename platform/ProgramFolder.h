// The folder of the program's own executable, where the settings file lives.
#pragma once

#include <string>

namespace platform {

// The folder without a trailing separator (the caller appends exactly one).
std::string programFolder();

} // namespace platform
