// SPDX-License-Identifier: GPL-3.0-or-later
// The composition root: the tick that stands aside while a modal window is open or a tick is
// already running, and the whole utility over the real serial path (QSerialPort on a
// pseudo-terminal) against the simulated radio: Connect, a step, and a cable pulled.
#include "platform/TickCount.h"
#include "tests/support/Bench.h"
#include "tests/support/PtyRadio.h"
#include "ui/UiHooks.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
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

namespace {

class PtyUtilityTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (pty.slave < 0) {
            GTEST_SKIP() << "pseudo-terminals are not available here";
        }
        dir.writeFile("VSK5ALN.ini", "[PORTS]\nCOM1=" + pty.path + "\n");
        dir.writeFile("Const.ini", constants());
        places.settingsFolder = dir.path();
        places.constantsFile = dir.file("Const.ini");
        places.backupFolder = dir.file("backups");
        utility = std::make_unique<Utility>(places);
        ASSERT_TRUE(utility->startUp()); // the real 50 ms timer
    }
    static std::string constants() {
        std::string text = "VS-K5 ALN Rev.1.0\n";
        for (int i = 0; i <= 20; ++i) {
            text += "0\n";
        }
        return text;
    }
    // Runs the event loop (the port's notifiers, the timer) with the program's clock following
    // the real time, until done() or the deadline.
    bool waitFor(const std::function<bool()>& done, int milliseconds) {
        QElapsedTimer clock;
        clock.start();
        qint64 last = 0;
        while (!done() && clock.elapsed() <= milliseconds) {
            pty.pump();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            platform::TickCount::advanceTestClock(
                static_cast<std::int32_t>(clock.elapsed() - last));
            last = clock.elapsed();
        }
        return done();
    }

    testsupport::PtyRadio pty;
    testsupport::TempDir dir;
    testsupport::MessageRecorder recorder;
    Utility::Places places;
    std::unique_ptr<Utility> utility;
};

} // namespace

TEST_F(PtyUtilityTest, ConnectAStepAndAPulledCableOverTheRealSerialPath) {
    utility->window().cmd00(0).click();
    clsIndOp_RigK5& model = utility->model();
    ASSERT_TRUE(waitFor([&] { return model.RigProp_EditEnabled() && pty.radio.e8Value(0x10) >= 0; },
                        15000));
    const auto& memory = pty.radio.memory();
    EXPECT_EQ(utility->radio().objEep().ReadBlock(0, 2048), Bytes(memory.begin(), memory.end()));
    const std::string backup = model.serviceJob().record().sessionStarts().at(0).backupFile;
    EXPECT_EQ(backup.rfind(dir.file("backups/VX-K5_0001_"), 0), 0u) << backup;
    const int power = utility->console().Value(1);
    utility->console().UpDown(1, 1);
    ASSERT_TRUE(waitFor([&] { return pty.radio.e8Value(0x0C) == power + 1; }, 3000));

    pty.hangUp();
    ASSERT_TRUE(waitFor([&] { return !recorder.messages().empty(); }, 3000));
    EXPECT_EQ(recorder.messages()[0].text.substr(0, 22), "Cannot access COM 1.\r\n");
    EXPECT_EQ(model.taskPhaseNow(), TaskPhase::Idle);
    waitFor([] { return false; }, 200);
    EXPECT_EQ(recorder.messages().size(), 1u);
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
    const std::int64_t echoMs = (static_cast<std::int64_t>(writes[0].bytes.size()) * 1000 + 959) / 960;
    EXPECT_EQ(writes[1].atMs - writes[0].atMs, echoMs + 200);
}
