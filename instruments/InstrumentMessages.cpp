// SPDX-License-Identifier: GPL-3.0-or-later
// The instrument texts.
#include "instruments/InstrumentMessages.h"

#include "instruments/ScpiNumber.h"

namespace instrument_messages {
namespace {

const char* const CrLf = "\r\n";
const char* const CheckInstrument = "Check the generator's power, its cable and its address.";

} // namespace

std::string noAnswer(const std::string& command, int timeoutMs) {
    return "The signal generator did not answer '" + command + "' within " +
           std::to_string(timeoutMs) + " ms." + CrLf + CheckInstrument;
}

std::string instrumentError(const std::string& command, const std::string& instrumentText) {
    return "The signal generator refused '" + command + "': " + instrumentText;
}

std::string cannotConnect(const std::string& why) {
    return "Cannot connect to the signal generator: " + why + "." + CrLf + CheckInstrument;
}

std::string connectionLost(const std::string& why) {
    return "The connection to the signal generator was lost: " + why + "." + CrLf + CheckInstrument;
}

std::string notConnected(const std::string& command) {
    return "'" + command + "' was not sent: the signal generator is not connected.";
}

std::string levelTooHigh(double levelDbm, double maximumDbm) {
    return "The level " + instruments::decibels(levelDbm) +
           " dBm is above the highest level allowed, " + instruments::decibels(maximumDbm) +
           " dBm." + CrLf + "Nothing was sent to the signal generator.";
}

std::string outputSwitchedOffFirst(const std::string& command) {
    return "'" + command + "' was not sent: the generator's output was switched off first.";
}

} // namespace instrument_messages
