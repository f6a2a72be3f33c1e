// SPDX-License-Identifier: GPL-3.0-or-later
// The whole utility on a test bench: built by its composition root exactly as the program
// builds it, its serial control joined to the simulated radio in the same process, and driven
// tick by tick on the test clock (the machinery it shares with the model's bench is SimBench).
//
//   Bench bench;
//   bench.window().cmd00(0).click();          // "Connect"
//   bench.runUntil([&] { return bench.model().RigProp_EditEnabled(); });
//   bench.e8Payloads();                        // every E8 payload on the wire, in order
#pragma once

#include "app/Utility.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/SimBench.h"

#include <memory>
#include <string>

namespace testsupport {

class Bench : public SimBench {
  public:
    explicit Bench(const vxk5sim::SimConfig& config = {}, const std::string& settings = "");

    Utility& utility() { return *root; }
    frmMain& window() { return root->window(); }
    RigDoor& door() override { return root->door(); }
    MessageRecorder& messages() { return recorder; }

  private:
    void runTick() override { root->tick(); }

    MessageRecorder recorder;
    std::unique_ptr<Utility> root; // goes first, while the scratch folder is still current
};

} // namespace testsupport
