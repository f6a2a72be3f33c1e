// SPDX-License-Identifier: GPL-3.0-or-later
// One guided step through the door against the simulated radio, on the test clock, without a
// generator: a step done by hand, skipped, refused before Connect, and a sweep stopped under way
// put back in the radio (a sweep set by hand and run to its end is the guided panel's test).
#include "align/AlignmentRun.h"
#include "model/ServiceRecord.h"
#include "tests/support/DoorBench.h"

#include <gtest/gtest.h>

#include <functional>

using testsupport::DoorBench;

namespace {

constexpr int BandPass = 0x7B0; // the low band's T1, T2, T3

struct GuidedCase {
    const char* name;
    const char* plan;
    bool connect;
    std::function<void(AlignmentRun&, DoorBench&)> act; // after startStep(0)
    StepState state;
    const char* result;
};

// Ticks with the run after the door, until the step has ended.
void toTheEnd(AlignmentRun& run, DoorBench& bench) {
    bench.runUntil([&] {
        run.tick();
        return !run.running();
    });
}

const GuidedCase Cases[] = {
    {"manualStepDoneByHand", "[SQUELCH]\nInstructions=Step SQL.\n", true,
     [](AlignmentRun& run, DoorBench& bench) {
         EXPECT_EQ(run.whatToSet(0), "The signal generator's output stays off");
         run.ready();
         toTheEnd(run, bench);
         EXPECT_EQ(bench.door().job().record().runs().back().name, "SQUELCH (by hand)");
     },
     StepState::Done, "Done by hand"},
    {"skippedWhileWaiting", "[DTCS-START]\n", true,
     [](AlignmentRun& run, DoorBench& bench) {
         run.skip(0);
         toTheEnd(run, bench);
     },
     StepState::Skipped, ""},
    {"stoppedSweepPutBack", "[BPF-LOW]\nChannel=1\n", true,
     [](AlignmentRun& run, DoorBench& bench) {
         const auto before = bench.radio().memory();
         run.ready();
         bench.runUntil([&] {
             run.tick();
             return bench.door().procedureStep() > 14; // the fine scan of T1 under way
         });
         run.stop("Stopped by the technician.");
         toTheEnd(run, bench);
         bench.allSent();
         const auto after = bench.radio().memory();
         EXPECT_TRUE(std::equal(before.begin() + BandPass, before.begin() + BandPass + 3,
                                after.begin() + BandPass));
     },
     StepState::Failed, "Stopped by the technician."},
    {"notConnected", "[DTCS-STOP]\n", false, [](AlignmentRun&, DoorBench&) {}, StepState::Failed,
     "The VX-K5 is not connected: click Connect first."},
};

class GuidedRunTest : public ::testing::TestWithParam<GuidedCase> {};

} // namespace

TEST_P(GuidedRunTest, EndsTheStepSo) {
    const GuidedCase& c = GetParam();
    DoorBench bench({}, "[OPTION]\nMR-1(Appear)=1\nMR-1(Frequency)=14600000\n");
    ASSERT_TRUE(!c.connect || bench.connect());
    const PlanLoad load = parseAlignmentPlan(c.plan, "g.plan", -20.0, bench.channels());
    ASSERT_TRUE(load.plan) << load.error;
    AlignmentRun run(bench.door(), *load.plan, nullptr, 300);
    run.startStep(0);
    c.act(run, bench);
    EXPECT_FALSE(run.running());
    EXPECT_EQ(run.state(0), c.state);
    EXPECT_EQ(run.result(0), c.result);
}

INSTANTIATE_TEST_SUITE_P(Steps, GuidedRunTest, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });
