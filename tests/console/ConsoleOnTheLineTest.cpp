// The console's live command on the real link: the sequencer, the frame driver and the port
// manager, with the simulated radio at the far end of an in-process serial control. What a
// value item sends must reach the radio as the right frame and the right value.
#include "app/common/CommonRoutines.h"
#include "console/clsConsole.h"
#include "link/LinkGlobals.h"
#include "link/clsCmcCln3Sequence.h"
#include "link/clsCmcRadio.h"
#include "link/frmCom.h"
#include "platform/TickCount.h"
#include "tests/support/SimSerialControl.h"

#include <gtest/gtest.h>

#include <memory>

TEST(ConsoleOnTheLineTest, ValuesReachTheRadio) {
    // clang-format off
    struct Case { int command, value; const char *e8, *frame; };
    const Case cases[] = {
        {0x0C, 128, "0C3830", "FEFEEEEFE8735100010C3830FD"}, // Power(Hi)
        {0x12, 60, "123343", "FEFEEEEFE873510001123343FD"},   // BPF Low T2
        {0x20, -2, "204645", "FEFEEEEFE873510001204645FD"}}; // as its low byte, 0xFE
    // clang-format on
    resetLinkGlobals();
    frmCom com(std::make_unique<testsupport::SimSerialControl>());
    auto& serial = static_cast<testsupport::SimSerialControl&>(com.MsCom());
    setGObjCom(&com);
    gObjRadio().setRadioNameM("7351");
    gObjRadio().setRadionameS("0001");
    // Ticks as the program does (a second sequencer step in the same tick while one runs)
    // until the sequence ends, and once more so that the radio takes in the whole frame.
    const auto runToEnd = [&com] {
        bool running = true;
        for (int i = 0; i < 200 && running; ++i) {
            running = gObjSeq().OpRunning();
            platform::TickCount::advanceTestClock(frmCom::TickIntervalMs);
            com.timSolid_Timer();
            gObjSeq().task();
            if (gObjSeq().OpRunning()) {
                gObjSeq().task();
            }
        }
    };
    ASSERT_TRUE(gObjSeq().easySendE8NoAnswer("0035526B39547A33577131")); // adjustment state
    runToEnd();

    clsConsole console;
    console.myCln3Seq = &gObjSeq();
    console.AddItem();
    console.setMin(0, -128);
    for (const Case& c : cases) {
        serial.clearWritten();
        console.setE8Command(0, c.command);
        console.setValue(0, c.value);
        console.SendE8(0);
        EXPECT_EQ(gObjSeq().e8HexStrToSend(), c.e8);
        runToEnd();
        EXPECT_EQ(ByteStrToHex(serial.written()), c.frame);
        EXPECT_EQ(serial.radio().e8Value(c.command), c.value & 0xFF);
    }
    resetLinkGlobals(); // before the port manager goes
}
