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

std::string sweepPutBack(const std::string& band) {
    return std::string(CrLf) + "BPF " + band +
           " T1, T2 and T3 are back at their values before the sweep.";
}

std::string channelFrequency(const std::string& channel, const std::string& frequency) {
    return "CH " + channel + " (" + frequency + " MHz)";
}

} // namespace

std::string noSignalForSweep(const std::string& band, const std::string& channel,
                             const std::string& frequency) {
    return "No signal reached the detector." + sweepPutBack(band) +
           checkList(signalGenerator("- The signal generator frequency is that of " +
                                     channelFrequency(channel, frequency) + "."));
}

std::string flatResponseForSweep(const std::string& band, const std::string& channel,
                                 const std::string& frequency) {
    const std::string tested = channelFrequency(channel, frequency);
    return "The detector showed no peak: its reading hardly changed with the filter settings." +
           sweepPutBack(band) +
           checkList("- " + tested + " lies in the BPF " + band + " band." + CrLf +
                     "- The signal generator frequency is that of " + tested + "." + CrLf +
                     "- The signal generator level.");
}

std::string saturatedDetectorForSweep(const std::string& band, const std::string& channel,
                                      const std::string& frequency) {
    return "The detector is saturated: it read full scale (255) at more than one filter setting." +
           sweepPutBack(band) +
           checkList("- The signal generator level is not too high; lower it and sweep again." +
                     std::string(CrLf) + "- The signal generator frequency is that of " +
                     channelFrequency(channel, frequency) + ".");
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
