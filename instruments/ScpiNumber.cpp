// SPDX-License-Identifier: GPL-3.0-or-later
// Locale-free number texts for SCPI commands.
#include "instruments/ScpiNumber.h"

#include <charconv>

namespace instruments {

std::string hertz(std::int64_t hz) {
    return std::to_string(hz);
}

std::string decibels(double dbm) {
    // std::to_chars never looks at the locale; 32 characters hold any double in fixed notation
    // with one decimal that a level can be (anything beyond is refused before it gets here).
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, dbm, std::chars_format::fixed, 1);
    if (result.ec != std::errc()) {
        return "0.0";
    }
    std::string out(text, result.ptr);
    return out == "-0.0" ? "0.0" : out;
}

} // namespace instruments
