// SPDX-License-Identifier: GPL-3.0-or-later
// What the technician is told when a plan is refused at load: every text names the plan's
// file and the line to fix.
//
//   levelTooHigh("x.plan", 12, -10.0, -20.0)
//     -> "Line 12 of the plan 'x.plan': the level -10.0 dBm is above the highest level
//         allowed, -20.0 dBm."
#pragma once

#include <string>

namespace plan_messages {

std::string cannotRead(const std::string& plan);
std::string noSteps(const std::string& plan);
std::string notALine(const std::string& plan, int line, const std::string& text);
std::string beforeAnySection(const std::string& plan, int line, const std::string& text);
std::string unknownStep(const std::string& plan, int line, const std::string& name);
std::string stepTwice(const std::string& plan, int line, const std::string& name, int first);
std::string unknownKey(const std::string& plan, int line, const std::string& key,
                       const std::string& known);
std::string levelNoNumber(const std::string& plan, int line, const std::string& value);
std::string levelTooHigh(const std::string& plan, int line, double level, double maximum);
std::string channelMissing(const std::string& plan, int line, const std::string& step);
std::string channelNoNumber(const std::string& plan, int line, const std::string& value);
std::string channelOutOfRange(const std::string& plan, int line, int channel);
std::string channelNotSetUp(const std::string& plan, int line, int channel);

// "-47.0 dBm"
std::string dbm(double level);
// "Test channel 01"'s number: two digits.
std::string channelNumber(int channel);

} // namespace plan_messages
