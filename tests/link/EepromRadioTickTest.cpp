// SPDX-License-Identifier: GPL-3.0-or-later
// Memory image bounds, the clone-write address list and the countdown across the wrap of the
// tick count, all on the test clock.
#include "link/clsCmcRadio.h"
#include "link/clsCmcTick.h"
#include "platform/TickCount.h"

#include <gtest/gtest.h>

#include <limits>

using platform::TickCount;

TEST(EepromTest, NothingOutsideTheImageIsReadOrWritten) {
    clsCmcEeprom image;
    EXPECT_EQ(image.WriteByte(2047, 0x1AB), 0);
    EXPECT_EQ(image.ReadByte(2047), 0xAB);
    for (const std::int32_t outside : {2048, -1}) {
        EXPECT_EQ(image.WriteByte(outside, 1), 1);
        EXPECT_EQ(image.ReadByte(outside), 0);
        EXPECT_EQ(image.WriteBlock(outside, Bytes(1, 1)), 1);
    }
    const Bytes block(16, 0x5A);
    EXPECT_EQ(image.WriteBlock(2033, block), 1);        // its last byte would be one past the end
    EXPECT_EQ(image.ReadBlock(2032, 15), Bytes(15, 0)); // nothing of the refused block
    EXPECT_EQ(image.WriteBlock(2032, block), 0);
    EXPECT_EQ(image.ReadBlock(2046, 4), (Bytes{0x5A, 0x5A, 0, 0}));
    image.setEeSize(16); // a fresh, smaller image
    EXPECT_EQ(image.ReadByte(5), 0);
    EXPECT_EQ(image.WriteByte(16, 1), 1);
}

TEST(RadioTest, AddressListEntriesAreTenCharacters) {
    clsCmcRadio radio;
    radio.cloneWriteAdrList_Add(0, 2047);
    radio.cloneWriteAdrList_Add(0x10, 0x1F);
    radio.cloneWriteAdrList_Add(0x12345, -1); // the low 16 bits of each address
    EXPECT_EQ(radio.cloneWriteAdrList(), "0000-07FF,0010-001F,2345-FFFF,");
    radio.cloneWriteAdrList_Clear();
    EXPECT_EQ(radio.cloneWriteAdrList(), "");
}

namespace {

constexpr std::int32_t Max32 = std::numeric_limits<std::int32_t>::max();

struct CountdownCase {
    std::int32_t start, preset, advance, expected; // set at start, read `advance` ms later
};

class CountdownTest : public ::testing::TestWithParam<CountdownCase> {
  protected:
    void TearDown() override { TickCount::setTestClock(0); }
};

} // namespace

TEST_P(CountdownTest, ReadsTimeLeft) {
    const auto& c = GetParam();
    TickCount::setTestClock(c.start);
    clsCmcTick tick;
    tick.setCounter(c.preset);
    TickCount::advanceTestClock(c.advance);
    EXPECT_EQ(tick.counter(), c.expected);
}

// Across the wrap from 2^31 - 1 to -2^31 the step over the wrap itself counts 0 ms.
INSTANTIATE_TEST_SUITE_P(Cases, CountdownTest,
                         ::testing::Values(CountdownCase{0, 1000, 999, 1},
                                           CountdownCase{0, 1000, 1000, 0},
                                           CountdownCase{-5000, 1000, 400, 600},
                                           CountdownCase{-300, 1000, 700, 300},
                                           CountdownCase{Max32 - 10, 1000, 11, 990},
                                           CountdownCase{Max32 - 10, 1000, 500, 501},
                                           CountdownCase{Max32 - 10, 1000, 1000, 1},
                                           CountdownCase{Max32 - 10, 1000, 1001, 0}));

TEST(CountdownTest, NeverSetOrRunOutReadsZeroUntilSetAgain) {
    clsCmcTick tick;
    EXPECT_EQ(tick.counter(), 0);
    TickCount::setTestClock(100);
    tick.setCounter(50);
    TickCount::advanceTestClock(60);
    EXPECT_EQ(tick.counter(), 0);
    TickCount::setTestClock(100); // even if the clock were to read an earlier time again
    EXPECT_EQ(tick.counter(), 0);
    tick.setCounter(20);
    EXPECT_EQ(tick.counter(), 20);
    // A start half the count's range back is a full wrap ago: long over.
    TickCount::setTestClock(-(1 << 30) - 10);
    tick.setCounter(Max32);
    TickCount::setTestClock((1 << 30) + 10);
    EXPECT_EQ(tick.counter(), 0);
    TickCount::setTestClock(0);
}
