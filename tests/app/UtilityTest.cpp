// SPDX-License-Identifier: GPL-3.0-or-later
// The composition root: a link failure's box opened after the tick, no tick running while it (or
// any modal window) is open, a key's frame and the next value on time against a paced radio,
// and a sweep killed with the program over the real serial path (QSerialPort on a
// pseudo-terminal) and put back at the next Connect.
// The rest of the whole utility over the real serial path is in LineFaultsTest.
#include "model/ImageFile.h"
#include "platform/TickCount.h"
#include "tests/support/Bench.h"
#include "tests/support/PtyRadio.h"
#include "tests/support/SimGeneratorOnPort.h"
#include "ui/UiHooks.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <numeric>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

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

namespace {

// The folder of the first session, which hears on its standard input that its line is quiet.
const char* const FirstSessionFolder = "VSK5_TEST_FIRST_SESSION";

// The child's loop: a tick for each byte on the quiet pipe while its port has nothing to send,
// the byte taken once the tick's writes are on the line (the parent, finding the pipe empty,
// finds them there). False when done() did not come within maxTicks or the parent went.
bool tickWhileQuiet(Utility& utility, int quietPipe, int maxTicks,
                    const std::function<bool()>& done) {
    const SerialControl& port = utility.door().portManager().MsCom();
    for (int ticks = 0; ticks < maxTicks && !done();) {
        QCoreApplication::processEvents();
        if (port.outBufferCount() == 0 && vxk5sim::PseudoTerminal::readable(quietPipe)) {
            platform::TickCount::advanceTestClock(Utility::TickIntervalMs);
            utility.tick();
            while (port.outBufferCount() != 0) {
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            }
            char byte = 0;
            ticks += ::read(quietPipe, &byte, 1) == 1 ? 1 : maxTicks; // none: the parent went
        } else {
            vxk5sim::PseudoTerminal::readable(quietPipe, 1); // rather than spin
        }
    }
    return done();
}

// The parent's loop: the radio's end moved along, and a byte on the quiet pipe whenever the
// line is settled and the child has taken the last. False when done() did not come within
// maxTicks bytes or the child ended; real time only guards against a hang.
bool runChild(testsupport::PtyRadio& pty, pid_t child, const int quietPipe[2], int maxTicks,
              const std::function<bool()>& done) {
    const auto hang = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    siginfo_t ended{};
    for (int ticks = 0; ticks < maxTicks && !done() && ended.si_pid == 0 &&
                        std::chrono::steady_clock::now() < hang;) {
        pty.pump();
        if (!vxk5sim::PseudoTerminal::readable(quietPipe[0]) && pty.settled()) {
            ticks += ::write(quietPipe[1], "q", 1) == 1 ? 1 : 0;
        } else {
            vxk5sim::PseudoTerminal::readable(pty.terminal.master(), 1); // rather than spin
            waitid(P_PID, child, &ended, WEXITED | WNOHANG | WNOWAIT);
        }
    }
    return done();
}

class PtyUtilityTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!pty.terminal.ok()) {
            GTEST_SKIP() << "pseudo-terminals are not available here";
        }
        dir.writeFile("VSK5ALN.ini", "[PORTS]\nCOM1=" + pty.terminal.link() +
                                         "\n[OPTION]\nMR-1(Appear)=1\nMR-1(Frequency)=14600000\n");
        dir.writeFile("Const.ini",
                      "VS-K5 ALN Rev.1.0\n" + QByteArray("0\n").repeated(21).toStdString());
        utility = std::make_unique<Utility>(
            Utility::Places{dir.path(), {}, dir.file("Const.ini"), {}, dir.file("backups")});
        ASSERT_TRUE(utility->startUp(false)); // the test ticks it
    }
    Bytes radioMemory() const {
        return Bytes(pty.radio.memory().begin(), pty.radio.memory().end());
    }

    testsupport::TempDir dir;
    testsupport::PtyRadio pty{dir.file("radio")};
    testsupport::MessageRecorder recorder;
    std::unique_ptr<Utility> utility;
};

} // namespace

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

