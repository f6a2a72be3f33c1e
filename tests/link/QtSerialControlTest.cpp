// The QSerialPort path: line settings texts, COM number to device name, refusals, a device
// that vanishes, and the whole link over a real pseudo-terminal against the simulated radio
// (identity check, clone read, readouts).
#include "PtyRadio.h"

#include "app/common/CommonRoutines.h"
#include "link/LinkGlobals.h"
#include "link/clsCmcCln3Sequence.h"
#include "link/clsCmcRadio.h"
#include "link/frmCom.h"
#include "platform/QtSerialControl.h"
#include "platform/TickCount.h"
#include "tests/support/RecordingLinkHost.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>

using platform::TickCount;

namespace {

struct SettingsCase {
    const char* text;
    bool valid;
    qint32 baud;
    QSerialPort::Parity parity;
    QSerialPort::DataBits data;
    QSerialPort::StopBits stop;
};

TEST(QtSerialControlTest, LineSettingsTexts) {
    const SettingsCase cases[] = {
        {"9600,N,8,1", true, 9600, QSerialPort::NoParity, QSerialPort::Data8, QSerialPort::OneStop},
        {"19200,E,7,2", true, 19200, QSerialPort::EvenParity, QSerialPort::Data7,
         QSerialPort::TwoStop},
        {"1200,o,5,1.5", true, 1200, QSerialPort::OddParity, QSerialPort::Data5,
         QSerialPort::OneAndHalfStop},
        {"4800,M,6,1", true, 4800, QSerialPort::MarkParity, QSerialPort::Data6,
         QSerialPort::OneStop},
        {"4800,S,8,1", true, 4800, QSerialPort::SpaceParity, QSerialPort::Data8,
         QSerialPort::OneStop},
        {"9600,N,8", false, 0, {}, {}, {}},
        {"9600,X,8,1", false, 0, {}, {}, {}},
        {"9600,N,9,1", false, 0, {}, {}, {}},
        {"9600,N,4,1", false, 0, {}, {}, {}},
        {"9600,N,8,3", false, 0, {}, {}, {}},
        {"fast,N,8,1", false, 0, {}, {}, {}},
        {"0,N,8,1", false, 0, {}, {}, {}},
        {"", false, 0, {}, {}, {}},
        {"9600,N,8,1,1", false, 0, {}, {}, {}},
    };
    for (const auto& c : cases) {
        const auto parsed = QtSerialControl::parseSettings(c.text);
        ASSERT_EQ(parsed.has_value(), c.valid) << c.text;
        if (parsed) {
            EXPECT_EQ(parsed->baud, c.baud) << c.text;
            EXPECT_EQ(parsed->parity, c.parity) << c.text;
            EXPECT_EQ(parsed->dataBits, c.data) << c.text;
            EXPECT_EQ(parsed->stopBits, c.stop) << c.text;
        }
    }
}

TEST(QtSerialControlTest, PortsSectionMapsComNumbers) {
    testsupport::TempDir dir;
    dir.writeFile("VSK5ALN.ini", "[OPTION]\nComPort=2\n[ports]\ncom2 = /dev/ttyACM7\n");
    QtSerialControl control(dir.file("VSK5ALN.ini"));
    EXPECT_EQ(control.deviceName(2), "/dev/ttyACM7");
#ifndef Q_OS_WIN
    // Unmapped numbers: the USB adapter's name when that device exists, else the built-in port.
    const std::string usb = "/dev/ttyUSB2";
    EXPECT_EQ(control.deviceName(3),
              QFileInfo::exists(QString::fromStdString(usb)) ? usb : "/dev/ttyS2");
    QtSerialControl unmapped;
    EXPECT_EQ(unmapped.deviceName(2).substr(0, 8), "/dev/tty");
#endif
}

TEST(QtSerialControlTest, AbsentDeviceCannotBeOpened) {
    testsupport::TempDir dir;
    dir.writeFile("ports.ini", "[PORTS]\nCOM1=" + dir.file("no-such-device") + "\n");
    frmCom com(std::make_unique<QtSerialControl>(dir.file("ports.ini")));
    com.setComOpen(true);
    EXPECT_TRUE(com.errCannotOpen());
    EXPECT_FALSE(com.comOpen());
    EXPECT_FALSE(com.cln3D.SendEnable());
    EXPECT_EQ(com.cln3D.RealSend({0xE0}), 1);
}

TEST(QtSerialControlTest, ClosedPortRefusesOutputAndHasNothingWaiting) {
    QtSerialControl control;
    EXPECT_FALSE(control.portOpen());
    EXPECT_FALSE(control.output({0x01}));
    EXPECT_EQ(control.inBufferCount(), 0);
    EXPECT_EQ(control.outBufferCount(), 0);
    EXPECT_TRUE(control.input().empty());
    control.clearOutBuffer();
    EXPECT_TRUE(control.setPortOpen(false));
}

TEST(QtSerialControlTest, UnusableSettingsTextRefusesTheOpen) {
    linktest::PtyRadio pty;
    if (!pty.ok()) {
        GTEST_SKIP() << "pseudo-terminals are not available here";
    }
    testsupport::TempDir dir;
    dir.writeFile("ports.ini", "[PORTS]\nCOM1=" + pty.path() + "\n");
    QtSerialControl control(dir.file("ports.ini"));
    control.setSettings("9600,Q,8,1");
    EXPECT_FALSE(control.setPortOpen(true));
    control.setSettings("9600,N,8,1");
    EXPECT_TRUE(control.setPortOpen(true));
    EXPECT_TRUE(control.portOpen());
    control.setOutBufferSize(8);
    EXPECT_FALSE(control.output(Bytes(9, 0x00))); // does not fit the output buffer
    EXPECT_TRUE(control.output(Bytes(8, 0x00)));
}

// Runs the event loop (the real clock, the port's notifiers, the timer) until done() or the
// deadline.
bool waitFor(const std::function<bool()>& done, int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > milliseconds) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

class SystemClockScope {
  public:
    SystemClockScope() { TickCount::useSystemClock(); }
    ~SystemClockScope() { TickCount::useTestClock(0); }
};

class PtyLinkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!pty.ok()) {
            GTEST_SKIP() << "pseudo-terminals are not available here";
        }
        dir.writeFile("ports.ini", "[PORTS]\nCOM1=" + pty.path() + "\n");
        auto control = std::make_unique<QtSerialControl>(dir.file("ports.ini"));
        qtControl = control.get();
        resetLinkGlobals();
        com = std::make_unique<frmCom>(std::move(control));
        setGObjCom(com.get());
        com->setHost(&host);
        gObjRadio().setRadioNameM("7351");
        gObjRadio().setRadionameS("0001");
        gObjSeq();
        host.onTask = [] {
            gObjSeq().task();
            if (gObjSeq().OpRunning()) {
                gObjSeq().task();
            }
        };
    }

    void TearDown() override {
        resetLinkGlobals();
        com.reset();
    }

    SystemClockScope systemClock;
    linktest::PtyRadio pty;
    testsupport::TempDir dir;
    QtSerialControl* qtControl = nullptr;
    std::unique_ptr<frmCom> com;
    testsupport::RecordingLinkHost host;
};

