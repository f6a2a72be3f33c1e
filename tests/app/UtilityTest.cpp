// SPDX-License-Identifier: GPL-3.0-or-later
// The composition root: a link failure's box opened after the tick, no tick running while it (or
// any modal window) is open, the generator left switched off however a session ends, and a
// key's frame and the next value on time against a paced radio. The whole utility over the
// real serial path is in LineFaultsTest.
#include "tests/support/Bench.h"
#include "tests/support/SimGeneratorOnPort.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QTest>

using testsupport::Bench;

namespace {

// The line unplugged and a key (true), or the radio silent and Reload (false).
class FailureBoxTest : public ::testing::TestWithParam<bool> {};

} // namespace

TEST_P(FailureBoxTest, OpensOnceAfterTheTickAndNoTickRunsWhileItIsOpen) {
    Bench bench;
    ASSERT_TRUE(bench.connect());
    RigDoor& door = bench.door();
    int boxes = 0;
    bench.messages().whileOpen([&] {
        ++boxes;
        EXPECT_FALSE(door.ticking());
        EXPECT_FALSE(door.connected());
        EXPECT_EQ(bench.messages().messages().back().text, door.lastFailure());
        const long ticks = door.ticksRun();
        const std::size_t written = bench.serial().written().size();
        bench.tick(3); // the box's event loop fires the timer
        emit door.wantsTick();
        EXPECT_EQ(door.ticksRun(), ticks);
        EXPECT_EQ(bench.serial().written().size(), written);
    });
    if (GetParam()) {
        bench.serial().unplug();
        door.stepItem(1, 1);
    } else {
        bench.radio().config().noAnswer = true;
        door.click(RigDoor::Reload);
    }
    ASSERT_TRUE(bench.runUntil([&] { return boxes != 0; }, 200));
    bench.tick(20);
    EXPECT_EQ(boxes, 1);
}

INSTANTIATE_TEST_SUITE_P(Failures, FailureBoxTest, ::testing::Values(true, false),
                         [](const auto& info) {
                             return std::string(info.param ? "LineUnpluggedAtAKey"
                                                           : "RadioSilentAtReload");
                         });

namespace {

struct GeneratorEnd {
    const char* name;
    void (*act)(Bench&, testsupport::SimGeneratorOnPort&);
    std::string message; // the one message the window then shows, up to its first line end
    bool outputOff = true;
};

const GeneratorEnd generatorEnds[] = {
    {"ProgramCloses", [](Bench& bench, auto&) { bench.utility().shutDown(); }, "(0 messages)"},
    {"RadioLinkFails",
     [](Bench& bench, auto& generator) {
         ASSERT_TRUE(bench.connect());
         bench.serial().unplug();
         bench.door().stepItem(1, 1);
         ASSERT_TRUE(bench.runUntil([&] { return !bench.messages().messages().empty(); }, 200));
         ASSERT_TRUE(generator.waitFor([&] { return !generator.sim.outputOn(); }));
     },
     "Cannot access COM 1."},
    {"LevelAboveTheMaximum",
     [](Bench& bench, auto&) {
         bench.utility().bench().generator()->generator().setLevel(-19.9);
         bench.tick();
     },
     "The level -19.9 dBm is above the highest level allowed, -20.0 dBm.", false},
    {"GeneratorConnectionLost",
     [](Bench& bench, auto& generator) {
         generator.dropConnections();
         instruments::ScpiInstrument& scpi = bench.utility().bench().generator()->instrument();
         ASSERT_TRUE(generator.waitFor([&] { return !scpi.isConnected(); }));
         bench.tick();
     },
     "The connection to the signal generator was lost: the instrument closed the connection.",
     false},
};

class GeneratorEndTest : public ::testing::TestWithParam<GeneratorEnd> {};

} // namespace

// The window's generator, its output on, when the session ends one way or another: switched
// off (the program's end waits until it is) and whatever went wrong told in the window.
TEST_P(GeneratorEndTest, LeavesTheOutputOffAndSaysWhy) {
    testsupport::SimGeneratorOnPort generator;
    ASSERT_FALSE(generator.resource().empty());
    Bench bench({}, "[INSTRUMENTS]\nGenerator=" + generator.resource() + "\n");
    instruments::BenchGenerator* window = bench.utility().bench().generator();
    ASSERT_NE(window, nullptr);
    window->generator().setOutput(true);
    ASSERT_TRUE(generator.waitFor([&] { return window->instrument().idle(); }));
    ASSERT_TRUE(generator.sim.outputOn());
    GetParam().act(bench, generator);
    EXPECT_EQ(generator.sim.outputOn(), !GetParam().outputOff);
    std::vector<std::string> sent{"OUTP ON", "SYST:ERR?"}; // no level ever left
    if (GetParam().outputOff) {
        sent.insert(sent.end(), {"OUTP OFF", "SYST:ERR?"});
    }
    EXPECT_EQ(generator.sim.received(), sent);
    const std::string said = bench.messages().message();
    EXPECT_EQ(said.substr(0, said.find('\r')), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Ends, GeneratorEndTest, ::testing::ValuesIn(generatorEnds),
                         [](const auto& info) { return std::string(info.param.name); });

// On a radio paced at the line rate, as over a real cable: a key's frame leaves with the key,
// and the next value leaves exactly when the wait after the first is over, 200 ms after the
// first frame's echo is in, not at the timer tick after that.
TEST(PacedUtilityTest, AKeyGoesOutAtOnceAndTheNextValueWhenItsWaitIsDue) {
    vxk5sim::SimConfig config;
    config.pacing = true;
    testsupport::Bench bench(config);
    ASSERT_TRUE(bench.connect());
    bench.tick(6); // past the wait after Connect's last value
    bench.clearWire();
    QListWidget& console = bench.window().lboConsole();
    console.setCurrentRow(1);
    QTest::keyClick(&console, Qt::Key_Right);
    ASSERT_EQ(bench.serial().writes().size(), 1u) << "sent with the key, before any tick";
    QTest::keyClick(&console, Qt::Key_Right); // while the first value's wait runs
    ASSERT_TRUE(bench.runUntil([&] { return bench.serial().writes().size() == 2; }, 20));
    const auto& writes = bench.serial().writes();
    const std::int64_t echoMs =
        (static_cast<std::int64_t>(writes[0].bytes.size()) * 1000 + 959) / 960;
    EXPECT_EQ(writes[1].atMs - writes[0].atMs, echoMs + 200);
}
