// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of an alignment run.
#include "align/RunMessages.h"

#include "align/PlanMessages.h"
#include "model/JobMessages.h"

#include <cstdio>

namespace run_messages {

std::string needsGenerator() {
    return "The automatic steps need a signal generator: name one under Option, Instruments.";
}

std::string notConnected() {
    return "The VX-K5 is not connected: click Connect first.";
}

std::string linkLost() {
    return "The VX-K5 is no longer connected.";
}

std::string channelNotSetUp(int channel) {
    return "Test channel " + plan_messages::channelNumber(channel) +
           " is not set up: it is not shown or has no frequency.";
}

std::string levelRefused(double level) {
    return "The level " + plan_messages::dbm(level) + " was not sent to the signal generator.";
}

std::string enterRefused(const std::string& item) {
    return "\"" + item + "\" did not take Enter: the console takes no keys now.";
}

std::string outputStaysOff() {
    return "the signal generator's output stays off";
}

std::string doneByHand() {
    return "Done by hand";
}

std::string allCompleted() {
    return "Every automatic step completed, and the verifying read found the VX-K5 as written.";
}

std::string verifyDiffers() {
    return "The verifying read found the VX-K5 otherwise than the alignment wrote it:";
}

std::string mismatch(std::int32_t address, int holds, int wanted) {
    return job_messages::mismatchLine(address, holds, wanted);
}

std::string lineBreak() {
    return "\r\n";
}

std::string stoppedRunName(const std::string& step) {
    return "Alignment stopped at " + step;
}

std::string manualRunName(const std::string& step) {
    return step + " (by hand)";
}

std::string verifyRunName() {
    return "Verifying read";
}

std::string megahertz(std::int64_t hz) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", static_cast<double>(hz) / 1e6);
    std::string s = text;
    while (s.size() > 3 && s.back() == '0' && s[s.size() - 4] != '.') {
        s.pop_back();
    }
    return s + " MHz";
}

} // namespace run_messages
