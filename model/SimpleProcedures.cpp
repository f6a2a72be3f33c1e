// SPDX-License-Identifier: GPL-3.0-or-later
// The channel select and the DTCS tone.
#include "model/SimpleProcedures.h"

#include "console/clsConsole.h"
#include "model/MemoryMap.h"
#include "model/ProcedureContext.h"
#include "model/RigView.h"

// The result is always false: the task phase of a channel select never counts as done, so the
// cycle comes round once more before the chosen channel goes out.
bool ChannelProcedure::tick(std::int16_t& step) {
    switch (step) {
    case EditDialog:
        step = SendChannel; // before the dialog: its modal loop must find the step already taken
        ctx.view().editChannel(ctx.curChNo());
        break;
    case SendChannel:
        ctx.items().setFlgChanged(ctx.indexes().idxChNo, true);
        step = End;
        break;
    default:
        step = 0;
        break;
    }
    return false;
}

bool DtcsProcedure::tick(std::int16_t& step) {
    if (step == firstStep) {
        ctx.sendE8(MemoryMap::E8DtcsTone, tone);
        step = static_cast<std::int16_t>(firstStep + 1);
    } else {
        step = 0;
    }
    return true;
}
