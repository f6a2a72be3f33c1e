// SPDX-License-Identifier: GPL-3.0-or-later
// The session when the link fails under it: a port that goes away (a cable pulled, a device
// gone, a write that fails) ends the session at once with one message and nothing more sent or
// written.
#include "tests/model/ConnectedBench.h"

#include "link/clsCmcCln3Sequence.h"
#include "link/frmCom.h"

#include <QGroupBox>
#include <QPushButton>

using namespace proceduretest;

namespace {

const std::string PortLost = "Cannot access COM 1.\r\n\r\nCheck the following:\r\n\r\n"
                             "- The COM port settings.\r\n- Cloning cable connections.\r\n"
                             "- The VX-K5 power is ON.";

enum class Loss { Unplugged, WriteFails };

struct LossCase {
    const char* name;
    Loss loss;
    // Brings the bench to the moment of the loss; false when it could not.
    std::function<bool(Connected&)> before;
};

class LinkLossTest : public ::testing::TestWithParam<LossCase> {};

} // namespace

TEST_P(LinkLossTest, EndsTheSessionAtOnceAndNothingMoreReachesRadioOrImage) {
    const LossCase& p = GetParam();
    Connected c;
    ASSERT_TRUE(p.before(c));
    const Bytes image = c.bench.image().ReadBlock(0, 2048);
    const auto radio = c.bench.radio().memory();
    const std::size_t written = c.bench.framesWritten().size();

    if (p.loss == Loss::Unplugged) {
        c.bench.serial().unplug();
    } else {
        c.bench.serial().setWriteFails(true);
    }
    c.items().UpDown(1, 5); // a step the technician makes meanwhile
    ASSERT_TRUE(c.bench.runUntil([&] { return !c.bench.messages().messages().empty(); }, 10));

    ASSERT_EQ(c.bench.messages().messages().size(), 1u);
    EXPECT_EQ(c.bench.messages().messages()[0].text, PortLost);
    EXPECT_EQ(c.bench.model().taskPhaseNow(), TaskPhase::Idle);
    EXPECT_TRUE(c.bench.window().fra01(0).isVisibleTo(&c.bench.window()));
    EXPECT_FALSE(c.bench.com().comOpen());

    // Nothing more: keys and buttons do nothing until Connect.
    c.items().UpDown(2, 1);
    c.bench.window().cmd00(1).click();
    c.bench.tick(20);
    EXPECT_EQ(c.bench.framesWritten().size(), written);
    EXPECT_EQ(c.bench.image().ReadBlock(0, 2048), image);
    EXPECT_EQ(c.bench.radio().memory(), radio);
    EXPECT_EQ(c.bench.messages().messages().size(), 1u);

    // The device back: Connect unlocks and reads the radio again.
    c.bench.serial().plugIn();
    c.bench.serial().setWriteFails(false);
    c.bench.clearWire();
    ASSERT_TRUE(c.bench.connect());
    EXPECT_EQ(c.bench.e8Payloads().front(), "0035526B39547A33577131");
    EXPECT_EQ(c.bench.messages().messages().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Moments, LinkLossTest,
    ::testing::Values(LossCase{"UnpluggedWhileIdle", Loss::Unplugged,
                               [](Connected&) { return true; }},
                      LossCase{"UnpluggedDuringTxfFollowing", Loss::Unplugged,
                               [](Connected& c) {
                                   return c.enter(ItemTxf) &&
                                          c.bench.runUntil([&] { return c.step() == 56; }, 200);
                               }},
                      LossCase{"WriteFailsDuringModulationLevel", Loss::WriteFails,
                               [](Connected& c) {
                                   return c.enter(ItemModLevel) &&
                                          c.bench.runUntil([&] { return c.step() == 9; }, 200);
                               }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LinkLossTest, DeviceGoneDuringTheCloneReadEndsConnectWithTheSameMessage) {
    Bench bench;
    bench.window().cmd00(0).click();
    ASSERT_TRUE(
        bench.runUntil([&] { return bench.seq().operation() == Operation::CloneRead; }, 20));
    bench.serial().unplug();
    bench.tick(3);
    ASSERT_EQ(bench.messages().messages().size(), 1u);
    EXPECT_EQ(bench.messages().messages()[0].text, PortLost);
    EXPECT_EQ(bench.model().taskPhaseNow(), TaskPhase::Idle);
}
