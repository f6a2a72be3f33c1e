// SPDX-License-Identifier: GPL-3.0-or-later
// Locale-free number texts for SCPI commands.
#include "instruments/ScpiNumber.h"

#include <charconv>

namespace instruments {

std::string hertz(std::int64_t hz) {
    return std::to_string(hz);
}

std::string decibels(double dbm) {
    // std::to_chars never looks at the locale. Fixed notation with one decimal is how a level is
    // written; a number too long for it (no level a generator has) keeps its magnitude in the
    // shortest form, so that it is never taken for a small level when it is checked.
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, dbm, std::chars_format::fixed, 1);
    if (result.ec != std::errc()) {
        result = std::to_chars(text, text + sizeof text, dbm);
    }
    std::string out(text, result.ptr);
    return out == "-0.0" ? "0.0" : out;
}

} // namespace instruments
