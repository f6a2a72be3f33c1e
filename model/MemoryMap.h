// SPDX-License-Identifier: GPL-3.0-or-later
// Where the VX-K5 keeps its adjustments and how the utility talks to it: every byte of the
// adjustment area (0x7A8 to 0x7E7 of its memory) the utility reads or writes, and every live
// (E8) command number and readout parameter it sends. The simulated radio keeps a map of its
// own; the two meeting on the line is the check.
//
//   MemoryMap::cellOfCommand(MemoryMap::E8BandPass)  ->  {0x7B0, 0}    BPF Low T1
//   MemoryMap::cellOfCommand(MemoryMap::E8SMeter)    ->  {0x7B9, -2}   S1: the live value runs
//                                                                      2 below the byte
//   MemoryMap::cellOfCommand(MemoryMap::E8DtcsTone)  ->  nothing       no byte behind it
//   MemoryMap::setterOfCell(0x7BA)                   ->  {0x05, -1}    S2, the other way round
#pragma once

#include <cstdint>
#include <optional>

struct MemoryMap {
    // --- the adjustment area --------------------------------------------------------------
    static constexpr std::int32_t AreaFirst = 0x7A8;
    static constexpr std::int32_t AreaLast = 0x7E7;
    static constexpr std::int32_t AreaSize = AreaLast - AreaFirst + 1;

    static constexpr std::int32_t PowerLow = 0x7A8;
    static constexpr std::int32_t PowerHigh = 0x7A9;
    static constexpr std::int32_t ModLevelInput = 0x7AA; // "MOD LV Level"
    static constexpr std::int32_t ModLevel = 0x7AB;
    static constexpr std::int32_t DtcsDecode = 0x7AC;
    static constexpr std::int32_t BandPass = 0x7B0; // low T1..T3, mid T1..T3, high T1..T3
    static constexpr std::int32_t SMeter = 0x7B9;   // S1, S2, S3
    static constexpr std::int32_t DtcsBalance = 0x7BC;
    static constexpr std::int32_t Squelch = 0x7BD;
    static constexpr std::int32_t RefInitial = 0x7C0; // one per temperature area
    static constexpr std::int32_t RefSlant = 0x7D4;   // one signed byte per temperature area
    static constexpr int TemperatureAreas = 20;

    // --- live (E8) commands -----------------------------------------------------------------
    static constexpr int E8Unlock = 0x00; // with the unlock text: the adjustment state
    static constexpr int E8Channel = 0x01;
    static constexpr int E8DtcsTone = 0x02;
    static constexpr int E8Readout = 0x03; // asks for one readout parameter
    static constexpr int E8SMeter = 0x04;  // S1, S2, S3
    static constexpr int E8Squelch = 0x07;
    static constexpr int E8PowerLow = 0x0B;
    static constexpr int E8PowerHigh = 0x0C;
    static constexpr int E8ModLevelInput = 0x0D;
    static constexpr int E8ModLevel = 0x0E;
    static constexpr int E8DtcsBalance = 0x0F;
    static constexpr int E8DtcsDecode = 0x10;
    static constexpr int E8BandPass = 0x11;   // low T1 .. high T3
    static constexpr int E8RefInitial = 0x1A; // 26 + area
    static constexpr int E8RefSlant = 0x2E;   // 46 + area
    static constexpr int E8SweepDone = 0x42;

    // The ten characters of the unlock, as hexadecimal character codes.
    static constexpr const char* UnlockText = "35526B39547A33577131";

    // --- readout parameters -----------------------------------------------------------------
    static constexpr int AdTemperature = 0;
    static constexpr int AdLevelInput = 1;
    static constexpr int AdSignalDetector = 2;
    static constexpr int DaParameterOffset = 3; // D/A entry n is parameter n + 3

    // The byte a live command sets, and how its live value stands to the byte: the S-meter
    // commands carry the detector thresholds a little below the points the radio keeps.
    struct Cell {
        std::int32_t address;
        int liveOffset; // live value = stored byte + liveOffset
    };
    static std::optional<Cell> cellOfCommand(int command);

    // The live command that sets a byte of the adjustment area, and how its value stands to
    // the byte; nothing for a byte no command reaches (the radio keeps it from the factory).
    struct Setter {
        int command;
        int liveOffset;
    };
    static std::optional<Setter> setterOfCell(std::int32_t address);
};
