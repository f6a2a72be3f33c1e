// The live commands of the VX-K5 and the bytes of its adjustment area they set.
#include "model/MemoryMap.h"

std::optional<MemoryMap::Cell> MemoryMap::cellOfCommand(int command) {
    if (command >= 4 && command <= 6) { // S1, S2, S3
        return Cell{SMeter + command - 4, command - 6};
    }
    if (command >= 17 && command <= 25) {
        return Cell{BandPass + command - 17, 0};
    }
    if (command >= 26 && command <= 45) {
        return Cell{RefInitial + command - 26, 0};
    }
    if (command >= 46 && command <= 65) {
        return Cell{RefSlant + command - 46, 0};
    }
    switch (command) {
    case 7:
        return Cell{0x7BD, 0}; // SQL
    case 11:
        return Cell{0x7A8, 0}; // Power(Lo)
    case 12:
        return Cell{0x7A9, 0}; // Power(Hi)
    case 13:
        return Cell{ModLevelInput, 0};
    case 14:
        return Cell{ModLevel, 0};
    case 15:
        return Cell{0x7BC, 0}; // DTCS BAL
    case 16:
        return Cell{0x7AC, 0}; // DTCS Decode
    default:
        return std::nullopt; // channel, DTCS tone, readouts, end of a sweep
    }
}
