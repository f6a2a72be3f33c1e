// SPDX-License-Identifier: GPL-3.0-or-later
// The model on a bench without a window: the door, a recording view in the window's place and
// the simulated radio at the far end of the line, ticked on the test clock as the window's root
// ticks it (the door's tick, then its failure's report). Links Qt Core only.
//
//   DoorBench bench;
//   bench.connect();
//   bench.door().pressEnter(*bench.door().itemOf(ProcedureId::BpfLow));
//   bench.view().messages;                   // what the technician would have been told
#pragma once

#include "tests/support/RecordingView.h"
#include "tests/support/SimBench.h"

#include <memory>

namespace testsupport {

class DoorBench : public SimBench {
  public:
    // The settings text's test channels ("MR-n(Appear)", "MR-n(Frequency)" of [OPTION]) are
    // set up as the window would read them.
    explicit DoorBench(const vxk5sim::SimConfig& config = {}, const std::string& settings = "");

    RigDoor& door() override { return *rigDoor; }
    RecordingView& view() { return recorder; }
    RecordingView& messages() { return recorder; } // as the window's bench names its recorder

  private:
    void runTick() override;

    RecordingView recorder;
    std::unique_ptr<RigDoor> rigDoor; // goes first, while the scratch folder is still current
};

} // namespace testsupport
