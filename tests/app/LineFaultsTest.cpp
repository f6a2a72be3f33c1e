// SPDX-License-Identifier: GPL-3.0-or-later
// Line faults end to end: the whole utility as the program builds it (its QSerialPort control,
// its window) over a pseudo-terminal, against the simulated radio with a bad record near the end
// of the read or heavy noise, and a device that goes away during a clone read or goes and comes
// back at once. For each: the exact message, the frames the radio heard before it and none
// after, the port closed, the memory image untouched after it, and then Connect to a healthy
// radio succeeds. (The other radio faults are in the connect-failures trace, a device lost
// under a sweep or a key in the lost-port trace, both on the in-process line.)
//
// Last, a sweep killed with the program (a child process of the test) and put back at the next
// Connect over the same line.
//
// The program's clock moves 50 ms a tick, and only while the line is quiet (nothing on its way
// in either direction), so every deadline is the program's own and no case waits on real time.
#include "platform/TickCount.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/PtyRadio.h"
#include "tests/support/TempDir.h"

#include "app/Utility.h"
#include "common/CommonRoutines.h"
#include "model/ImageFile.h"
#include "ui/UiHooks.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QPushButton>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <numeric>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

// Radios are configured with designated initializers that leave every other knob at its
// default; GCC 12 still warns about the knobs without a default member initializer.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

using testsupport::PtyRadio;

namespace {

std::string checkList(const std::string& first) {
    return first + "\r\n\r\nCheck the following:\r\n\r\n- The COM port settings.\r\n"
                   "- Cloning cable connections.\r\n- The VX-K5 power is ON.";
}

const std::string PortGone = checkList("Cannot access COM 1.");
const std::string NoEcho = checkList("Cannot access COM port");
const std::string BadData = checkList("Illegal data.");

class LineFaultTest;

struct LineFault {
    const char* name;
    vxk5sim::SimConfig radio;
    // From a connected utility (when `connected`) or from Connect clicked, to the fault.
    bool connected;
    std::function<void(LineFaultTest&)> act;
    std::string message;
    std::string frames; // the commands the radio heard from the start of act to the message
};

class LineFaultTest : public ::testing::TestWithParam<LineFault> {
  public:
    void SetUp() override {
        plugIn();
        if (!pty->terminal.ok()) {
            GTEST_SKIP() << "pseudo-terminals are not available here";
        }
        dir.writeFile("VSK5ALN.ini", "[PORTS]\nCOM1=" + dir.file("radio") + "\n" + moreSettings);
        dir.writeFile("Const.ini",
                      "VS-K5 ALN Rev.1.0\n" + QByteArray("0\n").repeated(21).toStdString());
        places.settingsFolder = dir.path();
        places.constantsFile = dir.file("Const.ini");
        // Every Connect writes a backup: in a folder of the test's own, never in one that the
        // cases running beside it in other processes write into in the same second.
        places.backupFolder = dir.file("backups");
        utility = std::make_unique<Utility>(places);
        ASSERT_TRUE(utility->startUp(false)); // the test ticks it
    }

    // A radio on a new pseudo-terminal, where the settings' COM 1 points.
    void plugIn() { pty = std::make_unique<PtyRadio>(dir.file("radio")); }
    // The device goes, and its node with it (a new terminal may take the old number).
    void unplug() { pty->hangUp(); }

    // Moves the line along; ticks (50 ms of the program's clock) only while the line is
    // quiet. False when done() did not come within maxTicks.
    bool run(const std::function<bool()>& done, int maxTicks = 2000) {
        return pty->runUntil(
            utility->door().portManager().MsCom(), done,
            [this] {
                platform::TickCount::advanceTestClock(Utility::TickIntervalMs);
                utility->tick();
            },
            maxTicks);
    }
    bool connect() {
        const std::size_t shown = recorder.messages().size();
        utility->window().cmd00(0).click();
        return run([&] { return connected() || recorder.messages().size() > shown; }) &&
               connected();
    }
    // Loaded, every value out once, the image what the radio holds.
    bool connected() {
        clsIndOp_RigK5& model = utility->door().model();
        const auto& memory = pty->radio.memory();
        return model.RigProp_EditEnabled() && !utility->door().seq().OpRunning() &&
               pty->radio.e8Value(0x10) >= 0 && image() == Bytes(memory.begin(), memory.end());
    }
    Bytes image() { return utility->door().identityAndImage().objEep().ReadBlock(0, 2048); }
    // The command bytes of the frames the radio heard since `from`, as "E8 E0 E2".
    std::string framesHeard(std::size_t from = 0) const {
        std::string commands;
        const Bytes& heard = pty->heard;
        for (std::size_t at = from; at + 4 < heard.size(); ++at) {
            if (heard[at] == 0xFE && heard[at + 1] == 0xFE && heard[at + 2] == 0xEE) {
                commands += (commands.empty() ? "" : " ") + ByteStrToHex({heard[at + 4]});
                at += 4;
            }
        }
        return commands;
    }

    testsupport::TempDir dir;
    std::string moreSettings; // after the port's mapping in the settings file
    testsupport::MessageRecorder recorder;
    std::unique_ptr<PtyRadio> pty;
    Utility::Places places;
    std::unique_ptr<Utility> utility;
};

} // namespace

