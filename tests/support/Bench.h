// SPDX-License-Identifier: GPL-3.0-or-later
// The whole utility on a test bench: built by its composition root exactly as the program
// builds it, its serial control joined to the simulated radio in the same process, and driven
// tick by tick on the test clock. The settings file and "Const.ini" live in a scratch folder
// that is also the current directory while the bench stands.
//
//   Bench bench;
//   bench.window().cmd00(0).click();          // "Connect"
//   bench.runUntil([&] { return bench.model().RigProp_EditEnabled(); });
//   bench.e8Payloads();                        // every E8 payload on the wire, in order
#pragma once

#include "app/Utility.h"
#include "sim/SimConfig.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/SimSerialControl.h"
#include "tests/support/TempDir.h"

#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace testsupport {

class Bench {
  public:
    explicit Bench(const vxk5sim::SimConfig& config = {}, const std::string& settings = "");
    ~Bench();
    Bench(const Bench&) = delete;
    Bench& operator=(const Bench&) = delete;

    Utility& utility() { return *root; }
    frmMain& window() { return root->window(); }
    RigDoor& door() { return root->door(); }
    frmCom& com() { return door().portManager(); }
    clsCmcCln3Sequence& seq() { return door().seq(); }
    clsConsole& console() { return door().console(); }
    clsIndOp_RigK5& model() { return door().model(); }
    TestChannels& channels() { return door().channels(); }
    clsCmcEeprom& image() { return door().identityAndImage().objEep(); }
    SimSerialControl& serial() { return *control; }
    vxk5sim::SimRadio& radio() { return control->radio(); }
    MessageRecorder& messages() { return recorder; }
    TempDir& folder() { return dir; }

    // One timer tick: the clock moves 50 ms, then the utility's tick runs; a wait that falls
    // due in between gets its own tick at its time, as the due timer gives it.
    void tick(int count = 1);
    // Ticks until done() holds; false when it did not within maxTicks.
    bool runUntil(const std::function<bool()>& done, int maxTicks = 2000);
    // "Connect" and wait until the items are loaded and every value has gone out once.
    bool connect();

    // The frames the utility wrote, split at FD; and the payloads of its E8 frames (after
    // E8 and the four identity bytes), as upper-case hexadecimal text.
    std::vector<Bytes> framesWritten() const;
    std::vector<std::string> e8Payloads() const;
    void clearWire() { control->clearWritten(); }

  private:
    TempDir dir;
    QString previousFolder;
    MessageRecorder recorder;
    SimSerialControl* control = nullptr;
    std::unique_ptr<Utility> root;
};

} // namespace testsupport
