// SPDX-License-Identifier: GPL-3.0-or-later
// The test bench: the whole utility built against the in-process simulated radio.
#include "tests/support/Bench.h"

namespace testsupport {

Bench::Bench(const vxk5sim::SimConfig& config, const std::string& settings)
    : SimBench(config, settings) {
    Utility::Places places;
    places.settingsFolder = folder().path();
    places.backupFolder = folder().path() + "backups";
    root = std::make_unique<Utility>(places, takeSerial());
    root->startUp(false); // the bench runs the ticks itself, on the test clock
}

} // namespace testsupport
