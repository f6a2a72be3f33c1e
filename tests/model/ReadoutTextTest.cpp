// SPDX-License-Identifier: GPL-3.0-or-later
// The readout lines: the raw value in decimal and hexadecimal, and the reading behind it, at
// the ends of their ranges and in the rows no session shows (the golden traces pin every row
// a session shows, at the values it reads).
#include "model/ReadoutText.h"

#include <gtest/gtest.h>

namespace {

struct LineCase {
    ReadoutPage page;
    int index;
    int value;
    const char* line;
    int row;
};

class ReadoutLineTest : public ::testing::TestWithParam<LineCase> {};

constexpr ReadoutPage AD = ReadoutPage::AD;
constexpr ReadoutPage DA = ReadoutPage::DA;

} // namespace

TEST_P(ReadoutLineTest, ShowsRawValueAndReadingInItsRow) {
    const LineCase& c = GetParam();
    EXPECT_EQ(readoutLine(c.page, c.index, c.value), c.line);
    EXPECT_EQ(readoutRow(c.page, c.index), c.row);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Lines, ReadoutLineTest, ::testing::Values(
    LineCase{AD, 2, 5, "SD   :  5:05h:  0.10V", 3},
    LineCase{AD, 0, 128, "TEMPS:128:80h:  9.27'C", 1},
    LineCase{AD, 0, 100, "TEMPS:100:64h:   .65'C", 1},
    LineCase{AD, 0, 0, "TEMPS:  0:00h:*Error", 1},
    LineCase{AD, 3, 77, "", 4}, // no label: the row is emptied
    LineCase{DA, 0, 255, "BPF T1 :255:FFh:  5.00V", 1},
    LineCase{DA, 3, 9, "", -1}, // kept, never shown
    LineCase{DA, 5, 0, "Volium :  0:00h:  0.00V", 4},
    LineCase{DA, 9, 255, "SQL Lev:255:FFh:100.00%", 8},
    LineCase{DA, 10, 1, "", -1}));
// clang-format on
