// Test channel record: what a typed frequency becomes, how a stored one is shown, the grid
// snapping, the reference selector and the clamped getters.
#include "model/clsRig_Ch.h"

#include <gtest/gtest.h>

namespace {

struct TypedCase {
    const char* typed;
    std::int32_t stored;
};

class TypedFrequencyTest : public ::testing::TestWithParam<TypedCase> {};

TEST_P(TypedFrequencyTest, ParsesSnapsAndLimits) {
    EXPECT_EQ(clsRig_Ch::Conv_Freq_StrToLong(GetParam().typed), GetParam().stored)
        << "typed \"" << GetParam().typed << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Typed, TypedFrequencyTest,
    ::testing::Values(TypedCase{"145", 14500000}, TypedCase{"145.0125", 14501250},
                      TypedCase{"0145.5", 14550000},    // leading zeros ignored
                      TypedCase{"  145.5  ", 14550000}, // blanks at both ends
                      TypedCase{"200", 17400000},       // above the band
                      TypedCase{"100", 13600000},       // below the band
                      TypedCase{"12345.6", 17400000},   // five digits: 174 MHz part
                      TypedCase{"abc", 13600000},       // letters only
                      TypedCase{"", 13600000}, TypedCase{"145.0083", 14500833}, // 8.33 kHz grid
                      TypedCase{"145.01667", 14501666},   // second third of the block
                      TypedCase{"145.01x7", 14501000},    // stops at the letter
                      TypedCase{"145.5.5", 14550000},     // a second point ends the number
                      TypedCase{"145.00625", 14500625},   // 6.25 kHz grid
                      TypedCase{"145.0000049", 14500000}, // only six decimals are read
                      TypedCase{"173.9999999", 17400000}, // rounds up into 174 MHz
                      // At most 16 characters are read, before the leading zeros go: 16
                      // characters still hold 145, 17 leave 14 (below the band).
                      TypedCase{"0000000000000145", 14500000},
                      TypedCase{"00000000000000145", 13600000},
                      TypedCase{"146 .5", 14600000})); // the blank ends the number

struct ShownCase {
    std::int32_t stored;
    const char* shown;
};

class FrequencyTextTest : public ::testing::TestWithParam<ShownCase> {};

TEST_P(FrequencyTextTest, SixDecimalsRightAligned) {
    EXPECT_EQ(clsRig_Ch::Conv_Freq_LongToStr(GetParam().stored), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Stored, FrequencyTextTest,
    ::testing::Values(ShownCase{14500000, " 145.000000"}, ShownCase{11800833, " 118.008333"},
                      ShownCase{11801666, " 118.016667"}, ShownCase{14500833, " 145.008333"},
                      ShownCase{14501250, " 145.012500"}, ShownCase{14500625, " 145.006250"},
                      ShownCase{0, "   0.000000"}, ShownCase{99999, "   0.999990"},
                      ShownCase{123456789, "1234.567890"}));

TEST(clsRig_ChTest, TypedFrequencyShowsAgainAsSnapped) {
    clsRig_Ch ch;
    ch.setFreqOp_Pure(clsRig_Ch::Conv_Freq_StrToLong("145.0083"));
    EXPECT_EQ(ch.FreqOp_String(), " 145.008333");
    // Typing what is shown gives the same channel back.
    EXPECT_EQ(clsRig_Ch::Conv_Freq_StrToLong(ch.FreqOp_String()), ch.FreqOp_Pure());
}

struct SnapCase {
    std::int32_t in;
    std::int32_t out;
};

class AdjustFreqTest : public ::testing::TestWithParam<SnapCase> {};

TEST_P(AdjustFreqTest, NearestGridPointInTheBlock) {
    EXPECT_EQ(clsRig_Ch::AdjustFreq(GetParam().in), GetParam().out) << GetParam().in;
}

INSTANTIATE_TEST_SUITE_P(
    Snaps, AdjustFreqTest,
    ::testing::Values(SnapCase{14500833, 14500833}, // on the 8.33 kHz grid
                      SnapCase{14501667, 14501666}, // 2 x 833.33 cut to whole units
                      SnapCase{14501250, 14501250}, // 12.5 kHz
                      SnapCase{14500625, 14500625}, // 6.25 kHz
                      SnapCase{14501000, 14501000}, // 5 kHz
                      SnapCase{14500001, 14500000},
                      SnapCase{14502499, 14502500}, // into the next block
                      SnapCase{14502083, 14502000},
                      // Ties between grids: the first grid tried (12.5, then 8.33, 6.25, 5 kHz)
                      // keeps the place. At 1125 the 12.5 kHz point 1250 and the 5 kHz point
                      // 1000 are both 125 away; at 729 the 8.33 kHz point 833 and the 6.25 kHz
                      // point 625 are both 104 away.
                      SnapCase{14501125, 14501250}, SnapCase{14500729, 14500833},
                      SnapCase{14501375, 14501250}, SnapCase{14501583, 14501666},
                      SnapCase{14502250, 14502500}));

TEST(clsRig_ChTest, UsableReferenceBits) {
    EXPECT_EQ(clsRig_Ch::UsableRefFreq(14500000), 3); // 5 and 6.25 kHz
    EXPECT_EQ(clsRig_Ch::UsableRefFreq(14500500), 1); // 5 kHz only
    EXPECT_EQ(clsRig_Ch::UsableRefFreq(14500625), 2); // 6.25 kHz only
    EXPECT_EQ(clsRig_Ch::UsableRefFreq(14500833), 0);
}

struct RefCase {
    std::int32_t freq;
    std::int16_t ref;
};

class RefFreqOpTest : public ::testing::TestWithParam<RefCase> {};

TEST_P(RefFreqOpTest, SelectorFollowsFrequency) {
    clsRig_Ch ch;
    ch.setFreqOp_Pure(GetParam().freq);
    EXPECT_EQ(ch.Ref_FreqOp(), GetParam().ref) << GetParam().freq;
}

INSTANTIATE_TEST_SUITE_P(Frequencies, RefFreqOpTest,
                         ::testing::Values(RefCase{14500000, 0}, // 5 kHz grid
                                           RefCase{14500625, 1}, // 6.25 kHz, not 5 kHz
                                           RefCase{14500833, 0}, // neither
                                           RefCase{14501250, 1}, RefCase{14500500, 0},
                                           RefCase{14501875, 1}));

TEST(clsRig_ChTest, GettersClampStoredValues) {
    clsRig_Ch ch;
    EXPECT_FALSE(ch.AppearCh());
    EXPECT_EQ(ch.FreqOp_Pure(), 0);

    ch.setFreqOpRef_Pure(7);
    EXPECT_EQ(ch.FreqOpRef_Pure(), 2);
    ch.setFreqOpRef_Pure(-3);
    EXPECT_EQ(ch.FreqOpRef_Pure(), 0);

    // A channel not in use reports high power whatever was stored.
    ch.setRFPower_Pure(1);
    EXPECT_EQ(ch.RFPower_Pure(), 0);
    EXPECT_EQ(ch.RFPower_String(), "High");

    ch.setAppearCh(true);
    EXPECT_EQ(ch.RFPower_Pure(), 1);
    EXPECT_EQ(ch.RFPower_String(), "Low");
    ch.setRFPower_Pure(9);
    EXPECT_EQ(ch.RFPower_Pure(), 2);
    EXPECT_EQ(ch.RFPower_String(), "Low");
    ch.setRFPower_Pure(-1);
    EXPECT_EQ(ch.RFPower_Pure(), 0);
    EXPECT_EQ(ch.RFPower_String(), "High");
}

TEST(clsRig_ChTest, RangeIKeepsWithinBounds) {
    EXPECT_EQ(clsRig_Ch::RangeI(0, 2, -1), 0);
    EXPECT_EQ(clsRig_Ch::RangeI(0, 2, 1), 1);
    EXPECT_EQ(clsRig_Ch::RangeI(0, 2, 3), 2);
    EXPECT_EQ(clsRig_Ch::RangeI(-5, 5, -32768), -5);
}

} // namespace
