// A link wired as the program wires it, over the fake port: the port manager registered as
// gObjCom, a recording host whose task runs the sequencer the way the main window does, the
// radio identity of the start-up, and a tick that advances the test clock by 50 ms.
#pragma once

#include "FakeSerialControl.h"
#include "Frames.h"

#include "link/LinkGlobals.h"
#include "link/clsCmcCln3Sequence.h"
#include "link/clsCmcRadio.h"
#include "link/frmCom.h"
#include "platform/TickCount.h"
#include "tests/support/RecordingLinkHost.h"

#include <gtest/gtest.h>

#include <memory>

namespace linktest {

class LinkFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::TickCount::setTestClock(5000);
        resetLinkGlobals();
        auto control = std::make_unique<FakeSerialControl>();
        port = control.get();
        com = std::make_unique<frmCom>(std::move(control));
        setGObjCom(com.get());
        com->setHost(&host);
        gObjRadio().setRadioNameM("7351");
        gObjRadio().setRadionameS("0001");
        gObjRadio().cloneWriteAdrList_Clear();
        gObjRadio().cloneWriteAdrList_Add(0x0000, 0x07FF);
        gObjSeq(); // created at start-up, before the first tick
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

    // One timer tick, 50 ms after the previous one.
    void tick() {
        platform::TickCount::advanceTestClock(frmCom::TickIntervalMs);
        com->timSolid_Timer();
    }

    // Ticks until the running operation ends (bounded); false if it never did.
    bool runToEnd(int maxTicks = 400) {
        for (int i = 0; i < maxTicks; ++i) {
            if (!gObjSeq().OpRunning()) {
                return true;
            }
            tick();
        }
        return !gObjSeq().OpRunning();
    }

    FakeSerialControl* port = nullptr;
    std::unique_ptr<frmCom> com;
    testsupport::RecordingLinkHost host;
};

} // namespace linktest
