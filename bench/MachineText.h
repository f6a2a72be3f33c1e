// SPDX-License-Identifier: GPL-3.0-or-later
// The machine the figures were taken on, in two lines: cores, processor, memory; system and Qt.
#pragma once

#include <string>

namespace vsk5bench {

std::string machineText();

} // namespace vsk5bench
