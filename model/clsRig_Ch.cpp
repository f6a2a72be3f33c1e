// SPDX-License-Identifier: GPL-3.0-or-later
// Test channel record and the frequency conversions of the channel editor.
#include "model/clsRig_Ch.h"

#include "common/CommonRoutines.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

constexpr std::int32_t UnitsPerMHz = 100000; // 10 Hz units
constexpr std::int32_t BlockUnits = 2500;    // the 25 kHz block the grids repeat in
constexpr std::int64_t HighestMHz = 174;
constexpr std::size_t MaxTypedLength = 16;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Division rounded down and the matching non-negative remainder, so that a negative number
// (only ever a hand-edited settings value) still gives a well-formed result.
std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) {
        --q;
    }
    return q;
}
std::int64_t floorMod(std::int64_t a, std::int64_t b) {
    return a - floorDiv(a, b) * b;
}

// The grid point of divisor d nearest to r: the step is 2500 / d (a fraction); the point
// is cut to whole units after a small allowance, so 2 x 833.33 gives 1666.
std::int64_t gridCandidate(std::int64_t r, int d) {
    const double step = static_cast<double>(BlockUnits) / d;
    const std::int64_t n = roundHalfEven(static_cast<double>(r) / step);
    return static_cast<std::int64_t>(std::floor(static_cast<double>(n) * step + 0.05));
}

} // namespace

std::int16_t clsRig_Ch::FreqOpRef_Pure() const {
    return RangeI(0, 2, freqOpRefPure);
}

std::int16_t clsRig_Ch::RFPower_Pure() const {
    return appearCh ? RangeI(0, 2, rfPowerPure) : 0;
}

std::string clsRig_Ch::FreqOp_String() const {
    return Conv_Freq_LongToStr(FreqOp_Pure());
}

std::string clsRig_Ch::RFPower_String() const {
    return RFPower_Pure() == 0 ? "High" : "Low";
}

std::int16_t clsRig_Ch::Ref_FreqOp() const {
    const std::int16_t usable = UsableRefFreq(FreqOp_Pure());
    if ((usable & 1) != 0) {
        return 0;
    }
    if ((usable & 2) != 0) {
        return 1;
    }
    return 0;
}

std::string clsRig_Ch::Conv_Freq_LongToStr(std::int32_t freqL) {
    const std::int64_t mhz = floorDiv(freqL, UnitsPerMHz);
    const std::int64_t rest = floorMod(freqL, UnitsPerMHz);
    std::string decimals = std::to_string(rest);
    decimals = std::string(5 - decimals.size(), '0') + decimals;
    const std::int64_t last = floorMod(freqL, 10);
    const char third = last == 3 ? '3' : (last == 6 ? '7' : '0');
    // Stored frequencies stay within 136 to 174 MHz, so the field never cuts a digit.
    return rightField(std::to_string(mhz), 4) + "." + decimals + third;
}

std::int32_t clsRig_Ch::Conv_Freq_StrToLong(const std::string& str0) {
    std::size_t first = 0;
    std::size_t end = str0.size();
    while (first < end && isBlank(str0[first])) {
        ++first;
    }
    while (end > first && isBlank(str0[end - 1])) {
        --end;
    }
    std::string text = str0.substr(first, std::min(end - first, MaxTypedLength));
    text.erase(0, text.find_first_not_of('0') == std::string::npos ? text.size()
                                                                   : text.find_first_not_of('0'));

    std::string integerPart;
    std::string decimals;
    bool pointSeen = false;
    for (char c : text) {
        if (c == '.' && !pointSeen) {
            pointSeen = true;
        } else if (isDigit(c)) {
            (pointSeen ? decimals : integerPart) += c;
        } else {
            break; // letters, blanks and a second point end the number
        }
    }

    std::int64_t mhz = HighestMHz;
    if (integerPart.size() < 5) {
        mhz = integerPart.empty() ? 0 : std::min<std::int64_t>(std::stoll(integerPart), HighestMHz);
    }
    decimals.resize(6, '0');
    const std::int64_t hertz = std::stoll(decimals);

    std::int64_t value = mhz * UnitsPerMHz + roundHalfEven(static_cast<double>(hertz) / 10.0);
    value = AdjustFreq(static_cast<std::int32_t>(value));
    if (value < FreqLowest) {
        value = FreqLowest;
    }
    if (value > FreqHighest) {
        value = FreqHighest;
    }
    return static_cast<std::int32_t>(value);
}

std::int32_t clsRig_Ch::AdjustFreq(std::int32_t freqL) {
    const std::int64_t base = floorDiv(freqL, BlockUnits);
    const std::int64_t r = floorMod(freqL, BlockUnits);

    int bestDivisor = 0;
    std::int64_t bestDifference = 0;
    for (int d = 2; d <= 5; ++d) {
        const std::int64_t difference = std::llabs(gridCandidate(r, d) - r);
        // A later grid replaces an earlier one only when strictly nearer.
        if (bestDivisor == 0 || difference < bestDifference) {
            bestDivisor = d;
            bestDifference = difference;
        }
        if (difference == 0) {
            break;
        }
    }
    // A block's last grid point may be the next block's first (2500), which can pass the
    // largest 32-bit number for an input right below it.
    const std::int64_t snapped = base * BlockUnits + gridCandidate(r, bestDivisor);
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(snapped, std::numeric_limits<std::int32_t>::max()));
}

std::int16_t clsRig_Ch::UsableRefFreq(std::int32_t freqL) {
    std::int16_t bits = 0;
    if (freqL % 500 == 0) {
        bits |= 1;
    }
    if (freqL % 625 == 0) {
        bits |= 2;
    }
    return bits;
}

std::int16_t clsRig_Ch::RangeI(std::int16_t valMin, std::int16_t valMax, std::int16_t c) {
    if (c < valMin) {
        return valMin;
    }
    if (c > valMax) {
        return valMax;
    }
    return c;
}
