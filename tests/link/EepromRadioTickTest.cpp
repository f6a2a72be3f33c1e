// Memory image bounds, the clone-write address list and the countdown across the wrap of the
// tick count, all on the test clock.
#include "link/clsCmcRadio.h"
#include "link/clsCmcTick.h"
#include "platform/TickCount.h"

#include <gtest/gtest.h>

#include <limits>

using platform::TickCount;

TEST(EepromTest, ReadsAndWritesOnlyInsideTheImage) {
    clsCmcEeprom image;
    EXPECT_EQ(image.eeSize(), 2048);
    EXPECT_EQ(image.WriteByte(2047, 0x1AB), 0);
    EXPECT_EQ(image.ReadByte(2047), 0xAB);
    EXPECT_EQ(image.WriteByte(2048, 1), 1);
    EXPECT_EQ(image.WriteByte(-1, 1), 1);
    EXPECT_EQ(image.ReadByte(2048), 0);
    EXPECT_EQ(image.ReadByte(-1), 0);
}

TEST(EepromTest, BlockMustLieWhollyInsideTheImage) {
    clsCmcEeprom image;
    const Bytes block(16, 0x5A);
    EXPECT_EQ(image.WriteBlock(2033, block), 1);
    EXPECT_EQ(image.ReadBlock(2032, 16), Bytes(16, 0));
    EXPECT_EQ(image.WriteBlock(-1, block), 1);
    EXPECT_EQ(image.ReadByte(0), 0);
    EXPECT_EQ(image.WriteBlock(2032, block), 0);
    EXPECT_EQ(image.ReadBlock(2032, 16), block);
    EXPECT_EQ(image.ReadBlock(2046, 4), (Bytes{0x5A, 0x5A, 0, 0}));
}

TEST(EepromTest, ResizingGivesAFreshZeroImage) {
    clsCmcEeprom image;
    image.WriteByte(5, 9);
    image.setEeSize(16);
    EXPECT_EQ(image.eeSize(), 16);
    EXPECT_EQ(image.ReadByte(5), 0);
    EXPECT_EQ(image.WriteByte(16, 1), 1);
}

TEST(RadioTest, AddressListEntriesAreTenCharacters) {
    clsCmcRadio radio;
    EXPECT_EQ(radio.radioNameM(), "0000");
    EXPECT_EQ(radio.radionameS(), "0000");
    radio.cloneWriteAdrList_Add(0, 2047);
    EXPECT_EQ(radio.cloneWriteAdrList(), "0000-07FF,");
    radio.cloneWriteAdrList_Add(0x10, 0x1F);
    EXPECT_EQ(radio.cloneWriteAdrList(), "0000-07FF,0010-001F,");
    radio.cloneWriteAdrList_Add(0x12345, -1);
    EXPECT_EQ(radio.cloneWriteAdrList().substr(20), "2345-FFFF,");
    radio.cloneWriteAdrList_Clear();
    EXPECT_EQ(radio.cloneWriteAdrList(), "");
    EXPECT_EQ(radio.objEep().eeSize(), 2048);
}

namespace {

struct CountdownCase {
    std::int32_t start;    // tick count when the countdown is set
    std::int32_t preset;   // its length
    std::int32_t advance;  // milliseconds later
    std::int32_t expected; // what it reads then
};

class CountdownTest : public ::testing::TestWithParam<CountdownCase> {
  protected:
    void TearDown() override { TickCount::setTestClock(0); }
};

constexpr std::int32_t Max32 = std::numeric_limits<std::int32_t>::max();

} // namespace

TEST_P(CountdownTest, ReadsTimeLeft) {
    const auto& c = GetParam();
    TickCount::setTestClock(c.start);
    clsCmcTick tick;
    tick.setCounter(c.preset);
    TickCount::advanceTestClock(c.advance);
    EXPECT_EQ(tick.counter(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CountdownTest,
    ::testing::Values(CountdownCase{0, 1000, 0, 1000}, CountdownCase{0, 1000, 999, 1},
                      CountdownCase{0, 1000, 1000, 0}, CountdownCase{-5000, 1000, 400, 600},
                      // set just before the count passes from 2^31 - 1 to -2^31; the wrap
                      // formula counts the step across the wrap as 0 ms
                      CountdownCase{Max32 - 10, 1000, 5, 995},
                      CountdownCase{Max32 - 10, 1000, 11, 990},
                      CountdownCase{Max32 - 10, 1000, 500, 501},
                      CountdownCase{Max32 - 10, 1000, 1000, 1},
                      CountdownCase{Max32 - 10, 1000, 1001, 0},
                      // from -1 to 0 is an ordinary step
                      CountdownCase{-300, 1000, 700, 300}));

TEST(CountdownTest, NeverSetReadsZero) {
    clsCmcTick tick;
    EXPECT_EQ(tick.counter(), 0);
}

TEST(CountdownTest, OnceOverStaysOverUntilSetAgain) {
    TickCount::setTestClock(100);
    clsCmcTick tick;
    tick.setCounter(50);
    TickCount::advanceTestClock(60);
    EXPECT_EQ(tick.counter(), 0);
    TickCount::setTestClock(100); // even if the clock were to read an earlier time again
    EXPECT_EQ(tick.counter(), 0);
    tick.setCounter(20);
    EXPECT_EQ(tick.counter(), 20);
}

TEST(CountdownTest, StartHalfARangeBackCountsAsLongOver) {
    TickCount::setTestClock(-(1 << 30) - 10);
    clsCmcTick tick;
    tick.setCounter(Max32);
    TickCount::setTestClock((1 << 30) + 10);
    EXPECT_EQ(tick.counter(), 0);
}
