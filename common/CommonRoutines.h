// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions between hexadecimal text, ASCII-hexadecimal text and byte sequences that the
// clone frames and the E8 commands are built from, the fixed-width fields of the texts the
// technician reads, and the one rounding rule of the program. None of them holds state.
//
//   HexToByteStr("E0 7351")   -> E0 73 51
//   ByteStrToHex({0x73,0x51}) -> "7351"
//   IntToAsciiHex2(0x1A)      -> "3141"   (the character codes of "1A")
//   IntToHex2(-1)             -> "FF"
#pragma once

#include "platform/Bytes.h"

#include <cstdint>
#include <optional>
#include <string>

// Every backslash-n pair becomes CR LF.
std::string ConvNewLine(const std::string& text);

// The value of one hexadecimal digit character (either case), or -1 for any other character.
int hexDigitValue(char c);

// One byte per character.
Bytes StrToByteStr(const std::string& text);

// The bytes read as hexadecimal digit characters, up to the first non-digit; four digits
// from 8000 to FFFF read as a negative 16-bit number.
std::int16_t HexAsciiToInt(const Bytes& bytes);

// Pairs of hexadecimal digits to bytes; blanks between pairs are skipped, a lone last digit
// is ignored, a pair that does not start with a digit gives 0.
Bytes HexToByteStr(const std::string& text);

// Two upper-case hexadecimal digits per byte.
std::string ByteStrToHex(const Bytes& bytes);

// The low byte of n as two hexadecimal digits, each given by its character code (4 digits).
std::string IntToAsciiHex2(int n);

// The low byte of n as two upper-case hexadecimal digits.
std::string IntToHex2(int n);

// The text of a live command to the radio: the command's number as two hexadecimal digits,
// then its value's two digits as character codes (liveCommandText(0x12, 0xC9) == "124339").
std::string liveCommandText(int command, int value);

// The last `width` characters of `width` blanks followed by text: the text right-aligned in a
// fixed field, a longer one cut from the left (rightField("7", 4) == "   7",
// rightField("-1000", 4) == "1000").
std::string rightField(const std::string& text, std::size_t width);

// A message's first line: the text up to its first CR LF (all of it when it has none).
std::string firstLine(const std::string& text);

// The text without the blanks at either end.
std::string trimBlanks(const std::string& text);

// A number written "&H" and hexadecimal digits (either case), as settings and constants files
// may hold it: the value of the leading digits (up to 8) and how many characters of text they
// and the "&H" take; nothing when text does not start with "&H" and a digit.
struct AmpersandHex {
    std::uint32_t value;
    std::size_t length;
};
std::optional<AmpersandHex> ampersandHex(const std::string& text);

// A number of at least two digits, a "0" before one below 10 ("07", "12"): channel numbers
// as the technician sees them.
std::string twoDigits(int n);

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
std::int64_t roundHalfEven(double value);
