// The QSerialPort path: line settings texts, COM number to device name, an absent device, and
// the whole link over a real pseudo-terminal against the simulated radio, which answers on the
// master side (identity check, clone read, readout, commands in one go, a vanished device).
#include "tests/link/LinkFixture.h"

#include "app/common/CommonRoutines.h"
#include "platform/QtSerialControl.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

using namespace linktest;
using Q = QSerialPort;

static auto fields(const QtSerialControl::LineSettings& s) {
    return std::tuple(s.baud, s.parity, s.dataBits, s.stopBits);
}

TEST(QtSerialControlTest, LineSettingsTexts) {
    const std::pair<const char*, QtSerialControl::LineSettings> valid[] = {
        {"9600,N,8,1", {9600, Q::NoParity, Q::Data8, Q::OneStop}},
        {"19200,E,7,2", {19200, Q::EvenParity, Q::Data7, Q::TwoStop}},
        {"1200,o,5,1.5", {1200, Q::OddParity, Q::Data5, Q::OneAndHalfStop}},
        {"4800,M,6,1", {4800, Q::MarkParity, Q::Data6, Q::OneStop}},
        {"4800,S,8,1", {4800, Q::SpaceParity, Q::Data8, Q::OneStop}}};
    for (const auto& [text, settings] : valid) {
        const auto parsed = QtSerialControl::parseSettings(text);
        ASSERT_TRUE(parsed.has_value()) << text;
        EXPECT_EQ(fields(*parsed), fields(settings)) << text;
    }
    for (const char* bad : {"9600,N,8", "9600,X,8,1", "9600,N,9,1", "9600,N,4,1", "9600,N,8,3",
                            "fast,N,8,1", "0,N,8,1", "", "9600,N,8,1,1"}) {
        EXPECT_FALSE(QtSerialControl::parseSettings(bad).has_value()) << bad;
    }
}

TEST(QtSerialControlTest, PortsSectionMapsComNumbersAndAnAbsentDeviceCannotBeOpened) {
    testsupport::TempDir dir;
    const std::string absent = dir.file("no-such-device");
    dir.writeFile("VSK5ALN.ini",
                  "[OPTION]\nComPort=2\n[ports]\ncom2 = /dev/ttyACM7\nCOM1=" + absent);
    QtSerialControl control(dir.file("VSK5ALN.ini"));
    EXPECT_EQ(control.deviceName(2), "/dev/ttyACM7");
    // Unmapped numbers: the USB adapter's name when that device exists, else the built-in port.
    EXPECT_EQ(control.deviceName(3),
              QFileInfo::exists("/dev/ttyUSB2") ? "/dev/ttyUSB2" : "/dev/ttyS2");
    frmCom com(std::make_unique<QtSerialControl>(dir.file("VSK5ALN.ini")));
    com.setComOpen(true);
    EXPECT_TRUE(com.errCannotOpen());
    EXPECT_FALSE(com.comOpen());
    EXPECT_EQ(com.cln3D.RealSend({0xE0}), 1);
}

// The mapping follows the files handed in at each lookup, the first that maps a number wins.
TEST(QtSerialControlTest, PortsAreLookedUpInTheFilesInTheirOrder) {
    testsupport::TempDir dir;
    dir.writeFile("user.ini", "[PORTS]\nCOM3=/dev/ttyACM5\n");
    dir.writeFile("prog.ini", "[PORTS]\nCOM3=/dev/ttyACM9\nCOM4=/dev/ttyACM4\n");
    std::vector<std::string> files = {dir.file("prog.ini")};
    QtSerialControl control(QtSerialControl::PortsFiles([&files] { return files; }));
    EXPECT_EQ(control.deviceName(3), "/dev/ttyACM9");
    files = {dir.file("user.ini"), dir.file("prog.ini")};
    EXPECT_EQ(control.deviceName(3), "/dev/ttyACM5");
    EXPECT_EQ(control.deviceName(4), "/dev/ttyACM4");
}

