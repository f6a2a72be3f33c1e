// SPDX-License-Identifier: GPL-3.0-or-later
// The arithmetic of the TXF full write, in single precision as the radio's table was designed
// around: from the setting at the first Enter (start) and at the second (second), a reference
// curve over the 21 temperature borders, spread by the model constants; the slopes of the 20
// areas between them; and the offset that makes the curve pass through the start value at the
// temperature measured now.
//
//   start 100, second 110, every constant 0  ->  the curve is flat at 100, every slope 0,
//   offset 0: REF Initial 0..19 = 100, REF Slant 0..19 = 0
#pragma once

#include "model/TxfTable.h"

#include <array>
#include <cstdint>

struct TxfCurve {
    std::array<float, TxfTable::BorderCount> curve{};
    std::array<float, TxfTable::AreaCount> slope{};
    std::int16_t offset = 0;

    // Worked out for the temperature reading t, which lies in `area`.
    static TxfCurve compute(std::int16_t start, std::int16_t second, const TxfTable& table,
                            std::int16_t area, std::int16_t t);

    // Value n (0 to 39) of the full write: REF Initial of area n (0 to 255) for n below 20,
    // else REF Slant of area n - 20 (-128 to 127).
    std::int16_t writeValue(int n) const;
};
