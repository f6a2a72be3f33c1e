// The port manager and the sequencer's hold on the port: the port number range, a port that
// cannot be opened, the automatic release, the receive overflow event, and the guards against
// a tick inside a tick or while a modal window is open.
#include "tests/link/LinkFixture.h"

#include "platform/UiHooks.h"

using namespace linktest;
using platform::TickCount;

using FrmComTest = LinkTest;

TEST_F(FrmComTest, PortNumberOutsideOneToTenIsIgnored) {
    const std::pair<std::int16_t, std::int16_t> cases[] = {{10, 10}, {0, 10}, {11, 10}, {1, 1}};
    for (const auto& [written, expected] : cases) {
        com->setComPortNum(written);
        EXPECT_EQ(com->comPortNum(), expected) << "after writing " << written;
    }
}

TEST_F(FrmComTest, PortThatCannotBeOpenedIsReportedOnce) {
    port->setOpenFails(true);
    EXPECT_FALSE(gObjSeq().easySendE8NoAnswer(UnlockText));
    EXPECT_TRUE(com->errCannotOpen());
    EXPECT_FALSE(com->comOpen());
    EXPECT_TRUE(port->written().empty());
    tick();
    tick();
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(host.reports[0].text.substr(0, 22), "Cannot access COM 1.\r\n");
    EXPECT_FALSE(gObjSeq().OpRunning());
}

TEST_F(FrmComTest, PortIsReleasedAfterTheHoldTimeAndNeverWithoutOne) {
    for (const int hold : {3000, 0}) {
        gObjSeq().setComHoldReload(hold);
        ASSERT_TRUE(gObjSeq().easySendE8NoAnswer(UnlockText));
        gObjSeq().task(); // the operation ends; the hold time runs from this last busy call
        TickCount::advanceTestClock(2999);
        gObjSeq().task();
        EXPECT_TRUE(com->comOpen()) << hold;
        TickCount::advanceTestClock(hold == 0 ? 1000000 : 1);
        gObjSeq().task();
        EXPECT_EQ(com->comOpen(), hold == 0) << hold;
    }
}

TEST_F(FrmComTest, ALostPortStaysShutAndTheTickReportsItBeforeAnythingElse) {
    ASSERT_TRUE(gObjSeq().easySendE8NoAnswer(UnlockText));
    port->unplug();
    port->plugIn(); // even a device back at once is not reopened before the report
    EXPECT_TRUE(com->errPortLost());
    EXPECT_FALSE(gObjSeq().easySendE8NoAnswer(UnlockText));
    EXPECT_FALSE(com->comOpen());
    tick();
    EXPECT_EQ(host.taskCalls, 0); // nothing of the session ran on the lost port
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(host.reports[0].text.substr(0, 22), "Cannot access COM 1.\r\n");
    EXPECT_FALSE(com->errPortLost());
    EXPECT_TRUE(gObjSeq().easySendE8NoAnswer(UnlockText)); // a new session may open it
}

TEST_F(FrmComTest, ReceiveOverflowClosesThePortAndIsReported) {
    com->setComOpen(true);
    port->raiseCommEvent(SerialControl::comEventRxOver);
    EXPECT_TRUE(com->errOverflow());
    EXPECT_FALSE(com->comOpen());
    tick();
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(host.reports[0].text.substr(0, 22), "COM buffer Overflow.\r\n");
}

TEST_F(FrmComTest, TickNeverRunsWhileAModalWindowIsOpenNorInsideATick) {
    com->setComOpen(true);
    port->output({0x42}); // comes back on the cable
    {
        platform::ModalScope dialog;
        com->timSolid_Timer();
        EXPECT_EQ(host.taskCalls, 0);
        EXPECT_EQ(port->inBufferCount(), 1);
    }
    com->timSolid_Timer();
    EXPECT_EQ(host.taskCalls, 1);
    EXPECT_EQ(port->inBufferCount(), 0);

    host.resetOnReport = false;
    int innerTicks = 0;
    int waiting = 0;
    host.onReport = [&] { // a message box's nested event loop: timer and receive event fire
        const int before = host.taskCalls;
        com->timSolid_Timer();
        port->output({0x00});
        port->notifyReceived();
        innerTicks += host.taskCalls - before;
        waiting = port->inBufferCount(); // the byte waits in the port
    };
    com->setErrOverflow(true);
    tick();
    EXPECT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(innerTicks, 0);
    EXPECT_EQ(waiting, 1);
}
