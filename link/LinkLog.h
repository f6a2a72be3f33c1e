// SPDX-License-Identifier: GPL-3.0-or-later
// The link's logging category ("vsk5.link") and the one line it writes per frame, in hex.
#pragma once

#include "platform/Bytes.h"

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcLink)

namespace linklog {

// "out FE FE EE EF E0 00 00 FD": nothing is formatted unless the category is on.
void frame(const char* direction, const Bytes& bytes);
// The driver's error by its code and in words ("error 2, no answer").
void error(int code);
// An answer as the receiver keeps it (after its preamble, without its end byte), written whole.
void answer(const Bytes& inner);

} // namespace linklog
