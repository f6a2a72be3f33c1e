// SPDX-License-Identifier: GPL-3.0-or-later
// The windows' logging category ("vsk5.ui"): the messages the technician was shown.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcUi)
