// SPDX-License-Identifier: GPL-3.0-or-later
// The whole link over a real pseudo-terminal, through QSerialPort, against the simulated radio
// answering on the master side: a device that goes away closes the port once and raises nothing
// more. A whole session over this path is in LineFaultsTest.
#include "tests/link/LinkFixture.h"

#include "platform/QtSerialControl.h"
#include "tests/support/PtyRadio.h"
#include "tests/support/TempDir.h"

using namespace linktest;
using testsupport::PtyRadio;

// The line is served as the port's events come; each time the line is quiet the test clock
// moves 50 ms on.
class PtyLinkTest : public LinkTest {
  protected:
    void SetUp() override {
        LinkTest::SetUp();
        if (!pty.terminal.ok()) {
            GTEST_SKIP() << "pseudo-terminals are not available here";
        }
        dir.writeFile("ports.ini", "[PORTS]\nCOM1=" + pty.terminal.link() + "\n");
        auto control = std::make_unique<QtSerialControl>(dir.file("ports.ini"));
        qtControl = control.get();
        wire(std::move(control));
        QObject::connect(com.get(), &frmCom::dataArrived, [this] { service(); });
    }
    void service() {
        com->serviceLine();
        seq->task();
        if (com->totalError()) {
            report();
        }
    }
    // Runs the port's events, the test clock 50 ms on at each quiet moment, until done() or
    // maxTicks.
    bool waitFor(const std::function<bool()>& done, int maxTicks) {
        return pty.runUntil(
            *qtControl, done, [] { platform::TickCount::advanceTestClock(50); }, maxTicks);
    }

    testsupport::TempDir dir;
    PtyRadio pty{dir.file("radio")};
    QtSerialControl* qtControl = nullptr;
};

TEST_F(PtyLinkTest, VanishedDeviceClosesThePortWithoutSpinning) {
    com->setComOpen(true);
    ASSERT_TRUE(com->comOpen());
    int events = 0;
    qtControl->setEventHandler([&](int) { ++events; });
    pty.hangUp();
    EXPECT_TRUE(waitFor([&] { return !com->comOpen(); }, 40));
    const int afterClose = events; // once closed, no stream of errors or receive events
    waitFor([] { return false; }, 40);
    EXPECT_EQ(events, afterClose);
    EXPECT_LE(events, 2);
    com->setComOpen(true); // the device is gone: cannot open
    EXPECT_TRUE(com->errCannotOpen());
}
