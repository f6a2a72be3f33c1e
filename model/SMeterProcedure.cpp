// SPDX-License-Identifier: GPL-3.0-or-later
// The S-meter procedure.
#include "model/SMeterProcedure.h"

#include "model/CurveLog.h"
#include "model/MemoryMap.h"
#include "model/ProcedureContext.h"
#include "model/ProcedureMessages.h"
#include "model/RigView.h"

bool SMeterProcedure::tick(std::int16_t& step) {
    if (step == Finish) {
        step = 0;
        ctx.view().beep();
        return true;
    }
    if (!ctx.takeReading(MemoryMap::AdSignalDetector, readingOut)) {
        return false;
    }
    const int s = ctx.reading(MemoryMap::AdSignalDetector);
    if (outOfRange(s, step)) {
        return true;
    }
    using M = MemoryMap;
    ctx.sendAndStore(M::E8SMeter, s - 2, M::SMeter, s);
    ctx.sendAndStore(M::E8SMeter + 1, s + 7, M::SMeter + 1, s + 8);
    ctx.sendAndStore(M::E8SMeter + 2, s + 16, M::SMeter + 2, s + 16);
    ctx.curves().sMeter(s, {s - 2, s + 7, s + 16}, {s, s + 8, s + 16});
    step = Finish;
    return true;
}

bool SMeterProcedure::outOfRange(int s, std::int16_t& step) {
    if (s >= 2 && s <= 239) {
        return false;
    }
    namespace text = procedure_messages;
    // Nothing was sent yet: ending without a result leaves the points as they were.
    ctx.endWithoutResult(step, s == 0 ? text::noSignalForSMeter()
                                      : (s < 2 ? text::sMeterLevelTooLow()
                                               : text::sMeterLevelTooHigh()));
    return true;
}
