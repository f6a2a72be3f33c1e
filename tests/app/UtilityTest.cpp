// SPDX-License-Identifier: GPL-3.0-or-later
// The composition root: the tick that stands aside while a modal window is open or a tick is
// already running, and a key's frame and the next value on time against a paced radio. The
// whole utility over the real serial path is in LineFaultsTest.
#include "tests/support/Bench.h"
#include "ui/UiHooks.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTest>

using testsupport::Bench;

TEST(UtilityTest, TheTickStandsAsideInAModalWindowAndInsideItself) {
    Bench bench;
    bench.window().cmd00(0).click();
    {
        ui::ModalScope dialog; // a message box or the channel dialog is open
        bench.tick(5);
        EXPECT_TRUE(bench.framesWritten().empty());
    }
    bench.tick();
    EXPECT_FALSE(bench.framesWritten().empty());

    // A message box's nested event loop fires the timer and the receive event again: no tick
    // may start inside the one that shows the box.
    int nested = 0;
    ui::setMessageBoxHook([&](ui::BoxIcon, const std::string&, const std::string&) {
        const std::size_t before = bench.framesWritten().size();
        bench.utility().tick();
        nested += static_cast<int>(bench.framesWritten().size() - before);
        return 1;
    });
    bench.serial().unplug();
    bench.tick();
    ui::setMessageBoxHook({});
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(bench.model().taskPhaseNow(), TaskPhase::Idle);
}

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
