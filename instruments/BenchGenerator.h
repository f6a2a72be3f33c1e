// SPDX-License-Identifier: GPL-3.0-or-later
// The bench's signal generator as the settings describe it: the resource name taken apart, its
// transport, the SCPI instrument on it and the generator role with the profile's commands and
// the highest level allowed. The window and the command line build it the same way.
//
//   GeneratorSetup setup{"TCPIP::127.0.0.1::5025::SOCKET", "", -20.0, 2000};
//   std::string why;
//   auto bench = BenchGenerator::create(setup, why);  // nullptr and why when the name is wrong
//   bench->generator().identify();                    // the connection opens on the first command
#pragma once

#include "instruments/ScpiInstrument.h"
#include "instruments/SignalGenerator.h"

#include <memory>
#include <string>

namespace instruments {

// What a bench may mean: the longest settle time after a change, and the levels a maximum may be
// set to (no bench generator goes beyond either end). The settings file and the dialog that
// edits it both keep to these.
inline constexpr int kLongestSettleMs = 60000;
inline constexpr double kLowestMaximumDbm = -140.0;
inline constexpr double kHighestMaximumDbm = 30.0;

struct GeneratorSetup {
    std::string resource; // the VISA resource name; empty: no generator on the bench
    std::string profile;  // a profile file whose [Generator] section overrides commands
    double maximumLevelDbm = kDefaultMaximumLevelDbm;
    int timeoutMs = ScpiInstrument::kDefaultTimeoutMs;
};

class BenchGenerator {
  public:
    // The generator the setup names, its connection opening; nullptr with why set when the
    // resource name is not one this program knows.
    static std::unique_ptr<BenchGenerator> create(const GeneratorSetup& setup, std::string& why);

    ScpiInstrument& instrument() { return *scpi; }
    SignalGenerator& generator() { return *role; }

  private:
    BenchGenerator() = default;

    std::unique_ptr<ScpiInstrument> scpi;
    std::unique_ptr<SignalGenerator> role;
};

} // namespace instruments
