// SPDX-License-Identifier: GPL-3.0-or-later
// The composition root: the tick that stands aside while a modal window is open or a tick is
// already running, a key's frame and the next value on time against a paced radio, and a sweep
// killed with the program over the real serial path (QSerialPort on a pseudo-terminal) and put
// back at the next Connect. The rest of the whole utility over the real serial path is in
// LineFaultsTest.
#include "model/ImageFile.h"
#include "platform/TickCount.h"
#include "tests/support/Bench.h"
#include "tests/support/PtyRadio.h"
#include "ui/UiHooks.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <csignal>
#include <numeric>
#include <spawn.h>
#include <sys/wait.h>
#include <tuple>

extern char** environ;

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

// Runs the event loop (the port's notifiers, the timer) until done() or the deadline (real
// time). Each pass, quiet() moves the radio's end of the line; the program's clock moves 10 ms
// only when it finds nothing on its way: however busy the machine, no deadline of the link
// falls due under a late answer.
bool runWhileQuiet(const std::function<bool()>& done, int milliseconds,
                   const std::function<bool()>& quiet) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() <= milliseconds) {
        const bool mayMove = quiet();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        platform::TickCount::advanceTestClock(mayMove ? 10 : 0);
    }
    return done();
}

// The folder of the first session and the pipe on which it hears that its line is quiet.
const char* const FirstSessionFolder = "VSK5_TEST_FIRST_SESSION";
const char* const FirstSessionQuiet = "VSK5_TEST_FIRST_SESSION_QUIET";

class PtyUtilityTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (pty.slave < 0) {
            GTEST_SKIP() << "pseudo-terminals are not available here";
        }
        dir.writeFile("VSK5ALN.ini", "[PORTS]\nCOM1=" + pty.node + "\n");
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
    Bytes radioMemory() const {
        return Bytes(pty.radio.memory().begin(), pty.radio.memory().end());
    }

    testsupport::TempDir dir;
    testsupport::PtyRadio pty{dir.file("radio")};
    testsupport::MessageRecorder recorder;
    Utility::Places places;
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

// The first session of the crash below, in a child process: the utility built as main builds
// it, on the parent's pseudo-terminal and folder, connects and sweeps the low band until the
// parent kills it. Run only by that test.
TEST(CrashedSessionTest, DISABLED_SweepsUntilKilled) {
    const std::string dir = qEnvironmentVariable(FirstSessionFolder).toStdString();
    ASSERT_FALSE(dir.empty());
    const int quietPipe = qEnvironmentVariableIntValue(FirstSessionQuiet);
    const auto quiet = [quietPipe] { // the clock moves for each byte the parent sends
        char byte = 0;
        return ::read(quietPipe, &byte, 1) == 1;
    };
    testsupport::MessageRecorder recorder;
    Utility utility({dir, {}, dir + "Const.ini", {}, dir + "backups"});
    ASSERT_TRUE(utility.startUp());
    utility.window().cmd00(0).click();
    ASSERT_TRUE(runWhileQuiet([&] { return utility.model().RigProp_EditEnabled(); }, 15000, quiet));
    utility.console().EnterPushed(8); // BPF Low ALL
    runWhileQuiet([] { return false; }, 30000, quiet);
    FAIL() << "not killed";
}

TEST_F(PtyUtilityTest, ASweepKilledMidwayIsPutBackAtTheNextConnect) {
    dir.writeFile("VSK5ALN.ini", "[PORTS]\nCOM1=" + pty.node +
                                     "\n[OPTION]\nMR-1(Appear)=1\nMR-1(Frequency)=14600000\n");
    const Bytes before = radioMemory();
    int quietPipe[2];
    ASSERT_EQ(pipe2(quietPipe, O_NONBLOCK), 0);
    const std::string variables[] = {std::string(FirstSessionFolder) + "=" + dir.path(),
                                     std::string(FirstSessionQuiet) + "=" +
                                         std::to_string(quietPipe[0])};
    std::vector<char*> env{const_cast<char*>(variables[0].c_str()),
                           const_cast<char*>(variables[1].c_str())};
    for (char** e = environ; *e != nullptr; ++e) {
        env.push_back(*e);
    }
    env.push_back(nullptr);
    const char* argv[] = {"/proc/self/exe", "--gtest_also_run_disabled_tests",
                          "--gtest_filter=CrashedSessionTest.DISABLED_SweepsUntilKilled", nullptr};
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, argv[0], nullptr, nullptr, const_cast<char**>(argv), env.data()),
              0);
    // Killed once its journal is on disk and the radio holds a value the sweep sent.
    const std::string journal = "backups/VX-K5_0001_journal.txt";
    const bool midSweep =
        runWhileQuiet([&] { return dir.exists(journal) && radioMemory() != before; }, 20000,
                      [&] {
                          pty.pump();
                          if (pty.settled() && !pty.readable(quietPipe[0])) {
                              std::ignore = ::write(quietPipe[1], "q", 1);
                          }
                          return false;
                      });
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
    clsIndOp_RigK5& model = utility->model();
    utility->window().cmd00(0).click();
    const bool putBack = runWhileQuiet(
        [&] { return model.RigProp_EditEnabled() && !recorder.messages().empty(); }, 15000,
        [&] {
            pty.pump();
            return pty.settled();
        });
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
