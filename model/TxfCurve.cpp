// SPDX-License-Identifier: GPL-3.0-or-later
// The TXF curve.
#include "model/TxfCurve.h"

#include "common/CommonRoutines.h"
#include "model/TxfTable.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Largest whole number not above x, saturated instead of overflowing for huge or broken input.
std::int64_t wholeFloor(double x) {
    if (std::isnan(x)) {
        return 0;
    }
    constexpr double limit = 9.0e15;
    return static_cast<std::int64_t>(std::floor(std::clamp(x, -limit, limit)));
}

// Nearest whole number, ties to even, saturated the same way.
std::int64_t wholeRound(double x) {
    if (std::isnan(x)) {
        return 0;
    }
    constexpr double limit = 9.0e15;
    return roundHalfEven(std::clamp(x, -limit, limit));
}

std::int16_t clampTo(std::int64_t value, int low, int high) {
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(value, low, high));
}

} // namespace

TxfCurve TxfCurve::compute(std::int16_t start, std::int16_t second, const TxfTable& table,
                           std::int16_t area, std::int16_t t) {
    TxfCurve c;
    const auto border = [&](std::size_t n) {
        return table.RigOp_Table_Txf_TempBorder(static_cast<std::int16_t>(n));
    };
    const float d = static_cast<float>(second - start) / 10.0f;
    for (std::size_t i = 0; i < c.curve.size(); ++i) {
        c.curve[i] = static_cast<float>(start) - d * table.constant(static_cast<int>(i));
    }
    for (std::size_t i = 0; i < c.slope.size(); ++i) {
        const float span = static_cast<float>(border(i + 1) - border(i));
        c.slope[i] = (c.curve[i + 1] - c.curve[i]) / span * 32.0f;
    }
    const auto a = static_cast<std::size_t>(area);
    // The slope's whole part times the distance into the area; wide integers, so that a steep
    // curve cannot overflow where 16 bits would.
    const std::int64_t product = wholeRound(c.slope[a]) * (t - border(a));
    const float y =
        static_cast<float>(wholeFloor(c.curve[a] + 0.5f)) + static_cast<float>(product) / 32.0f;
    c.offset =
        clampTo(wholeRound(static_cast<double>(start - wholeFloor(y))),
                std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max());
    return c;
}

std::int16_t TxfCurve::writeValue(int n) const {
    if (n < static_cast<int>(curve.size()) - 1) {
        return clampTo(wholeFloor(curve[static_cast<std::size_t>(n)] + 0.5f) + offset, 0, 255);
    }
    return clampTo(wholeRound(slope[static_cast<std::size_t>(n - 20)]), -128, 127);
}
