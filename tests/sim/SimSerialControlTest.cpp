// SPDX-License-Identifier: GPL-3.0-or-later
// The in-process serial control that joins the link to the simulated radio (and carries every
// link test against it): the radio's time is taken from the wrapping tick count.
#include "tests/support/SimSerialControl.h"

#include "platform/TickCount.h"
#include "tests/sim/SimTestUtil.h"

#include <gtest/gtest.h>

#include <climits>

using namespace simtest;
using testsupport::SimSerialControl;

TEST(SimSerialControl, PacedRadioFollowsTheTestClockAcrossTheTickWrap) {
    platform::TickCount::setTestClock(INT32_MAX - 5);
    vxk5sim::SimConfig config;
    config.pacing = true;
    SimSerialControl port(config);
    ASSERT_TRUE(port.setPortOpen(true));
    port.output(IdentityQuery);
    EXPECT_EQ(port.inBufferCount(), 0) << "no time has passed";
    platform::TickCount::advanceTestClock(5); // the echo needs 10.4 ms
    EXPECT_EQ(port.inBufferCount(), 4);
    platform::TickCount::advanceTestClock(20); // now past the wrap
    EXPECT_EQ(port.input(), cat(IdentityQuery, IdentityAnswer));
}
