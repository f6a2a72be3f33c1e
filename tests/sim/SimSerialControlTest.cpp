// Tests of the in-process serial control that joins the link to the simulated radio: bytes
// both ways, the port state, refused opens, an unplugged device, the receive event and the
// radio's time taken from the (test) tick count, across its wrap.
#include "tests/support/SimSerialControl.h"

#include "platform/TickCount.h"
#include "tests/sim/SimTestUtil.h"

#include <gtest/gtest.h>

#include <climits>

using namespace simtest;
using testsupport::SimSerialControl;

namespace {

class SimSerialControlTest : public ::testing::Test {
  protected:
    void SetUp() override { platform::TickCount::setTestClock(5000); }
};

const Bytes kIdentityAnswer{0xFE, 0xFE, 0xEF, 0xEE, 0xE1, 0x73, 0x51, 0x00, 0x01, 0xFD};

Bytes concat(const Bytes& a, const Bytes& b) {
    Bytes out = a;
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

} // namespace

TEST_F(SimSerialControlTest, OutputReachesTheRadioAndItsAnswerWaitsInTheInputBuffer) {
    SimSerialControl port;
    EXPECT_FALSE(port.portOpen());
    ASSERT_TRUE(port.setPortOpen(true));
    EXPECT_TRUE(port.output(identityQuery()));
    EXPECT_EQ(port.written(), identityQuery());
    EXPECT_EQ(port.inBufferCount(), 20);
    EXPECT_EQ(port.input(), concat(identityQuery(), kIdentityAnswer));
    EXPECT_EQ(port.inBufferCount(), 0);
    EXPECT_EQ(port.radio().framesSeen(0xE0), 1);
    port.clearWritten();
    EXPECT_TRUE(port.written().empty());
}

TEST_F(SimSerialControlTest, ClosedPortRefusesOutputAndLosesWhatArrives) {
    SimSerialControl port;
    EXPECT_FALSE(port.output(identityQuery()));
    EXPECT_EQ(port.radio().framesSeen(0xE0), 0);
    ASSERT_TRUE(port.setPortOpen(true));
    port.output(identityQuery());
    EXPECT_TRUE(port.setPortOpen(false));
    EXPECT_TRUE(port.setPortOpen(true));
    EXPECT_EQ(port.inBufferCount(), 0) << "the answer came while the port was closed";
    EXPECT_EQ(port.openCount(), 2);
}

TEST_F(SimSerialControlTest, OpenFailsLikeAnAbsentPort) {
    SimSerialControl port;
    port.setOpenFails(true);
    EXPECT_FALSE(port.setPortOpen(true));
    EXPECT_FALSE(port.portOpen());
    port.setOpenFails(false);
    EXPECT_TRUE(port.setPortOpen(true));
}

TEST_F(SimSerialControlTest, UnpluggedDeviceClosesThePortAndRefusesEverything) {
    SimSerialControl port;
    ASSERT_TRUE(port.setPortOpen(true));
    port.unplug();
    EXPECT_FALSE(port.portOpen());
    EXPECT_FALSE(port.output(identityQuery()));
    EXPECT_FALSE(port.setPortOpen(true));
    port.plugIn();
    EXPECT_TRUE(port.setPortOpen(true));
}

TEST_F(SimSerialControlTest, NotifyReceivedRaisesTheReceiveEventOnlyWhenBytesWait) {
    SimSerialControl port;
    std::vector<int> events;
    port.setEventHandler([&events](int e) { events.push_back(e); });
    ASSERT_TRUE(port.setPortOpen(true));
    port.notifyReceived();
    EXPECT_TRUE(events.empty());
    port.output(identityQuery());
    port.notifyReceived();
    EXPECT_EQ(events, std::vector<int>{SerialControl::comEvReceive});
    port.raiseCommEvent(SerialControl::comEventFrame);
    EXPECT_EQ(events.back(), SerialControl::comEventFrame);
}

TEST_F(SimSerialControlTest, PacedRadioFollowsTheTestClockAcrossTheTickWrap) {
    platform::TickCount::setTestClock(INT32_MAX - 5);
    vxk5sim::SimConfig config;
    config.pacing = true;
    SimSerialControl port(config);
    ASSERT_TRUE(port.setPortOpen(true));
    port.output(identityQuery());
    EXPECT_EQ(port.inBufferCount(), 0) << "no time has passed";
    platform::TickCount::advanceTestClock(5); // the echo needs 10.4 ms
    EXPECT_EQ(port.inBufferCount(), 4);
    platform::TickCount::advanceTestClock(20); // now past the wrap
    EXPECT_EQ(port.inBufferCount(), 20);
    EXPECT_EQ(port.input(), concat(identityQuery(), kIdentityAnswer));
}

TEST_F(SimSerialControlTest, ABorrowedRadioIsTheOneThatAnswers) {
    vxk5sim::SimRadio radio;
    radio.config().wrongModel = true;
    SimSerialControl port(radio);
    EXPECT_EQ(&port.radio(), &radio);
    port.setPortOpen(true);
    port.output(identityQuery());
    const auto a = answers(port.input());
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0][4], 0x52);
}
