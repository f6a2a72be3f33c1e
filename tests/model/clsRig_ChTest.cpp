// SPDX-License-Identifier: GPL-3.0-or-later
// Test channel record: what a typed frequency becomes, how a stored one is shown, the grid
// snapping, the reference selector and the power of a channel not in use.
#include "model/clsRig_Ch.h"

#include <gtest/gtest.h>

TEST(clsRig_ChTest, FrequencyTypedShownAndSnappedAndThePowerOfAHiddenChannel) {
    // Typed text, stored value, shown text, the reference selector that suits it.
    // clang-format off
    struct Case { const char* typed; std::int32_t stored; const char* shown; std::int16_t ref; };
    const Case cases[] = {
        {"145", 14500000, " 145.000000", 0},        {"145.0125", 14501250, " 145.012500", 1},
        {"0145.5", 14550000, " 145.500000", 0},     {"200", 17400000, " 174.000000", 0},
        {"100", 13600000, " 136.000000", 0},        {"12345.6", 17400000, " 174.000000", 0},
        {"abc", 13600000, " 136.000000", 0},        {"145.01x7", 14501000, " 145.010000", 0},
        {"145.0083", 14500833, " 145.008333", 0},   // 8.33 kHz grid: neither 5 nor 6.25 kHz
        {"145.01667", 14501666, " 145.016667", 0},  // the second third shows as 7
        {"145.00625", 14500625, " 145.006250", 1}}; // 6.25 kHz, not 5 kHz
    // clang-format on
    for (const Case& c : cases) {
        clsRig_Ch ch;
        ch.setFreqOp_Pure(clsRig_Ch::Conv_Freq_StrToLong(c.typed));
        EXPECT_EQ(ch.FreqOp_Pure(), c.stored) << c.typed;
        EXPECT_EQ(ch.FreqOp_String(), c.shown) << c.typed;
        EXPECT_EQ(ch.Ref_FreqOp(), c.ref) << c.typed;
    }
    // The nearest grid point in the 25 kHz block; on a tie (the last two) the first grid
    // tried, in the order 12.5, 8.33, 6.25 and 5 kHz, wins.
    // clang-format off
    const std::int32_t snaps[][2] = {{14500833, 14500833}, {14501667, 14501666},
        {14501250, 14501250}, {14501125, 14501250}, {14500729, 14500833}};
    // clang-format on
    for (const auto& s : snaps) {
        EXPECT_EQ(clsRig_Ch::AdjustFreq(s[0]), s[1]) << s[0];
    }
    clsRig_Ch ch; // a channel not in use reports high power whatever was stored
    ch.setRFPower_Pure(1);
    EXPECT_EQ(ch.RFPower_Pure(), 0);
    ch.setAppearCh(true);
    ch.setRFPower_Pure(9); // out of range in a hand-edited file
    EXPECT_EQ(ch.RFPower_Pure(), 2);
}
