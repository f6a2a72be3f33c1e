// SPDX-License-Identifier: GPL-3.0-or-later
// The table behind the reference oscillator's temperature compensation (TXF): the 21
// temperature borders that bound its 20 areas, on the scale of the temperature sensor's raw
// reading (0 to 255), and the 21 model constants read from "Const.ini", one per border.
//
//   VS-K5 ALN Rev.1.0      <- line 1 must be the product and revision, blanks around ignored
//   -9.5                   <- constant 0 (border 0)
//   ...                    <- 21 constants in all, lines 2 to 22; later lines do not matter
//
//   area(15) == 0, area(16) == 1, area(255) == 19
#pragma once

#include "model/MemoryMap.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

class TxfTable {
  public:
    static constexpr int BorderCount = 21;                        // borders 0 to 20
    static constexpr int AreaCount = MemoryMap::TemperatureAreas; // area n: borders n, n + 1

    TxfTable();

    // Reads the constants file; true when it names this product and holds 21 constants. A
    // file refused at its first line changes nothing; one that ends early or holds a line that
    // is not a finite number keeps the constants read before it.
    bool readConstantsFrom(const std::string& fileName);

    // Border 0 to 20; index 21 reads 0 (the table has room for it, nothing fills it); any
    // other index throws std::out_of_range.
    std::int16_t RigOp_Table_Txf_TempBorder(std::int16_t Index) const;
    // The area of a temperature reading: the first whose upper border lies above it.
    std::int16_t area(std::int16_t reading) const;
    float constant(int border) const { return constants.at(static_cast<std::size_t>(border)); }

    // A constant as the file writes it: blanks ignored anywhere, an optional sign, digits with
    // one point and an exponent, or "&H" and hexadecimal digits; a line without a number reads
    // 0. Nothing for a value beyond single precision or a line that reads as infinity or
    // not-a-number ("inf", "-Infinity", "NaN").
    static std::optional<float> constantValue(const std::string& line);

  private:
    std::array<std::int16_t, BorderCount + 1> borders{};
    std::array<float, BorderCount + 1> constants{};
};
