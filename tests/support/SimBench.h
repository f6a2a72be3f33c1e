// SPDX-License-Identifier: GPL-3.0-or-later
// What every bench shares, whoever drives the door: a scratch folder holding the settings file
// and "Const.ini" that is the current directory while the bench stands, the in-process line to
// the simulated radio, and the ticks on the test clock as the program's timers give them. The
// window's bench (Bench) and the model's (DoorBench) differ only in what one tick runs and in
// who owns the door.
//
//   bench.connect();                          // "Connect", then every value out once
//   bench.runUntil([&] { return bench.door().procedureStep() == 0; });
//   bench.e8Payloads();                       // every E8 payload on the wire, in order
#pragma once

#include "model/RigDoor.h"
#include "sim/SimConfig.h"
#include "tests/support/SimSerialControl.h"
#include "tests/support/TempDir.h"

#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace testsupport {

class SimBench {
  public:
    virtual RigDoor& door() = 0;
    frmCom& com() { return door().portManager(); }
    clsCmcCln3Sequence& seq() { return door().seq(); }
    clsConsole& console() { return door().console(); }
    clsIndOp_RigK5& model() { return door().model(); }
    TestChannels& channels() { return door().channels(); }
    clsCmcEeprom& image() { return door().identityAndImage().objEep(); }
    SimSerialControl& serial() { return *control; }
    vxk5sim::SimRadio& radio() { return control->radio(); }
    TempDir& folder() { return dir; }

    // One timer tick: the clock moves 50 ms, then the program's tick runs; a wait that falls
    // due in between gets its own tick at its time, as the due timer gives it.
    void tick(int count = 1);
    // The same for any root on this line: its waits fall due at msUntilDue(), runTick is its tick.
    static void tickOnTestClock(SimSerialControl& line,
                                const std::function<std::int32_t()>& msUntilDue,
                                const std::function<void()>& runTick);
    // Ticks until done() holds; false when it did not within maxTicks.
    bool runUntil(const std::function<bool()>& done, int maxTicks = 2000);
    // "Connect" and wait until the items are loaded and every value has gone out once.
    bool connect();
    // Ticks until every changed value has gone out and no operation runs.
    bool allSent();

    // The payloads of the E8 frames the program wrote (after E8 and the four identity bytes),
    // as upper-case hexadecimal text.
    std::vector<std::string> e8Payloads() const;
    void clearWire() { control->clearWritten(); }

  protected:
    // The scratch folder set up and entered, the line built; the derived bench builds the
    // program on takeSerial().
    SimBench(const vxk5sim::SimConfig& config, const std::string& settings);
    virtual ~SimBench();
    std::unique_ptr<SimSerialControl> takeSerial() { return std::move(line); }
    // What the program's timer runs every 50 ms.
    virtual void runTick() = 0;

  private:
    TempDir dir;
    QString previousFolder;
    std::unique_ptr<SimSerialControl> line;
    SimSerialControl* control = nullptr;
};

} // namespace testsupport
