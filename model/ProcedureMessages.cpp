// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the procedures' messages. Line breaks are CR LF, as in every message box of the
// program; a check list follows a blank line, as in the link's messages.
#include "model/ProcedureMessages.h"

namespace procedure_messages {
namespace {

const char* const CrLf = "\r\n";

std::string checkList(const std::string& lines) {
    return std::string(CrLf) + CrLf + "Check the following:" + CrLf + CrLf + lines;
}

std::string signalGenerator(const std::string& frequencyLine) {
    return "- The signal generator output is ON." + std::string(CrLf) + frequencyLine;
}

} // namespace

std::string noSignalForSweep(const std::string& band, const std::string& channel,
                             const std::string& frequency) {
    return "No signal reached the detector." + std::string(CrLf) + "BPF " + band +
           " T1, T2 and T3 are back at their values before the sweep." +
           checkList(signalGenerator("- The signal generator frequency is that of CH " + channel +
                                     " (" + frequency + " MHz)."));
}

std::string noSignalForSMeter() {
    return "No signal reached the detector." + std::string(CrLf) +
           "The S-meter points are unchanged." +
           checkList(signalGenerator("- The signal generator frequency is that of the test "
                                     "channel."));
}

std::string sMeterLevelTooLow() {
    return "The signal level is too low for the S-meter points." + std::string(CrLf) +
           "The S-meter points are unchanged." + checkList("- The signal generator level.");
}

std::string sMeterLevelTooHigh() {
    return "The signal level is too high for the S-meter points." + std::string(CrLf) +
           "The S-meter points are unchanged." + checkList("- The signal generator level.");
}

std::string temperatureSensorError() {
    return "The temperature sensor of the VX-K5 reads *Error." + std::string(CrLf) +
           "TXF cannot be adjusted; its values are unchanged.";
}

std::string channelNotSetUp(const std::string& procedure, const std::string& channel) {
    return "Test channel " + channel + " is not set up for " + procedure + "." + std::string(CrLf) +
           "Select \"CH No.\", step to " + channel + " and press Enter to set its frequency.";
}

} // namespace procedure_messages
