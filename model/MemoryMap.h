// Where the VX-K5 keeps its adjustments: the adjustment area of its memory (0x7A8 to 0x7E7)
// and, for every live (E8) command number that sets one of its bytes, which byte that is.
//
//   MemoryMap::cellOfCommand(0x11)  ->  {0x7B0, 0}    BPF Low T1
//   MemoryMap::cellOfCommand(4)     ->  {0x7B9, -2}   S1: the live value runs 2 below the byte
//   MemoryMap::cellOfCommand(2)     ->  nothing       the DTCS test tone has no byte
#pragma once

#include <cstdint>
#include <optional>

struct MemoryMap {
    static constexpr std::int32_t AreaFirst = 0x7A8;
    static constexpr std::int32_t AreaLast = 0x7E7;
    static constexpr std::int32_t AreaSize = AreaLast - AreaFirst + 1;

    static constexpr std::int32_t ModLevelInput = 0x7AA; // "MOD LV Level"
    static constexpr std::int32_t ModLevel = 0x7AB;
    static constexpr std::int32_t BandPass = 0x7B0; // low T1..T3, mid T1..T3, high T1..T3
    static constexpr std::int32_t SMeter = 0x7B9;   // S1, S2, S3
    static constexpr std::int32_t RefInitial = 0x7C0;
    static constexpr std::int32_t RefSlant = 0x7D4;

    // The byte a live command sets, and how its live value stands to the byte: the S-meter
    // commands carry the detector thresholds a little below the points the radio keeps.
    struct Cell {
        std::int32_t address;
        int liveOffset; // live value = stored byte + liveOffset
    };
    static std::optional<Cell> cellOfCommand(int command);
};