// The simulated radio on the master side of a pseudo-terminal, moved along by pump(). The
// slave side is held open too, so the master sees no hang-up between two openings by the port
// (which sets the terminal to raw mode itself).
struct PtyRadio {
    PtyRadio() {
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0 && ptsname(master)) {
            path = ptsname(master);
            slave = ::open(path.c_str(), O_RDWR | O_NOCTTY);
        }
        clock.start();
    }
    ~PtyRadio() { hangUp(); }
    // The far end goes away, as a pulled USB cable takes the device with it.
    void hangUp() {
        ::close(slave);
        ::close(master);
        slave = master = -1;
    }
    // Hands what the computer wrote to the radio, and as much of its answer as the line takes.
    void pump() {
        std::uint8_t in[512];
        for (ssize_t n = 0; master >= 0 && (n = ::read(master, in, sizeof in)) > 0;) {
            radio.receive(Bytes(in, in + n), clock.elapsed());
        }
        pending = cat(pending, radio.transmit(clock.elapsed()));
        const ssize_t n = master < 0 ? 0 : ::write(master, pending.data(), pending.size());
        pending.erase(pending.begin(), pending.begin() + std::max<ssize_t>(n, 0));
    }

    int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    int slave = -1;
    std::string path;
    QElapsedTimer clock;
    Bytes pending;
    vxk5sim::SimRadio radio;
};

// The link's deadlines stay on the test clock here, frozen: every wait is bounded by the real
// time that waitFor allows instead.
class PtyLinkTest : public LinkTest {
  protected:
    void SetUp() override {
        LinkTest::SetUp();
        if (pty.slave < 0) {
            GTEST_SKIP() << "pseudo-terminals are not available here";
        }
        dir.writeFile("ports.ini", "[PORTS]\nCOM1=" + pty.path + "\n");
        auto control = std::make_unique<QtSerialControl>(dir.file("ports.ini"));
        qtControl = control.get();
        wire(std::move(control));
        com->timSolid().start();
    }
    // Runs the event loop (port notifiers, the 50 ms timer) until done() or the deadline.
    bool waitFor(const std::function<bool()>& done, int milliseconds) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() <= milliseconds) {
            pty.pump();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return done();
    }
    bool idle() {
        return waitFor([] { return !gObjSeq().OpRunning(); }, 5000) && host.reports.empty();
    }

    PtyRadio pty;
    testsupport::TempDir dir;
    QtSerialControl* qtControl = nullptr;
};

TEST_F(PtyLinkTest, IdentityCloneReadReadoutAndCommandsInOneGoOverTheRealSerialPath) {
    gObjSeq().easySendE8NoAnswer(UnlockText);
    ASSERT_TRUE(waitFor([&] { return pty.radio.adjustmentState(); }, 3000));
    gObjSeq().easyCloneRead();
    ASSERT_TRUE(idle());
    EXPECT_EQ(gObjSeq().ansNameM(), "7351");
    const Bytes memory(pty.radio.memory().begin(), pty.radio.memory().end());
    ASSERT_NE(memory, Bytes(2048, 0)); // two blank images would prove nothing
    EXPECT_EQ(image(), memory);

    gObjSeq().easySendE8ReqAnswer("03" + IntToAsciiHex2(0));
    ASSERT_TRUE(idle());
    const Bytes& answer = com->cln3D.varLastE8Answer();
    ASSERT_EQ(answer.size(), 7u);
    EXPECT_EQ(HexAsciiToInt(Bytes(answer.begin() + 5, answer.end())), pty.radio.readout(0));

    // Each send asks for an open port, which empties the send buffer: that must not throw
    // away the frames before it.
    gObjSeq().easySendE8NoAnswer("04" + IntToAsciiHex2(0x98));
    gObjSeq().easySendE8NoAnswer("05" + IntToAsciiHex2(0xA1));
    gObjSeq().easySendE8NoAnswer("06" + IntToAsciiHex2(0xAA));
    ASSERT_TRUE(waitFor([&] { return pty.radio.e8Value(6) == 0xAA; }, 3000));
    EXPECT_EQ(pty.radio.e8Value(4), 0x98);
    EXPECT_EQ(pty.radio.e8Value(5), 0xA1);
}

TEST_F(PtyLinkTest, VanishedDeviceClosesThePortWithoutSpinning) {
    com->timSolid().stop();
    com->setComOpen(true);
    ASSERT_TRUE(com->comOpen());
    int events = 0;
    qtControl->setEventHandler([&](int) { ++events; });
    pty.hangUp();
    EXPECT_TRUE(waitFor([&] { return !com->comOpen(); }, 2000));
    const int afterClose = events; // once closed, no stream of errors or receive events
    waitFor([] { return false; }, 200);
    EXPECT_EQ(events, afterClose);
    EXPECT_LE(events, 2);
    com->setComOpen(true); // the device is gone: cannot open
    EXPECT_TRUE(com->errCannotOpen());
}
