// SPDX-License-Identifier: GPL-3.0-or-later
// The RF signal generator of the bench, on an SCPI instrument: frequency in Hz, level in dBm,
// output on and off, identity. The commands follow the common SCPI dialect unless a profile
// file says otherwise, and a level above the highest allowed never leaves the program.
//
//   SignalGenerator generator(instrument, GeneratorCommands{}, -20.0);
//   generator.setFrequency(145525000);  -> "FREQ 145525000 Hz"
//   generator.setLevel(-47.5);          -> "POW -47.5 dBm"
//   generator.setLevel(-10.0);          -> nothing sent; refused("The level -10.0 dBm ...")
//   generator.switchOutputOff();        -> "OUTP OFF" ahead of every setting still waiting
#pragma once

#include "instruments/ScpiInstrument.h"

#include <cstdint>
#include <string>

namespace instruments {

// Command templates: {Hz} stands for the frequency, {dBm} for the level.
struct GeneratorCommands {
    std::string frequency = "FREQ {Hz} Hz";
    std::string level = "POW {dBm} dBm";
    std::string outputOn = "OUTP ON";
    std::string outputOff = "OUTP OFF";
    std::string identify = "*IDN?";
};

// The templates of a profile file's [Generator] section (keys Frequency, Level, OutputOn,
// OutputOff, Identify); a key the file lacks keeps the common dialect's command.
//   [Generator]
//   Frequency=:SOUR:FREQ:CW {Hz}
GeneratorCommands loadGeneratorProfile(const std::string& path);

// The highest level the program sets unless the settings allow another.
inline constexpr double kDefaultMaximumLevelDbm = -20.0;

class SignalGenerator : public QObject {
    Q_OBJECT
  public:
    SignalGenerator(ScpiInstrument& instrument, GeneratorCommands commands,
                    double maximumLevelDbm = kDefaultMaximumLevelDbm, QObject* parent = nullptr);

    ScpiInstrument& instrument() { return scpi; }
    double maximumLevel() const { return maximumDbm; }

    // Each returns the instrument's ticket for the command; setLevel() returns 0 when the
    // level is refused (refused() has then been emitted and nothing was sent).
    int identify();
    int setFrequency(std::int64_t hz);
    int setLevel(double dbm);
    int setOutput(bool on);
    // Ahead of every setting still waiting, which are dropped: whatever failed before, the
    // generator must not keep sending into the radio.
    int switchOutputOff();

  signals:
    void refused(const QString& message);

  private:
    ScpiInstrument& scpi;
    GeneratorCommands commands;
    double maximumDbm;
};

} // namespace instruments
