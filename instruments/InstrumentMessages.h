// SPDX-License-Identifier: GPL-3.0-or-later
// The texts the technician reads when an instrument fails or a setting is refused.
#pragma once

#include <string>

namespace instrument_messages {

std::string noAnswer(const std::string& command, int timeoutMs);
std::string instrumentError(const std::string& command, const std::string& instrumentText);
std::string cannotConnect(const std::string& why);
std::string connectionLost(const std::string& why);
std::string notConnected(const std::string& command);
std::string levelTooHigh(double levelDbm, double maximumDbm);
std::string outputSwitchedOffFirst(const std::string& command);

} // namespace instrument_messages