TEST_P(LineFaultTest, EndsInItsMessageSendsNothingMoreAndConnectsAgain) {
    const LineFault& c = GetParam();
    if (c.connected) {
        ASSERT_TRUE(connect());
    }
    pty->radio.config() = c.radio;
    const std::size_t mark = pty->heard.size();
    c.act(*this);
    ASSERT_TRUE(run([this] { return !recorder.messages().empty(); }));
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text, c.message);
    EXPECT_EQ(framesHeard(mark), c.frames);
    EXPECT_FALSE(utility->door().portManager().comOpen());
    const std::size_t heard = pty->heard.size();
    const Bytes imageAtMessage = image();
    run([] { return false; }, 40); // two seconds more: nothing goes out, nothing comes in
    EXPECT_EQ(pty->heard.size(), heard);
    EXPECT_EQ(image(), imageAtMessage);
    EXPECT_EQ(recorder.messages().size(), 1u);

    if (pty->terminal.master() < 0) {
        plugIn();
    }
    pty->radio.config() = {};
    ASSERT_TRUE(connect());
    EXPECT_EQ(recorder.messages().size(), 1u);
    const std::string backup =
        utility->door().model().serviceJob().record().sessionStarts().back().backupFile;
    EXPECT_EQ(backup.rfind(dir.file("backups/VX-K5_0001_"), 0), 0u) << backup;
}

namespace {

void clickConnect(LineFaultTest& t) {
    t.utility->window().cmd00(0).click();
}

// Connect clicked; the device goes away once the clone read has stored some records (the
// radio's answer is let through slowly, so the read is still under way).
void unplugDuringCloneRead(LineFaultTest& t) {
    t.pty->linePerPump = 64;
    clickConnect(t);
    ASSERT_TRUE(t.run([&] { return t.utility->door().portManager().cln3D.lastEeAdr() >= 0x100; }));
    t.unplug();
}

// Back on the same device before the utility has looked at the line again.
void unplugAndBackAtOnce(LineFaultTest& t) {
    t.unplug();
    t.plugIn();
}

// clang-format off
const LineFault lineFaults[] = {
    {"BadRecordNearTheEnd", {.badChecksumRecord = 126}, false, clickConnect, BadData, "E8 E0 E2"},
    {"NoiseTenPercent", {.noiseRate = 0.1, .noiseSeed = 3}, false, clickConnect, NoEcho, "E8 E0"},
    {"UnpluggedDuringCloneRead", {}, false, unplugDuringCloneRead, PortGone, "E8 E0 E2"},
    {"UnpluggedAndBackAtOnce", {}, true, unplugAndBackAtOnce, PortGone, ""},
};
// clang-format on

} // namespace

INSTANTIATE_TEST_SUITE_P(Faults, LineFaultTest, ::testing::ValuesIn(lineFaults),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

// The folder of the first session, which hears on its standard input that its line is quiet.
const char* const FirstSessionFolder = "VSK5_TEST_FIRST_SESSION";
// The journal the killed sweep leaves on disk for the next Connect.
const char* const KilledJournal = "backups/VX-K5_0001_journal.txt";

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

// The second session's settings show test channel 1 for the sweep.
class KilledSessionTest : public LineFaultTest {
  public:
    KilledSessionTest() { moreSettings = "[OPTION]\nMR-1(Appear)=1\nMR-1(Frequency)=14600000\n"; }
    Bytes radioMemory() const {
        return Bytes(pty->radio.memory().begin(), pty->radio.memory().end());
    }
    // The first session, in a child on this test's terminal and folder, killed once its journal
    // is on disk and the radio holds a value the sweep sent; whether it got that far.
    bool killFirstSessionMidSweep();
};

bool KilledSessionTest::killFirstSessionMidSweep() {
    const Bytes before = radioMemory();
    int quietPipe[2];
    // The child holds the read end, as its standard input, and nothing else of the line (the
    // terminal closes on exec too): a write end there would keep the pipe open after the parent.
    if (pipe2(quietPipe, O_NONBLOCK | O_CLOEXEC) != 0) {
        return false;
    }
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
    const auto cutMidSweep = [&] { return dir.exists(KilledJournal) && radioMemory() != before; };
    const bool midSweep = spawned == 0 && runChild(*pty, child, quietPipe, 2000, cutMidSweep);
    int status = 0;
    if (spawned == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    }
    ::close(quietPipe[0]);
    ::close(quietPipe[1]);
    return midSweep && WIFSIGNALED(status);
}

} // namespace

// The first session of the crash below, in the child that test starts (skipped otherwise): the
// utility, on the parent's terminal and folder, connects and sweeps the low band until killed.
TEST(CrashedSessionTest, SweepsUntilKilled) {
    const std::string dir = qEnvironmentVariable(FirstSessionFolder).toStdString();
    if (dir.empty()) {
        GTEST_SKIP() << "the first session of KilledSessionTest, run by it alone";
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

TEST_F(KilledSessionTest, ASweepKilledMidwayIsPutBackAtTheNextConnect) {
    ASSERT_TRUE(killFirstSessionMidSweep());
    for (int i = 0; i < 1000 && !pty->settled(); ++i) {
        pty->pump(false); // what was on its way to the dead session is lost
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
    const bool putBack =
        run([&] { return model.RigProp_EditEnabled() && !recorder.messages().empty(); });
    ui::setModalDialogHook({});
    ASSERT_TRUE(putBack);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].rfind("\"BPF Low ALL\" was cut off before its end (started ", 0), 0u);
    EXPECT_NE(asked[0].find("\n\nPut back the values it had changed?"), std::string::npos);
    EXPECT_EQ(radioMemory(), backup);
    EXPECT_EQ(recorder.messages().back().text,
              "The VX-K5 is back at the values from before \"BPF Low ALL\": all " +
                  std::to_string(changed) + " values verified.");
    EXPECT_FALSE(dir.exists(KilledJournal));
    const auto& runs = model.serviceJob().record().runs();
    EXPECT_EQ(runs.at(0).name, "Recovery after a cut-off");
    EXPECT_EQ(runs.at(0).outcome, RunOutcome::Completed);
}