// The first session of the crash below, in the child that test starts (skipped otherwise): the
// utility, on the parent's terminal and folder, connects and sweeps the low band until killed.
TEST(CrashedSessionTest, SweepsUntilKilled) {
    const std::string dir = qEnvironmentVariable(FirstSessionFolder).toStdString();
    if (dir.empty()) {
        GTEST_SKIP() << "the first session of PtyUtilityTest, run by it alone";
    }
    testsupport::MessageRecorder recorder;
    Utility utility({dir, {}, dir + "Const.ini", {}, dir + "backups"});
    ASSERT_TRUE(utility.startUp(false)); // the quiet pipe ticks it
    utility.window().cmd00(0).click();
    ASSERT_TRUE(tickWhileQuiet(utility, STDIN_FILENO, 2000,
                               [&] { return utility.door().model().RigProp_EditEnabled(); }));
    utility.door().console().EnterPushed(8); // BPF Low ALL
    tickWhileQuiet(utility, STDIN_FILENO, 20000, [] { return false; });
    FAIL() << "not killed";
}

TEST_F(PtyUtilityTest, ASweepKilledMidwayIsPutBackAtTheNextConnect) {
    const Bytes before = radioMemory();
    int quietPipe[2];
    // The child holds the read end, as its standard input, and nothing else of the line (the
    // terminal closes on exec too): a write end there would keep the pipe open after the parent.
    ASSERT_EQ(pipe2(quietPipe, O_NONBLOCK | O_CLOEXEC), 0);
    posix_spawn_file_actions_t quietIn;
    posix_spawn_file_actions_init(&quietIn);
    posix_spawn_file_actions_adddup2(&quietIn, quietPipe[0], STDIN_FILENO);
    qputenv(FirstSessionFolder, dir.path().c_str());
    const char* argv[] = {"/proc/self/exe", "--gtest_filter=CrashedSessionTest.*", nullptr};
    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, argv[0], &quietIn, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&quietIn);
    qunsetenv(FirstSessionFolder);
    ASSERT_EQ(spawned, 0);
    // Killed once its journal is on disk and the radio holds a value the sweep sent.
    const std::string journal = "backups/VX-K5_0001_journal.txt";
    const bool midSweep = runChild(pty, child, quietPipe, 2000,
                                   [&] { return dir.exists(journal) && radioMemory() != before; });
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ::close(quietPipe[0]);
    ::close(quietPipe[1]);
    ASSERT_TRUE(midSweep);
    ASSERT_TRUE(WIFSIGNALED(status));
    for (int i = 0; i < 1000 && !pty.settled(); ++i) {
        pty.pump(false); // what was on its way to the dead session is lost
    }
    const Bytes cut = radioMemory();
    const QStringList backups =
        QDir(QString::fromStdString(dir.file("backups"))).entryList({"*.img"}, QDir::Files);
    ASSERT_EQ(backups.size(), 1);
    const Bytes backup = ImageFile::read(dir.file("backups/" + backups[0].toStdString())).bytes;
    const auto changed = std::inner_product(cut.begin(), cut.end(), backup.begin(), 0,
                                            std::plus<>(), std::not_equal_to<>());

    // The second session: Connect asks, and its default button answers.
    std::vector<std::string> asked;
    ui::setModalDialogHook([&](QDialog& dialog) {
        asked.push_back(dialog.findChild<QLabel*>()->text().toStdString());
        for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
            if (button->isDefault()) {
                button->click();
            }
        }
        return dialog.result();
    });
    clsIndOp_RigK5& model = utility->door().model();
    utility->window().cmd00(0).click();
    const bool putBack = pty.runUntil(
        utility->door().portManager().MsCom(),
        [&] { return model.RigProp_EditEnabled() && !recorder.messages().empty(); },
        [&] {
            platform::TickCount::advanceTestClock(Utility::TickIntervalMs);
            utility->tick();
        },
        2000);
    ui::setModalDialogHook({});
    ASSERT_TRUE(putBack);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].rfind("\"BPF Low ALL\" was cut off before its end (started ", 0), 0u);
    EXPECT_NE(asked[0].find("\n\nPut back the values it had changed?"), std::string::npos);
    EXPECT_EQ(radioMemory(), backup);
    EXPECT_EQ(recorder.messages().back().text,
              "The VX-K5 is back at the values from before \"BPF Low ALL\": all " +
                  std::to_string(changed) + " values verified.");
    EXPECT_FALSE(dir.exists(journal));
    const auto& runs = model.serviceJob().record().runs();
    EXPECT_EQ(runs.at(0).name, "Recovery after a cut-off");
    EXPECT_EQ(runs.at(0).outcome, RunOutcome::Completed);
}
