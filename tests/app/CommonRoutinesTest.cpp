// The conversions that every clone frame and E8 text is built from.
#include "app/common/CommonRoutines.h"
#include "tests/support/MessageRecorder.h"

#include <gtest/gtest.h>

namespace {

struct HexToBytesCase {
    std::string text;
    Bytes bytes;
};

class HexToByteStrTest : public ::testing::TestWithParam<HexToBytesCase> {};

TEST_P(HexToByteStrTest, ConvertsPairs) { EXPECT_EQ(HexToByteStr(GetParam().text), GetParam().bytes); }

INSTANTIATE_TEST_SUITE_P(
    Cases, HexToByteStrTest,
    ::testing::Values(HexToBytesCase{"E07351", {0xE0, 0x73, 0x51}},
                      HexToBytesCase{"E0735", {0xE0, 0x73}}, // a lone last digit is ignored
                      HexToBytesCase{"", {}}, HexToBytesCase{"FE FE", {0xFE, 0xFE}},
                      HexToBytesCase{"  0c 3830", {0x0C, 0x38, 0x30}},
                      HexToBytesCase{"G5", {0x00}},  // a pair not starting with a digit is 0
                      HexToBytesCase{"5G", {0x05}},  // reading stops at the first non-digit
                      HexToBytesCase{"ff00", {0xFF, 0x00}}));

struct AsciiHexCase {
    std::string chars;
    std::int16_t value;
};

class HexAsciiToIntTest : public ::testing::TestWithParam<AsciiHexCase> {};

TEST_P(HexAsciiToIntTest, ReadsDigitCharacters) {
    EXPECT_EQ(HexAsciiToInt(StrToByteStr(GetParam().chars)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Cases, HexAsciiToIntTest,
                         ::testing::Values(AsciiHexCase{"07F0", 2032}, AsciiHexCase{"", 0},
                                           AsciiHexCase{"XY", 0}, AsciiHexCase{"1z9", 1},
                                           AsciiHexCase{"7FFF", 32767},
                                           AsciiHexCase{"8000", -32768},
                                           AsciiHexCase{"FFFF", -1}, AsciiHexCase{"ab", 171}));

struct IntHexCase {
    int n;
    std::string hex2;
    std::string asciiHex2;
};

class IntToHexTest : public ::testing::TestWithParam<IntHexCase> {};

TEST_P(IntToHexTest, LowByteInTwoDigits) {
    EXPECT_EQ(IntToHex2(GetParam().n), GetParam().hex2);
    EXPECT_EQ(IntToAsciiHex2(GetParam().n), GetParam().asciiHex2);
}

INSTANTIATE_TEST_SUITE_P(Cases, IntToHexTest,
                         ::testing::Values(IntHexCase{1, "01", "3031"},
                                           IntHexCase{0x1A, "1A", "3141"},
                                           IntHexCase{255, "FF", "4646"},
                                           IntHexCase{5, "05", "3035"},
                                           IntHexCase{0x12C, "2C", "3243"},
                                           IntHexCase{-1, "FF", "4646"},
                                           IntHexCase{-128, "80", "3830"}));

} // namespace

TEST(CommonRoutinesTest, ByteStrToHexWritesUpperCasePairs) {
    EXPECT_EQ(ByteStrToHex({0x73, 0x51}), "7351");
    EXPECT_EQ(ByteStrToHex({0x00, 0x0A, 0xFF}), "000AFF");
    EXPECT_EQ(ByteStrToHex({}), "");
    EXPECT_EQ(StrToByteStr("Vexo"), (Bytes{0x56, 0x65, 0x78, 0x6F}));
}

TEST(CommonRoutinesTest, ConvNewLineTurnsBackslashNIntoCrLf) {
    EXPECT_EQ(ConvNewLine("a\\nb\\n"), "a\r\nb\r\n");
    EXPECT_EQ(ConvNewLine("plain"), "plain");
    EXPECT_EQ(ConvNewLine("ends in \\"), "ends in \\");
    EXPECT_EQ(ConvNewLine("\\\\n"), "\\\r\n");
}

TEST(CommonRoutinesTest, RoundingTakesHalvesToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(10.04), 10);
    EXPECT_EQ(roundHalfEven(7.5), 8);
    EXPECT_EQ(roundHalfEven(-0.6), -1);
}

TEST(CommonRoutinesTest, MsgBoxProductShowsWarningWithProductTitle) {
    testsupport::MessageRecorder recorder;
    EXPECT_EQ(MsgBoxProduct("Cannot read 'Const.ini'.\\nSecond"), 1);
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].title, "VS-K5 ALN Rev.1.0");
    EXPECT_EQ(recorder.messages()[0].text, "Cannot read 'Const.ini'.\r\nSecond");
}
