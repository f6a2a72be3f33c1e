// SPDX-License-Identifier: GPL-3.0-or-later
// The adjustment procedures end to end against the simulated radio, for what the golden traces
// cannot say alone: how a fine scan settles between equal readings, the edges of TXF's local
// write, and what a procedure does with a reading it had to refuse or left behind.
#include "tests/support/ConnectedBench.h"

#include <algorithm>

using namespace proceduretest;

TEST(ProceduresTest, FineScanSettlesBetweenEqualHighestReadings) {
    Connected c;
    // Coarse 63/127/191, then T1 at 95/127/159: best 127, so T1 is scanned from 95 to 159.
    std::deque<int>& script = c.bench.radio().config().detectorScript;
    script = {10, 30, 5, 10, 20, 5};
    std::vector<int> scan(33, 40);    // 95, 97, ... 159
    scan[2] = scan[4] = scan[7] = 50; // highest first at 99, equal at 103 and 109
    script.insert(script.end(), scan.begin(), scan.end());
    ASSERT_TRUE(c.enter(ItemBpfLowAll));
    ASSERT_TRUE(c.atStep(18));
    EXPECT_EQ(c.items().Value(9), 101); // 99 plus two equal readings
    EXPECT_EQ(c.bench.radio().e8Value(17), 101);
}

TEST(ProceduresTest, SweepHoldsTheFinalSettingAt255WhereTheEqualCountWouldPassIt) {
    vxk5sim::SimConfig config;
    config.signal = 250;
    config.bandOptimum[0] = {230, 200, 200};
    Connected c(config);
    ASSERT_TRUE(c.enter(ItemBpfLowAll));
    // The detector dies once T1's fine scan begins: equal readings up to 255 on top of the
    // best three-point setting.
    ASSERT_TRUE(c.atStep(17));
    c.bench.radio().config().signal = 0;
    ASSERT_TRUE(c.runToEnd());
    EXPECT_EQ(c.items().Value(9), 255);
    EXPECT_EQ(c.bench.radio().e8Value(17), 255);
    EXPECT_EQ(c.imageByte(0x7B0), 255);
}

namespace {

struct TxfAreaCase {
    int temperature;
    int area;
};

class TxfLocalWriteTest : public ::testing::TestWithParam<TxfAreaCase> {};

} // namespace

TEST_P(TxfLocalWriteTest, WritesTheAreasAroundTheCurrentOneOnly) {
    vxk5sim::SimConfig config;
    config.temperature = GetParam().temperature;
    Connected c(config);
    const int a = GetParam().area;
    const int initial = c.imageByte(0x7C0 + a);
    Bytes image = c.bench.image().ReadBlock(0, 2048);
    std::vector<std::string> expected{"033030", "033030"}; // the area, read twice
    for (const int base : {0, 20}) {                       // initial values first, then slopes
        for (int n = std::max(a - 1, 0); n <= std::min(a + 1, 19); ++n) {
            expected.push_back(e8(26 + base + n, base == 0 ? initial : 0));
            image[static_cast<std::size_t>(0x7C0 + base + n)] =
                static_cast<std::uint8_t>(base == 0 ? initial : 0);
        }
    }
    ASSERT_TRUE(c.enter(ItemTxf));
    ASSERT_TRUE(c.atStep(57, 40));
    ASSERT_TRUE(c.bench.runUntil([&] { return c.step() != 57; }, 40));
    std::vector<std::string> payloads = c.bench.e8Payloads();
    std::erase_if(payloads, [](const std::string& p) { return p.rfind("01", 0) == 0; }); // channel
    EXPECT_EQ(payloads, expected);
    EXPECT_EQ(c.bench.image().ReadBlock(0, 2048), image); // nothing else written
}

INSTANTIATE_TEST_SUITE_P(Areas, TxfLocalWriteTest,
                         ::testing::Values(TxfAreaCase{5, 0}, TxfAreaCase{250, 19},
                                           TxfAreaCase{128, 10}));

TEST(ProceduresTest, AProcedureLeftWhileItsReadingWasOutStartsAfreshNextTime) {
    Connected c;
    ASSERT_TRUE(c.enter(ItemSMeter));
    c.bench.door().click(RigDoor::Reload); // left with its detector reading under way
    c.bench.tick(80);                      // the reload's readouts
    c.bench.clearWire();
    ASSERT_TRUE(c.enter(ItemSMeter));
    ASSERT_TRUE(c.runToEnd());
    const int s = c.bench.radio().readout(2);
    EXPECT_EQ(c.bench.e8Payloads(),
              (std::vector<std::string>{"033032", e8(4, s - 2), e8(5, s + 7), e8(6, s + 16)}));
}

TEST(ProceduresTest, ARejectedReadingSendsAndStoresNothing) {
    Connected c;
    const int before = c.imageByte(0x7B9);
    c.bench.radio().config().noAnswer = true;
    ASSERT_TRUE(c.enter(ItemSMeter));
    clsCmcCln3Drv& driver = c.bench.com().cln3D;
    ASSERT_TRUE(c.bench.runUntil([&] { return driver.waitState() == WaitState::Answer; }, 20));
    driver.read(HexToByteStr("FEFEEFEEE87351000103394141FD")); // three value characters
    c.bench.tick(3);
    EXPECT_EQ(c.message(), "Communication failed.\r\n\r\nCheck the following:\r\n\r\n"
                           "- Cloning cable connections.\r\n- The VX-K5 power is ON.");
    EXPECT_EQ(c.bench.e8Payloads(), std::vector<std::string>{"033032"});
    EXPECT_EQ(c.imageByte(0x7B9), before);
    EXPECT_EQ(c.step(), 0);
    EXPECT_EQ(c.bench.view().readouts[0].at(1), "----");
}
