// SPDX-License-Identifier: GPL-3.0-or-later
// The adjustment dump: every field of the VX-K5's adjustment area (0x7A8 to 0x7E7 of the
// memory image) and the temperature borders of the TXF table, one labelled line each. Every
// line is a 25-character label, a 4-character value and CR LF, 79 lines in all:
//
//   "           POW HI Level:  255\r\n"
//   "           REF Slant  0:   -1\r\n"
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TxfTable;
class clsCmcEeprom;

class clsIndEep_RigK5 {
  public:
    static constexpr int LineCount = 79;

    // The number right-aligned in four characters (only the last four when longer).
    static std::string RigEep_FormatUnsigned(std::int16_t value);
    // A byte read as its two's-complement value (above 127 minus 256), then as above.
    static std::string RigEep_FormatSigned(std::int16_t value);

    // A line of the dump: its 25-character label ("      BPF LOW T1 Level: ") and its value.
    struct DumpLine {
        std::string label;
        std::string value;
    };
    // The dump's lines, in order.
    static std::vector<DumpLine> RigEep_Lines(const clsCmcEeprom& eep, const TxfTable& table);
    // The whole dump text: each line's label and value, then CR LF.
    static std::string RigEep_Text(const clsCmcEeprom& eep, const TxfTable& table);

    // What the technician calls the byte at address: the title of its console item, else its
    // label in the dump, else its address ("Address 7ADh" for a byte neither shows).
    //   RigEep_CellName(0x7A9) -> "Power(Hi)"   RigEep_CellName(0x7C3) -> "REF Initial  3"
    static std::string RigEep_CellName(std::int32_t address);
    // A byte's value as the dump shows it, without the blanks: the slants signed.
    static std::string RigEep_CellValue(std::int32_t address, std::int16_t byte);
};
