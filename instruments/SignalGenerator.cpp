// SPDX-License-Identifier: GPL-3.0-or-later
// The signal generator role.
#include "instruments/SignalGenerator.h"

#include "instruments/InstrumentMessages.h"
#include "instruments/ScpiNumber.h"
#include "platform/IniFile.h"

#include <charconv>
#include <cmath>

namespace instruments {
namespace {

const char* const kSection = "Generator";

std::string filled(std::string command, const std::string& placeholder, const std::string& value) {
    for (std::size_t at = command.find(placeholder); at != std::string::npos;
         at = command.find(placeholder, at + value.size())) {
        command.replace(at, placeholder.size(), value);
    }
    return command;
}

} // namespace

GeneratorCommands loadGeneratorProfile(const std::string& path) {
    const platform::IniFile::Snapshot profile(path);
    GeneratorCommands c;
    c.frequency = profile.read(kSection, "Frequency", c.frequency);
    c.level = profile.read(kSection, "Level", c.level);
    c.outputOn = profile.read(kSection, "OutputOn", c.outputOn);
    c.outputOff = profile.read(kSection, "OutputOff", c.outputOff);
    c.identify = profile.read(kSection, "Identify", c.identify);
    return c;
}

SignalGenerator::SignalGenerator(ScpiInstrument& instrument, GeneratorCommands templates,
                                 double maximumLevelDbm, QObject* parent)
    : QObject(parent), scpi(instrument), commands(std::move(templates)),
      maximumDbm(maximumLevelDbm) {}

int SignalGenerator::identify() {
    return scpi.query(commands.identify);
}

int SignalGenerator::setFrequency(std::int64_t hz) {
    return scpi.set(filled(commands.frequency, "{Hz}", hertz(hz)));
}

int SignalGenerator::setLevel(double dbm) {
    // Compared as it would be written: -20.04 goes out as -20.0 and is allowed at -20.0.
    const std::string text = decibels(dbm);
    double written = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), written);
    if (!std::isfinite(dbm) || written > maximumDbm) {
        emit refused(QString::fromStdString(instrument_messages::levelTooHigh(dbm, maximumDbm)));
        return 0;
    }
    return scpi.set(filled(commands.level, "{dBm}", text));
}

int SignalGenerator::setOutput(bool on) {
    return on ? scpi.set(commands.outputOn) : switchOutputOff();
}

int SignalGenerator::switchOutputOff() {
    scpi.dropWaiting(instrument_messages::outputSwitchedOffFirst);
    return scpi.setFirst(commands.outputOff);
}

} // namespace instruments
