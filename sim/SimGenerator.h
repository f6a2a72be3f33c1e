// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated RF signal generator of the virtual bench: it takes SCPI lines and answers as a
// bench generator does. Pure: a line in, a reply out; SimGeneratorServer puts it on a socket or
// a pseudo-terminal, and a SimRadio it is attached to reads its output for the detector.
//
//   "*IDN?"              -> "VXK5SIM,Simulated signal generator,0,1.0"
//   "FREQ 145525000 Hz"  -> (nothing; the frequency is set)
//   "POW -47.5 dBm"      -> (nothing)
//   "OUTP ON"            -> (nothing)
//   "OUTP?"              -> "1"
//   "VOLT 3"             -> (nothing; -113,"Undefined header" is queued)
//   "SYST:ERR?"          -> "-113,\"Undefined header\"", then "0,\"No error\""
//
// Keywords go by SCPI's rules: any case, the short form (FREQ) or the long one (FREQuency), an
// optional leading colon and SOURce: prefix; FREQuency:CW is FREQuency. Numbers take the units Hz,
// kHz, MHz, GHz and dBm.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace vxk5sim {

// Fault knobs, all off by default.
struct GeneratorFaults {
    int answerDelayMs = 0;    // every answer is held this long (a slow instrument)
    int dropAfterLines = -1;  // the connection is closed when this many more lines have come
    std::string settingError; // when set, every setting is refused with this error text,
                              // e.g. -222,"Data out of range"
};

class SimGenerator {
  public:
    static constexpr std::int64_t kLowestHz = 9000;
    static constexpr std::int64_t kHighestHz = 3000000000;
    static constexpr double kLowestDbm = -140.0;
    static constexpr double kHighestDbm = 13.0;

    struct Reply {
        enum class Kind { None, Answer, Drop } kind = Kind::None;
        std::string text; // the answer, without its line end
    };

    // One line from the computer (its line end taken off).
    Reply handle(const std::string& line);

    bool outputOn() const { return output; }
    std::int64_t frequencyHz() const { return frequency; }
    double levelDbm() const { return level; }
    GeneratorFaults& faults() { return knobs; }
    // Every line received, in order (tests look for what was, or was not, sent).
    const std::vector<std::string>& received() const { return lines; }

  private:
    Reply command(const std::string& header, const std::string& argument, bool query);
    void setNumber(bool isFrequency, const std::string& argument); // FREQ or POW
    void queueError(const std::string& error);

    bool output = false;
    std::int64_t frequency = 1000000000; // 1 GHz, out of the radio's bands, as after a reset
    double level = -100.0;
    std::deque<std::string> errors;
    std::vector<std::string> lines;
    GeneratorFaults knobs;
};

} // namespace vxk5sim
