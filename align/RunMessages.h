// SPDX-License-Identifier: GPL-3.0-or-later
// What an alignment run tells the technician and writes into the service record.
//
//   stoppedRunName("BPF-LOW")  -> "Alignment stopped at BPF-LOW"
//   megahertz(146000000)       -> "146.000 MHz"
#pragma once

#include <cstdint>
#include <string>

namespace run_messages {

std::string needsGenerator();
std::string notConnected();
std::string linkLost();
std::string channelNotSetUp(int channel);
std::string levelRefused(double level);
std::string enterRefused(const std::string& item);
std::string outputStaysOff();
std::string doneByHand();
std::string allCompleted();
std::string verifyDiffers();
std::string mismatch(std::int32_t address, int holds, int wanted);
std::string lineBreak();

// The names of the runs an alignment adds to the service record.
std::string stoppedRunName(const std::string& step);
std::string manualRunName(const std::string& step);
std::string verifyRunName();

// At least three decimals, more where the channel's grid needs them: "145.00833 MHz".
std::string megahertz(std::int64_t hz);

} // namespace run_messages
