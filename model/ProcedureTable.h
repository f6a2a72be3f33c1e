// SPDX-License-Identifier: GPL-3.0-or-later
// The VX-K5's adjustment procedures in one table: the console events that reach each (Enter
// and drawing), the steps it runs on, its line while idle, the test channel it needs. The item
// table, the Enter key, the line texts and the dispatcher all read this one table.
//
//   procedureForStep(30)  ->  BPF Mid ALL (steps 26 to 39)
//   procedureForEnter(7)  ->  TXF (Enter event 7, drawn by event 1, channel 0)
#pragma once

#include <cstdint>
#include <optional>

enum class ProcedureId {
    Channel,
    DtcsStart,
    DtcsStop,
    ModLevel,
    BpfLow,
    BpfMid,
    BpfHigh,
    Txf,
    SMeter
};

struct ProcedureRow {
    ProcedureId id;
    std::int16_t enterEvent; // the item's Event_Enter
    std::int16_t dispEvent;  // the item's Event_Disp
    std::int16_t firstStep;  // the procedure runs while the step lies in first..last
    std::int16_t lastStep;
    const char* idleText;     // the item's line after its title while the procedure is idle
    std::int16_t testChannel; // the channel it works on, which must be shown; -1 none
    const char* name;         // as the technician reads it in a message
};

inline constexpr int ProcedureCount = 9;
extern const ProcedureRow Procedures[ProcedureCount];

const ProcedureRow& procedureRow(ProcedureId id);
std::optional<ProcedureRow> procedureForEnter(std::int16_t enterEvent);
std::optional<ProcedureRow> procedureForDisp(std::int16_t dispEvent);
std::optional<ProcedureRow> procedureForStep(std::int16_t step);
