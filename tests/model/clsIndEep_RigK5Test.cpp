// SPDX-License-Identifier: GPL-3.0-or-later
// The values of the adjustment dump where a radio's dump seldom goes: a slant at either end of
// its signed range, and values wider than their four characters (the golden traces pin the
// labels, the layout and the values of every line of a dump).
#include "model/clsIndEep_RigK5.h"

#include <gtest/gtest.h>

TEST(clsIndEep_RigK5Test, ValuesAtTheEndsOfTheirRangesKeepTheirFourCharacters) {
    EXPECT_EQ(clsIndEep_RigK5::RigEep_FormatUnsigned(255), " 255");
    EXPECT_EQ(clsIndEep_RigK5::RigEep_FormatUnsigned(-1000), "1000"); // its last four
    EXPECT_EQ(clsIndEep_RigK5::RigEep_FormatSigned(0x80), "-128");
    EXPECT_EQ(clsIndEep_RigK5::RigEep_FormatSigned(0x7F), " 127");
    EXPECT_EQ(clsIndEep_RigK5::RigEep_FormatSigned(0xFF), "  -1");
    EXPECT_EQ(clsIndEep_RigK5::RigEep_FormatSigned(200), " -56");
}
