// SPDX-License-Identifier: GPL-3.0-or-later
// The key buffer of the cmd00 buttons and the channel dialog's OK button.
#include "ui/KeyBuffer.h"

#include <gtest/gtest.h>

TEST(KeyBufferTest, OnlyTheLastThirteenCountAndTheCaptionAppearsOnTheMatch) {
    KeyBuffer kb;
    EXPECT_FALSE(kb.Feed("abcdefghijklmnopq"));
    EXPECT_EQ(kb.contents(), "FGHIJKLMNOPQR"); // the last 13, each shifted one up
    KeyBuffer own("BCD", "Ifmmp");
    EXPECT_FALSE(own.Feed("xxab"));
    EXPECT_EQ(own.Feed("c"), "Hello");
    EXPECT_FALSE(own.Feed("d"));
    EXPECT_EQ(KeyBuffer("BCD", "Ifmmp").Feed("zzABCxyz"), "Hello"); // upper case, mid-feed
}