TEST_F(PtyLinkTest, IdentityCloneReadAndReadoutOverTheRealSerialPath) {
    com->timSolid().start();
    gObjSeq().easySendE8NoAnswer("0035526B39547A33577131");
    ASSERT_TRUE(com->comOpen());
    ASSERT_TRUE(waitFor([&] { return pty.radio.adjustmentState(); }, 3000));

    gObjSeq().easyCloneRead();
    ASSERT_TRUE(waitFor([] { return !gObjSeq().OpRunning(); }, 5000));
    ASSERT_TRUE(host.reports.empty()) << host.reports[0].text;
    EXPECT_EQ(gObjSeq().ansNameM(), "7351");
    EXPECT_EQ(pty.radio.framesSeen(0xE0), 1);
    EXPECT_EQ(pty.radio.framesSeen(0xE2), 1);
    const Bytes radioMemory(pty.radio.memory().begin(), pty.radio.memory().end());
    ASSERT_NE(radioMemory, Bytes(2048, 0)); // a comparison of two blank images proves nothing
    EXPECT_EQ(gObjRadio().objEep().ReadBlock(0, 2048), radioMemory);

    gObjSeq().easySendE8ReqAnswer("03" + IntToAsciiHex2(0));
    ASSERT_TRUE(waitFor([] { return !gObjSeq().OpRunning(); }, 3000));
    ASSERT_TRUE(host.reports.empty());
    const Bytes& answer = com->cln3D.varLastE8Answer();
    ASSERT_EQ(answer.size(), 7u);
    EXPECT_EQ(HexAsciiToInt(Bytes(answer.begin() + 5, answer.end())), pty.radio.readout(0));
}

TEST_F(PtyLinkTest, SeveralCommandsSentInOneGoAllReachTheRadio) {
    // A procedure step may send three commands back to back; each send reopens the port and
    // empties its send buffer, which must not throw away the frames before it.
    com->timSolid().start();
    gObjSeq().easySendE8NoAnswer("0035526B39547A33577131");
    ASSERT_TRUE(waitFor([&] { return pty.radio.adjustmentState(); }, 3000));
    gObjSeq().easySendE8NoAnswer("04" + IntToAsciiHex2(0x98));
    gObjSeq().easySendE8NoAnswer("05" + IntToAsciiHex2(0xA1));
    gObjSeq().easySendE8NoAnswer("06" + IntToAsciiHex2(0xAA));
    ASSERT_TRUE(waitFor([&] { return pty.radio.e8Value(6) == 0xAA; }, 3000));
    EXPECT_EQ(pty.radio.e8Value(4), 0x98);
    EXPECT_EQ(pty.radio.e8Value(5), 0xA1);
}

TEST_F(PtyLinkTest, VanishedDeviceClosesThePortWithoutSpinning) {
    int events = 0;
    com->setComOpen(true);
    ASSERT_TRUE(com->comOpen());
    qtControl->setEventHandler([&](int) { ++events; });
    pty.hangUp();
    const bool closed = waitFor([&] { return !com->comOpen(); }, 2000);
    EXPECT_TRUE(closed);
    // Once closed, the event loop is quiet: no stream of errors or receive events.
    const int afterClose = events;
    waitFor([] { return false; }, 200);
    EXPECT_EQ(events, afterClose);
    EXPECT_LE(events, 2);
    com->setComOpen(true); // the device is gone: cannot open
    EXPECT_TRUE(com->errCannotOpen());
}

} // namespace
