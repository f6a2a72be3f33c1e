// SPDX-License-Identifier: GPL-3.0-or-later
// The instruments' logging category ("vsk5.instruments"): one line per command sent, answer
// received and failure, so the session log shows what the generator was told and said.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcInstruments)
