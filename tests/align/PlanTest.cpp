// SPDX-License-Identifier: GPL-3.0-or-later
// The alignment plan's loader: each reason a plan is refused, with the line it names, and the
// sample plan taken whole.
#include "align/AlignmentPlan.h"

#include <gtest/gtest.h>

namespace {

struct PlanCase {
    const char* name;
    const char* text;
    const char* error; // empty: taken
};

// Channels 1 to 3 shown with a frequency in each band; channel 5 shown without one.
TestChannels bench() {
    TestChannels channels;
    const std::int32_t frequencies[] = {14600000, 15500000, 16600000};
    for (int ch = 1; ch <= 3; ++ch) {
        channels.ChUnit(ch).setAppearCh(true);
        channels.ChUnit(ch).setFreqOp_Pure(frequencies[ch - 1]);
    }
    channels.ChUnit(5).setAppearCh(true);
    return channels;
}

const PlanCase Cases[] = {
    {"taken", "[Plan]\nTitle=T\n; a comment\n[BPF-LOW]\nChannel=1\nLevel=-20.0 dBm\n[POWER]\n", ""},
    {"unknownStep", "[BPF-LOWER]\n",
     "Line 1 of the plan 'x.plan': 'BPF-LOWER' is no step of the alignment. The steps are "
     "BPF-LOW, BPF-MID, BPF-HIGH, S-METER, TXF, DTCS-START, DTCS-STOP, POWER, MOD-LEVEL, "
     "SQUELCH and DTCS-BALANCE."},
    {"unknownKey", "[BPF-LOW]\nChannel=1\nLevl=-60\n",
     "Line 3 of the plan 'x.plan': the key 'Levl' is unknown here; this section takes Channel, "
     "Level, Modulation, Connect and Instructions."},
    {"levelNoNumber", "[SQUELCH]\nLevel=loud\n",
     "Line 2 of the plan 'x.plan': the level 'loud' is no number of dBm."},
    {"levelTooHigh", "[TXF]\n\n[BPF-LOW]\nChannel=1\nLevel=-19.9\n",
     "Line 5 of the plan 'x.plan': the level -19.9 dBm is above the highest level allowed, "
     "-20.0 dBm."},
    {"channelMissing", "[S-METER]\nLevel=-80\n",
     "Line 1 of the plan 'x.plan': the step S-METER sets a level but names no Channel to take "
     "the frequency from."},
    {"channelNoNumber", "[BPF-MID]\nChannel=2.5\n",
     "Line 2 of the plan 'x.plan': the channel '2.5' is no number."},
    {"channelOutOfRange", "[BPF-MID]\nChannel=31\n",
     "Line 2 of the plan 'x.plan': there is no test channel 31; the test channels are 0 to 30."},
    {"channelNotSetUp", "[BPF-HIGH]\nChannel=5\n",
     "Line 2 of the plan 'x.plan': test channel 05 is not set up: it is not shown or has no "
     "frequency."},
    {"stepTwice", "[DTCS-START]\n[dtcs-start]\n",
     "Line 2 of the plan 'x.plan': the step dtcs-start comes a second time (first on line 1)."},
    {"noSteps", "[Plan]\nTitle=Nothing to do\n", "The plan 'x.plan' has no steps."},
    {"notALine", "[POWER]\nturn the knob\n",
     "Line 2 of the plan 'x.plan': 'turn the knob' is neither a [section] nor a key=value."},
    {"beforeAnySection", "Level=-60\n",
     "Line 1 of the plan 'x.plan': 'Level=-60' stands before any [section]."},
};

class PlanTest : public ::testing::TestWithParam<PlanCase> {};

} // namespace

TEST_P(PlanTest, IsTakenOrRefusedWithItsLine) {
    const PlanLoad load = parseAlignmentPlan(GetParam().text, "x.plan", -20.0, bench());
    EXPECT_EQ(load.error, GetParam().error);
    EXPECT_EQ(load.plan.has_value(), load.error.empty());
}

INSTANTIATE_TEST_SUITE_P(Plans, PlanTest, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SamplePlanTest, RunsEveryAutomaticStepBeforeTheManualOnes) {
    const PlanLoad load =
        loadAlignmentPlan(VSK5_SOURCE_DIR "/align/vx-k5-sim.plan", -20.0, bench());
    ASSERT_TRUE(load.plan) << load.error;
    std::string order;
    for (const PlanStep& step : load.plan->steps) {
        order += step.name + (step.kind == StepKind::Automatic ? " " : "* ");
    }
    EXPECT_EQ(order, "BPF-LOW BPF-MID BPF-HIGH S-METER TXF DTCS-START DTCS-STOP POWER* "
                     "MOD-LEVEL* SQUELCH* DTCS-BALANCE* ");
}
