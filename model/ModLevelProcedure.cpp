// SPDX-License-Identifier: GPL-3.0-or-later
// The modulation level procedure.
#include "model/ModLevelProcedure.h"

#include "common/CommonRoutines.h"
#include "console/clsConsole.h"
#include "link/clsCmcEeprom.h"
#include "model/MemoryMap.h"
#include "model/ProcedureContext.h"

bool ModLevelProcedure::tick(std::int16_t& step) {
    const std::int16_t before = step;
    std::int16_t next = endRequested ? std::int16_t{End} : static_cast<std::int16_t>(step + 1);
    switch (step) {
    case Load:
        endRequested = false;
        ctx.items().setValue(ctx.indexes().idxModLevel, ctx.image().ReadByte(MemoryMap::ModLevel));
        next = ReadInput;
        break;
    case ReadInput:
        if (!ctx.takeReading(MemoryMap::AdLevelInput, readingOut)) {
            return false;
        }
        next = readInput(next);
        break;
    case WriteLevel:
        next = writeLevel();
        break;
    default:
        next = 0;
        break;
    }
    step = next;
    if (step != before) {
        readingOut = false;
    }
    return true;
}

// The level input is in: a change of the item waiting to go out is preceded by the input.
std::int16_t ModLevelProcedure::readInput(std::int16_t next) {
    if (ctx.items().Value(ctx.indexes().idxModLevel) == lastWritten) {
        return next;
    }
    // The level input has no byte in the image; the radio keeps it as "MOD LV Level".
    ctx.sendE8(MemoryMap::E8ModLevelInput, ctx.reading(MemoryMap::AdLevelInput));
    // A change made just before the closing Enter still goes out: the write step sends it, and
    // the reading after it ends the procedure.
    return WriteLevel;
}

std::int16_t ModLevelProcedure::writeLevel() {
    const std::int16_t value = ctx.items().Value(ctx.indexes().idxModLevel);
    if (value != lastWritten) {
        lastWritten = value;
        ctx.sendAndStore(MemoryMap::E8ModLevel, value, MemoryMap::ModLevel, value);
    }
    return ReadInput;
}

bool ModLevelProcedure::enterWhileRunning() {
    endRequested = true;
    return true;
}

std::optional<std::string> ModLevelProcedure::runningLine(std::int16_t index, std::int16_t val) {
    return "Setting = " + rightField(std::to_string(val), 3) + ctx.items().BarString(index);
}
