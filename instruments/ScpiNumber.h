// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers as instruments read them: whatever the program's locale, a dot before the decimals
// and no group separators.
#pragma once

#include <cstdint>
#include <string>

namespace instruments {

// 145525000 -> "145525000"
std::string hertz(std::int64_t hz);
// -30 -> "-30.0", -27.25 -> "-27.2" (one decimal, halves to even as the library rounds them)
std::string decibels(double dbm);

} // namespace instruments
