// SPDX-License-Identifier: GPL-3.0-or-later
// The one byte-sequence type of the program: clone frames, records and E8 payloads.
#pragma once

#include <cstdint>
#include <vector>

using Bytes = std::vector<std::uint8_t>;
