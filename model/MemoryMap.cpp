// SPDX-License-Identifier: GPL-3.0-or-later
// The live commands of the VX-K5 and the bytes of its adjustment area they set.
#include "model/MemoryMap.h"

std::optional<MemoryMap::Cell> MemoryMap::cellOfCommand(int command) {
    if (command >= E8SMeter && command < E8SMeter + 3) { // S1 runs 2 below, S2 1, S3 none
        return Cell{SMeter + command - E8SMeter, command - E8SMeter - 2};
    }
    if (command >= E8BandPass && command < E8BandPass + 9) {
        return Cell{BandPass + command - E8BandPass, 0};
    }
    if (command >= E8RefInitial && command < E8RefInitial + TemperatureAreas) {
        return Cell{RefInitial + command - E8RefInitial, 0};
    }
    if (command >= E8RefSlant && command < E8RefSlant + TemperatureAreas) {
        return Cell{RefSlant + command - E8RefSlant, 0};
    }
    switch (command) {
    case E8Squelch:
        return Cell{Squelch, 0};
    case E8PowerLow:
        return Cell{PowerLow, 0};
    case E8PowerHigh:
        return Cell{PowerHigh, 0};
    case E8ModLevelInput:
        return Cell{ModLevelInput, 0};
    case E8ModLevel:
        return Cell{ModLevel, 0};
    case E8DtcsBalance:
        return Cell{DtcsBalance, 0};
    case E8DtcsDecode:
        return Cell{DtcsDecode, 0};
    default:
        return std::nullopt; // unlock, channel, DTCS tone, readouts, end of a sweep
    }
}

std::optional<MemoryMap::Setter> MemoryMap::setterOfCell(std::int32_t address) {
    // The commands are few and one byte each: the inverse is a search, not a second table.
    constexpr int LastCommand = E8RefSlant + TemperatureAreas - 1;
    for (int command = 0; command <= LastCommand; ++command) {
        if (const std::optional<Cell> cell = cellOfCommand(command); cell && cell->address == address) {
            return Setter{command, cell->liveOffset};
        }
    }
    return std::nullopt;
}
