// SPDX-License-Identifier: GPL-3.0-or-later
// The guided panel on the whole utility against the simulated radio and, in this process, the
// simulated generator on a local port: the plan chosen with "Open plan…", one step started with
// "Start" and run to its end, with the generator driven by the program or set "by hand" and
// confirmed with "Ready", and once with its output left off. The bench ticks only while no
// generator command is on its way, so the test clock never overtakes a command's deadline.
#include "ui/AlignPanel.h"
#include "align/AlignmentRun.h"
#include "tests/support/Bench.h"
#include "tests/support/DialogScript.h"
#include "tests/support/SimGeneratorOnPort.h"
#include "ui/CurvePictureView.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

const std::string Plan = "[Plan]\nTitle=One sweep\n[BPF-LOW]\nChannel=1\nLevel=-60.0\n"
                         "Connect=the signal generator to the antenna socket\n";

struct PanelCase {
    const char* name;
    bool driven;         // the generator named in the settings, else set by hand
    StepState state;     // Failed: the technician leaves the output off before Ready
    std::string message; // the only one shown, up to its first line end
};

// clang-format off
const PanelCase panelCases[] = {
    {"Driven", true, StepState::Done, "BPF-LOW: Completed"},
    {"SetByHand", false, StepState::Done, "BPF-LOW: Completed"},
    // The procedure's own message, not the run's again with the step's name before it.
    {"OutputLeftOffByHand", false, StepState::Failed, "No signal reached the detector."},
};
// clang-format on

class AlignPanelTest : public ::testing::TestWithParam<PanelCase> {};

} // namespace

TEST_P(AlignPanelTest, StartRunsTheStepToItsEndAndLeavesTheOutputOff) {
    const PanelCase& c = GetParam();
    testsupport::SimGeneratorOnPort generator;
    const std::string instruments =
        c.driven ? "[INSTRUMENTS]\nGenerator=" + generator.resource() + "\nSettleTime=100\n" : "";
    testsupport::Bench bench({},
                             "[OPTION]\nMR-1(Appear)=1\nMR-1(Frequency)=14600000\n" + instruments);
    bench.radio().attachGenerator(&generator.sim);
    bench.folder().writeFile("sweep.plan", Plan);
    ASSERT_TRUE(bench.connect());
    testsupport::DialogScript script;
    script.choose(bench.folder().file("sweep.plan"));
    bench.window().show();
    bench.window().mnuAlignGuided().trigger();
    AlignPanel& panel = bench.utility().bench().panel();
    ASSERT_TRUE(panel.isVisible());
    panel.cmdOpen->click();
    AlignmentRun* run = bench.utility().bench().run();
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(panel.lblTitle->text().toStdString(), "One sweep");
    EXPECT_EQ(panel.lblSet->text().toStdString(), "Connect the signal generator to the antenna "
                                                  "socket; set 146.000 MHz, -60.0 dBm, output on");
    panel.cmdStart->click();
    auto* scpi = c.driven ? &bench.utility().bench().generator()->instrument() : nullptr;
    bool readyWasOffered = false;
    const auto ended = [&] { return run->state(0) > StepState::Running && !run->running(); };
    for (int ticks = 0; ticks < 4000 && !ended(); ++ticks) {
        if (scpi) {
            ASSERT_TRUE(generator.waitFor([&] { return scpi->idle(); }));
        } else if (run->waitingForReady() && panel.cmdReady->isEnabled()) {
            readyWasOffered = true;
            generator.sim.handle("FREQ 146 MHz"); // the technician at the knobs
            generator.sim.handle("POW -60 dBm");
            generator.sim.handle(c.state == StepState::Done ? "OUTP ON" : "OUTP OFF");
            panel.cmdReady->click();
        }
        bench.tick();
    }
    ASSERT_EQ(run->state(0), c.state) << run->result(0);
    EXPECT_EQ(readyWasOffered, !c.driven);
    if (c.driven) {
        ASSERT_TRUE(generator.waitFor([&] { return scpi->idle(); }));
        EXPECT_FALSE(generator.sim.outputOn());
    }
    bench.tick();
    QTreeWidgetItem& row = *panel.lstSteps->topLevelItem(0);
    EXPECT_EQ(row.text(1).toStdString(), stepStateText(c.state));
    EXPECT_EQ(row.text(2).toStdString(), run->result(0));
    EXPECT_EQ(panel.curve->shownKind(), CurveKind::SweepLow);
    const std::string message = bench.messages().message();
    EXPECT_EQ(message.substr(0, message.find('\r')), c.message);
    EXPECT_TRUE(panel.cmdStart->isEnabled());
    EXPECT_FALSE(panel.cmdStop->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Steps, AlignPanelTest, ::testing::ValuesIn(panelCases),
                         [](const auto& info) { return std::string(info.param.name); });
