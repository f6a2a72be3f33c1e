// SPDX-License-Identifier: GPL-3.0-or-later
// The instruments' logging category.
#include "instruments/InstrumentLog.h"

Q_LOGGING_CATEGORY(lcInstruments, "vsk5.instruments", QtWarningMsg)
