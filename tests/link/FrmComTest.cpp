// SPDX-License-Identifier: GPL-3.0-or-later
// The port manager and the sequencer's hold on the port: the port number range, the
// automatic release, and a port that went away.
#include "tests/link/LinkFixture.h"

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

TEST_F(FrmComTest, PortIsReleasedAfterTheHoldTimeAndNeverWithoutOne) {
    for (const int hold : {3000, 0}) {
        seq->setComHoldReload(hold);
        ASSERT_TRUE(seq->easySendE8NoAnswer(UnlockText));
        seq->task(); // the operation ends; the hold time runs from this last busy call
        TickCount::advanceTestClock(2999);
        seq->task();
        EXPECT_TRUE(com->comOpen()) << hold;
        TickCount::advanceTestClock(hold == 0 ? 1000000 : 1);
        seq->task();
        EXPECT_EQ(com->comOpen(), hold == 0) << hold;
    }
}

TEST_F(FrmComTest, ALostPortStaysShutAndTheTickReportsItBeforeAnythingElse) {
    ASSERT_TRUE(seq->easySendE8NoAnswer(UnlockText));
    port->unplug();
    port->plugIn(); // even a device back at once is not reopened before the report
    EXPECT_TRUE(com->errPortLost());
    EXPECT_FALSE(seq->easySendE8NoAnswer(UnlockText));
    EXPECT_FALSE(com->comOpen());
    tick();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].text.substr(0, 22), "Cannot access COM 1.\r\n");
    EXPECT_FALSE(com->errPortLost());
    EXPECT_TRUE(seq->easySendE8NoAnswer(UnlockText)); // a new session may open it
}
