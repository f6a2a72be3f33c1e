// The console's live command on the real link: the sequencer, the frame driver and the port
// manager, with the simulated radio at the far end of an in-process serial control. What a
// value item sends must reach the radio as the right frame and the right value.
#include "console/ConsoleEvents.h"
#include "console/clsConsole.h"
#include "link/LinkGlobals.h"
#include "link/clsCmcCln3Sequence.h"
#include "link/clsCmcRadio.h"
#include "link/frmCom.h"
#include "platform/TickCount.h"
#include "tests/support/RecordingLinkHost.h"
#include "tests/support/SimSerialControl.h"

#include <QListWidget>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class WaitRecorder : public ConsoleEvents {
  public:
    std::string ConsEv_Disp(clsConsole&, std::int16_t, std::int16_t, std::int16_t) override {
        return {};
    }
    void ConsEv_SendE8(clsConsole&, std::int16_t, std::int16_t, std::int16_t) override {}
    void ConsEv_Enter(clsConsole&, std::int16_t, std::int16_t, std::int16_t) override {}
    void WaitE8Required(std::int32_t wt) override { waits.push_back(wt); }
    std::vector<std::int32_t> waits;
};

class ConsoleOnTheLineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::TickCount::setTestClock(1000);
        resetLinkGlobals();
        auto control = std::make_unique<testsupport::SimSerialControl>();
        serial = control.get();
        com = std::make_unique<frmCom>(std::move(control));
        setGObjCom(com.get());
        com->setHost(&host);
        gObjRadio().setRadioNameM("7351");
        gObjRadio().setRadionameS("0001");
        host.onTask = [] {
            gObjSeq().task();
            if (gObjSeq().OpRunning()) {
                gObjSeq().task();
            }
        };

        console.myListBox = &list;
        console.myEventClass = &events;
        console.myCln3Seq = &gObjSeq();
        console.myEeprom = &gObjRadio().objEep();

        // The radio takes adjustment values only in its adjustment state.
        gObjSeq().easySendE8NoAnswer("00"
                                     "35526B39547A33577131");
        ASSERT_TRUE(runToEnd());
        ASSERT_TRUE(serial->radio().adjustmentState());
        serial->clearWritten();
    }

    void TearDown() override {
        resetLinkGlobals();
        com.reset();
    }

    bool runToEnd() {
        for (int i = 0; i < 200 && gObjSeq().OpRunning(); ++i) {
            platform::TickCount::advanceTestClock(frmCom::TickIntervalMs);
            com->timSolid_Timer();
        }
        // One more tick lets the radio take in the whole frame.
        platform::TickCount::advanceTestClock(frmCom::TickIntervalMs);
        com->timSolid_Timer();
        return !gObjSeq().OpRunning();
    }

    std::int16_t addValueItem(const std::string& title, std::int32_t adr, std::int16_t cmd) {
        console.AddItem();
        const auto i = static_cast<std::int16_t>(console.ListCount() - 1);
        console.setTitle(i, title);
        console.setEeAdr(i, adr);
        console.setE8Command(i, cmd);
        console.setBarExist(i, true);
        return i;
    }

    testsupport::SimSerialControl* serial = nullptr;
    std::unique_ptr<frmCom> com;
    testsupport::RecordingLinkHost host;
    QListWidget list;
    WaitRecorder events;
    clsConsole console;
};

TEST_F(ConsoleOnTheLineTest, PowerHiAt128GoesOutAs0C3830) {
    const auto i = addValueItem("   Power(Hi)", 0x7A9, 0x0C);
    console.setValue(i, 128);
    console.SendE8(i);

    EXPECT_EQ(gObjSeq().e8HexStrToSend(), "0C3830");
    ASSERT_TRUE(runToEnd());
    const Bytes frame{0xFE, 0xFE, 0xEE, 0xEF, 0xE8, 0x73, 0x51, 0x00, 0x01, 0x0C, 0x38, 0x30, 0xFD};
    EXPECT_EQ(serial->written(), frame);
    EXPECT_EQ(serial->radio().e8Value(0x0C), 128);
    ASSERT_EQ(events.waits.size(), 1u);
    EXPECT_EQ(events.waits[0], 200);
    EXPECT_EQ(gObjRadio().objEep().ReadByte(0x7A9), 128);
    EXPECT_TRUE(host.reports.empty());
}

TEST_F(ConsoleOnTheLineTest, Command12Value60GoesOutAs123343) {
    const auto i = addValueItem(" BPF Low T2 ", 0x7B1, 0x12);
    console.setValue(i, 60);
    console.SendE8(i);

    EXPECT_EQ(gObjSeq().e8HexStrToSend(), "123343");
    ASSERT_TRUE(runToEnd());
    const Bytes frame{0xFE, 0xFE, 0xEE, 0xEF, 0xE8, 0x73, 0x51, 0x00, 0x01, 0x12, 0x33, 0x43, 0xFD};
    EXPECT_EQ(serial->written(), frame);
    EXPECT_EQ(serial->radio().e8Value(0x12), 60);
    EXPECT_EQ(gObjRadio().objEep().ReadByte(0x7B1), 60);
}

TEST_F(ConsoleOnTheLineTest, NegativeValueGoesOutAndIsStoredAsItsLowByte) {
    const auto i = addValueItem("S", 0x7D4, 0x20);
    console.setEeDataSigned(i, true);
    console.setMin(i, -128);
    console.setValue(i, -2);
    console.SendE8(i);
    EXPECT_EQ(gObjSeq().e8HexStrToSend(), "204645"); // "FE"
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(serial->radio().e8Value(0x20), 0xFE);
    EXPECT_EQ(gObjRadio().objEep().ReadByte(0x7D4), 0xFE);
}

TEST_F(ConsoleOnTheLineTest, EveryStepOfAnItemReachesTheRadio) {
    const auto i = addValueItem("         SQL", 0x7BD, 0x07);
    console.setValue(i, 254);
    for (int step = 0; step < 3; ++step) {
        console.UpDown(i, 1); // 255, then against the end twice: still sent each time
        ASSERT_TRUE(console.flgChanged(i));
        console.setFlgChanged(i, false);
        console.SendE8(i);
        ASSERT_TRUE(runToEnd());
    }
    EXPECT_EQ(serial->radio().framesSeen(0xE8), 4); // the unlock and three values
    EXPECT_EQ(serial->radio().e8Value(0x07), 255);
}

} // namespace
