// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of a refused plan.
#include "align/PlanMessages.h"

#include "model/TestChannels.h"

#include <cstdio>

namespace plan_messages {
namespace {

std::string at(const std::string& plan, int line) {
    return "Line " + std::to_string(line) + " of the plan '" + plan + "': ";
}

} // namespace

std::string dbm(double level) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f dBm", level);
    return text;
}

std::string channelNumber(int channel) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", channel);
    return text;
}

std::string cannotRead(const std::string& plan) {
    return "The plan '" + plan + "' cannot be read.";
}

std::string noSteps(const std::string& plan) {
    return "The plan '" + plan + "' has no steps.";
}

std::string notALine(const std::string& plan, int line, const std::string& text) {
    return at(plan, line) + "'" + text + "' is neither a [section] nor a key=value.";
}

std::string beforeAnySection(const std::string& plan, int line, const std::string& text) {
    return at(plan, line) + "'" + text + "' stands before any [section].";
}

std::string unknownStep(const std::string& plan, int line, const std::string& name) {
    return at(plan, line) + "'" + name +
           "' is no step of the alignment. The steps are BPF-LOW, BPF-MID, BPF-HIGH, S-METER, "
           "TXF, DTCS-START, DTCS-STOP, POWER, MOD-LEVEL, SQUELCH and DTCS-BALANCE.";
}

std::string stepTwice(const std::string& plan, int line, const std::string& name, int first) {
    return at(plan, line) + "the step " + name + " comes a second time (first on line " +
           std::to_string(first) + ").";
}

std::string unknownKey(const std::string& plan, int line, const std::string& key,
                       const std::string& known) {
    return at(plan, line) + "the key '" + key + "' is unknown here; this section takes " + known +
           ".";
}

std::string levelNoNumber(const std::string& plan, int line, const std::string& value) {
    return at(plan, line) + "the level '" + value + "' is no number of dBm.";
}

std::string levelTooHigh(const std::string& plan, int line, double level, double maximum) {
    return at(plan, line) + "the level " + dbm(level) + " is above the highest level allowed, " +
           dbm(maximum) + ".";
}

std::string channelMissing(const std::string& plan, int line, const std::string& step) {
    return at(plan, line) + "the step " + step +
           " sets a level but names no Channel to take the frequency from.";
}

std::string channelNoNumber(const std::string& plan, int line, const std::string& value) {
    return at(plan, line) + "the channel '" + value + "' is no number.";
}

std::string channelOutOfRange(const std::string& plan, int line, int channel) {
    return at(plan, line) + "there is no test channel " + std::to_string(channel) +
           "; the test channels are 0 to " + std::to_string(TestChannels::Count - 1) + ".";
}

std::string channelNotSetUp(const std::string& plan, int line, int channel) {
    return at(plan, line) + "test channel " + channelNumber(channel) +
           " is not set up: it is not shown or has no frequency.";
}

} // namespace plan_messages
