// SPDX-License-Identifier: GPL-3.0-or-later
// The link's logging category ("vsk5.link") and the one line it writes per frame, in hex.
#pragma once

#include "platform/Bytes.h"

#include <QLoggingCategory>

#include <cstdint>

Q_DECLARE_LOGGING_CATEGORY(lcLink)

enum class DriverError : std::int16_t;

namespace linklog {

// "out FE FE EE EF E0 00 00 FD": nothing is formatted unless the category is on.
void frame(const char* direction, const Bytes& bytes);
// The driver's error by its code and in words ("error 2, no answer").
void error(DriverError error);
// An answer as the receiver keeps it (after its preamble, without its end byte), written whole.
void answer(const Bytes& inner);

} // namespace linklog
