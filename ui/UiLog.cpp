// SPDX-License-Identifier: GPL-3.0-or-later
// The windows' logging category, quiet until the session log takes it.
#include "ui/UiLog.h"

Q_LOGGING_CATEGORY(lcUi, "vsk5.ui", QtWarningMsg)
