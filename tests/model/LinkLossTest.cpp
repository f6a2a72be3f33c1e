// SPDX-License-Identifier: GPL-3.0-or-later
// The session when the link fails under it in the middle of a procedure: the port gone or a write
// that fails ends the session at once with one message, and nothing more is sent or written
// (the golden trace of a lost port and the line faults over a pseudo-terminal have the rest).
#include "tests/support/ConnectedBench.h"

using namespace proceduretest;

namespace {

const std::string PortLost = "Cannot access COM 1.\r\n\r\nCheck the following:\r\n\r\n"
                             "- The COM port settings.\r\n- Cloning cable connections.\r\n"
                             "- The VX-K5 power is ON.";

struct LossCase {
    const char* name;
    std::int16_t item;
    std::int16_t step; // the procedure's step at the loss
    bool unplugged;    // else the writes fail
};

class LinkLossTest : public ::testing::TestWithParam<LossCase> {};

} // namespace

TEST_P(LinkLossTest, EndsTheSessionAtOnceAndNothingMoreReachesRadioOrImage) {
    const LossCase& p = GetParam();
    Connected c;
    ASSERT_TRUE(c.enter(p.item) && c.atStep(p.step, 200));
    const Bytes image = c.bench.image().ReadBlock(0, 2048);
    const auto radio = c.bench.radio().memory();
    const std::size_t written = c.bench.framesWritten().size();
    if (p.unplugged) {
        c.bench.serial().unplug();
    } else {
        c.bench.serial().setWriteFails(true);
    }
    c.bench.door().stepItem(1, 5); // a step the technician makes meanwhile
    ASSERT_TRUE(c.bench.runUntil([&] { return !c.bench.view().messages.empty(); }, 10));
    EXPECT_EQ(c.bench.view().mode, RigView::Mode::Idle);
    EXPECT_FALSE(c.bench.com().comOpen());
    c.bench.door().stepItem(2, 1); // keys and buttons do nothing until Connect
    c.bench.door().click(RigDoor::Reload);
    c.bench.tick(20);
    EXPECT_EQ(c.message(), PortLost);
    EXPECT_EQ(c.bench.view().messages[0].kind, testsupport::RecordingView::Message::LinkFailure);
    EXPECT_EQ(c.bench.framesWritten().size(), written);
    EXPECT_EQ(c.bench.image().ReadBlock(0, 2048), image);
    EXPECT_EQ(c.bench.radio().memory(), radio);
}

INSTANTIATE_TEST_SUITE_P(
    Moments, LinkLossTest,
    ::testing::Values(LossCase{"UnpluggedDuringTxfFollowing", ItemTxf, 56, true},
                      LossCase{"WriteFailsDuringModulationLevel", ItemModLevel, 9, false}),
    [](const auto& info) { return std::string(info.param.name); });
