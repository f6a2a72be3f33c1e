// SPDX-License-Identifier: GPL-3.0-or-later
// The conversions that every clone frame and E8 text is built from, the message texts' line
// ends and the rounding rule.
#include "common/CommonRoutines.h"

#include <gtest/gtest.h>

TEST(CommonRoutinesTest, HexToByteStrConvertsPairs) {
    // clang-format off
    const std::pair<std::string, Bytes> cases[] = {
        {"E07351", {0xE0, 0x73, 0x51}}, {"E0735", {0xE0, 0x73}}, /* lone digit ignored */ {"", {}},
        {"FE FE", {0xFE, 0xFE}}, {"  0c 3830", {0x0C, 0x38, 0x30}}, {"ff00", {0xFF, 0x00}},
        {"G5", {0x00}}, // a pair not starting with a digit is 0
        {"5G", {0x05}}}; // reading stops at the first non-digit
    // clang-format on
    for (const auto& [text, bytes] : cases) {
        EXPECT_EQ(HexToByteStr(text), bytes) << text;
    }
}

TEST(CommonRoutinesTest, HexAsciiToIntReadsDigitCharacters) {
    // clang-format off
    const std::pair<std::string, std::int16_t> cases[] = {{"07F0", 2032}, {"", 0}, {"XY", 0},
        {"1z9", 1}, {"7FFF", 32767}, {"8000", -32768}, {"FFFF", -1}, {"ab", 171}};
    // clang-format on
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(HexAsciiToInt(StrToByteStr(text)), value) << text;
    }
}

TEST(CommonRoutinesTest, IntToHexWritesTheLowByteInTwoDigits) {
    // clang-format off
    struct Case { int n; std::string hex2, asciiHex2; } const cases[] = {{1, "01", "3031"},
        {0x1A, "1A", "3141"}, {255, "FF", "4646"}, {5, "05", "3035"}, {0x12C, "2C", "3243"},
        {-1, "FF", "4646"}, {-128, "80", "3830"}};
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(IntToHex2(c.n), c.hex2) << c.n;
        EXPECT_EQ(IntToAsciiHex2(c.n), c.asciiHex2) << c.n;
    }
}

TEST(CommonRoutinesTest, NewLinesAndRounding) {
    EXPECT_EQ(ConvNewLine("a\\nb\\n"), "a\r\nb\r\n");
    EXPECT_EQ(ConvNewLine("ends in \\"), "ends in \\");
    EXPECT_EQ(ConvNewLine("\\\\n"), "\\\r\n");
    EXPECT_EQ(roundHalfEven(2.5), 2); // halves go to the even neighbour
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
}
