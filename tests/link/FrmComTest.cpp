// The port manager over the fake port: opening in its fixed order, the port number range,
// line settings, the tick's order and its one report, the communication events, the guard
// against re-entering a tick from a modal window, and the settings hand-over.
#include "LinkFixture.h"

#include "platform/UiHooks.h"

using linktest::cat;
using linktest::pcFrame;
using linktest::radioFrame;
using platform::TickCount;

namespace {

const Bytes IdentityBody = {0xE0, 0x73, 0x51, 0x00, 0x00};

class FrmComTest : public linktest::LinkFixture {
  protected:
    void startIdentityQuery() {
        com->setComOpen(true);
        com->cln3D.setWorkMode(1);
        ASSERT_EQ(com->cln3D.Send(IdentityBody), 0);
    }
};

TEST_F(FrmComTest, ResetConfiguresThePort) {
    com->setComPortNum(5);
    com->setComBaud(19200);
    com->setErrOverflow(true);
    com->setErrCannotOpen(true);
    com->setComOpen(true);
    com->Reset();
    EXPECT_FALSE(com->comOpen());
    EXPECT_EQ(com->comPortNum(), 1);
    EXPECT_EQ(com->comBaud(), 9600);
    EXPECT_FALSE(com->errOverflow());
    EXPECT_FALSE(com->errCannotOpen());
    EXPECT_TRUE(port->dtr);
    EXPECT_TRUE(port->rts);
    EXPECT_EQ(port->inSize, 4096);
    EXPECT_EQ(port->outSize, 1024);
}

TEST_F(FrmComTest, PortNumberOutsideOneToTenIsIgnored) {
    const std::pair<std::int16_t, std::int16_t> cases[] = {{10, 10}, {0, 10}, {11, 10},  {-1, 10},
                                                           {1, 1},   {7, 7},  {32767, 7}};
    for (const auto& [written, expected] : cases) {
        com->setComPortNum(written);
        EXPECT_EQ(com->comPortNum(), expected) << "after writing " << written;
    }
    EXPECT_EQ(frmCom::imdMinComPortNum, 1);
    EXPECT_EQ(frmCom::imdmaxComPortNum, 10);
}

TEST_F(FrmComTest, OpeningTakesPortNumberAndLineSettings) {
    com->setComPortNum(4);
    com->setComBaud(4800);
    com->setComOpen(true);
    EXPECT_TRUE(com->comOpen());
    EXPECT_TRUE(com->comSendEnable());
    EXPECT_EQ(port->comPort, 4);
    EXPECT_EQ(port->settings, "4800,N,8,1");
    com->setLnkSettings("1200,E,7,2");
    EXPECT_EQ(port->settings, "1200,E,7,2");
}

TEST_F(FrmComTest, OpeningAnOpenPortOnlyEmptiesTheSendBufferAndResetsTheDriver) {
    startIdentityQuery();
    ASSERT_TRUE(com->cln3D.Running());
    const int clears = port->outClears;
    com->setComPortNum(2);
    com->setComOpen(true);
    EXPECT_EQ(port->opens, 1);
    EXPECT_EQ(port->comPort, 1); // not reopened on the new number
    EXPECT_EQ(port->outClears, clears + 1);
    EXPECT_FALSE(com->cln3D.Running());
}

TEST_F(FrmComTest, PortThatCannotBeOpened) {
    startIdentityQuery();
    com->setComOpen(false);
    port->openFails = true;
    com->setComOpen(true);
    EXPECT_TRUE(com->errCannotOpen());
    EXPECT_FALSE(com->comOpen());
    EXPECT_TRUE(com->totalError());
    EXPECT_FALSE(com->cln3D.Running());
    tick();
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(host.reports[0].text.substr(0, 20), "Cannot access COM 1.");
}

TEST_F(FrmComTest, TickReadsBeforeItChecksTheDeadline) {
    startIdentityQuery();
    port->inBuf.clear();
    TickCount::advanceTestClock(950);
    // Echo and answer arrive just as the echo deadline runs out; the tick reads them first.
    port->deliver(cat(pcFrame(IdentityBody), radioFrame(0xE1, {0x73, 0x51, 0x00, 0x01})));
    tick();
    EXPECT_EQ(com->cln3D.nowError(), 0);
    EXPECT_FALSE(com->cln3D.Running());
    EXPECT_EQ(com->cln3D.ansInfo().size(), 7u);
    EXPECT_EQ(host.taskCalls, 1);
}

TEST_F(FrmComTest, DriverErrorIsReportedOnceAndClosesThePort) {
    host.resetOnReport = false;
    startIdentityQuery();
    port->inBuf.clear(); // the echo never comes
    TickCount::advanceTestClock(1000);
    com->timSolid_Timer();
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(host.reports[0].lastError, 1);
    EXPECT_EQ(host.reports[0].text.substr(0, 24), "Cannot access COM port\r\n");
    EXPECT_FALSE(com->comOpen());
    EXPECT_EQ(com->cln3D.nowError(), 0);
    tick();
    EXPECT_EQ(host.reports.size(), 1u);
}

TEST_F(FrmComTest, ReceiveEventRunsATickAtOnce) {
    com->setComOpen(true);
    port->deliver({0x01}, true);
    EXPECT_EQ(host.taskCalls, 1);
    EXPECT_EQ(port->inBufferCount(), 0);
    port->event(SerialControl::comEvReceive); // nothing waiting: no tick
    EXPECT_EQ(host.taskCalls, 1);
}

TEST_F(FrmComTest, ReceiveOverflowClosesThePortAndIsReported) {
    com->setComOpen(true);
    port->event(SerialControl::comEventRxOver);
    EXPECT_TRUE(com->errOverflow());
    EXPECT_FALSE(com->comOpen());
    tick();
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(host.reports[0].text.substr(0, 22), "COM buffer Overflow.\r\n");
}

TEST_F(FrmComTest, LineErrorsDropThePartialFrame) {
    const int events[] = {SerialControl::comEventBreak,    SerialControl::comEventCTSTO,
                          SerialControl::comEventDSRTO,    SerialControl::comEventFrame,
                          SerialControl::comEventOverrun,  SerialControl::comEventCDTO,
                          SerialControl::comEventRxParity, SerialControl::comEventTxFull,
                          SerialControl::comEventDCB};
    const Bytes echo = pcFrame(IdentityBody);
    for (int event : events) {
        startIdentityQuery();
        port->inBuf.clear();
        com->cln3D.read(Bytes(echo.begin(), echo.begin() + 5));
        port->event(event);
        com->cln3D.read(Bytes(echo.begin() + 5, echo.end()));
        EXPECT_EQ(com->cln3D.waitState(), 1) << "event " << event;
        EXPECT_TRUE(com->comOpen()) << "event " << event;
        EXPECT_FALSE(com->errOverflow());
    }
}

TEST_F(FrmComTest, TickNeverReentersItself) {
    host.resetOnReport = false;
    int innerTicksRun = 0;
    host.onReport = [&] {
        // A message box's nested event loop: the timer fires again inside the report.
        const int before = host.taskCalls;
        com->timSolid_Timer();
        port->deliver({0x00}, true);
        innerTicksRun += host.taskCalls - before;
    };
    com->setErrCannotOpen(true);
    tick();
    EXPECT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(innerTicksRun, 0);
    EXPECT_EQ(port->inBufferCount(), 1); // the byte waits in the port
}

TEST_F(FrmComTest, TickIsSkippedWhileAModalWindowIsOpen) {
    com->setComOpen(true);
    port->deliver({0x42});
    {
        platform::ModalScope dialog;
        com->timSolid_Timer();
        EXPECT_EQ(host.taskCalls, 0);
        EXPECT_EQ(port->inBufferCount(), 1);
    }
    com->timSolid_Timer();
    EXPECT_EQ(host.taskCalls, 1);
    EXPECT_EQ(port->inBufferCount(), 0);
}

TEST_F(FrmComTest, TickWithoutHostStillClosesThePortOnError) {
    com->setHost(nullptr);
    startIdentityQuery();
    port->inBuf.clear();
    TickCount::advanceTestClock(1000);
    com->timSolid_Timer();
    EXPECT_FALSE(com->comOpen());
    EXPECT_EQ(com->cln3D.lastError(), 1);
}

TEST_F(FrmComTest, AllOverClosesThePortThenSavesThroughTheHost) {
    com->setComOpen(true);
    com->AllOver();
    EXPECT_FALSE(com->comOpen());
    ASSERT_EQ(host.saved.size(), 1u);
    EXPECT_EQ(host.saved[0], &com->profMain);
    com->loadData(com->profMain);
    ASSERT_EQ(host.loaded.size(), 1u);
}

TEST_F(FrmComTest, SettingsFileIsNamedAfterTheProduct) {
    EXPECT_EQ(com->profMain.Name(), "VSK5ALN.ini");
    EXPECT_EQ(com->profMain.Section(), "VS-K5 ALN Rev.1.0");
    EXPECT_FALSE(com->profMain.Path().empty());
    EXPECT_EQ(com->profMain.Path().back(), '/');
}

TEST_F(FrmComTest, TimerTicksEveryFiftyMilliseconds) {
    EXPECT_EQ(com->timSolid().interval(), 50);
    EXPECT_FALSE(com->timSolid().isActive());
}

TEST_F(FrmComTest, DestroyingThePortManagerUnregistersIt) {
    com.reset();
    EXPECT_EQ(gObjCom(), nullptr);
}

} // namespace
