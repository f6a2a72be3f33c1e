// SPDX-License-Identifier: GPL-3.0-or-later
// The procedure table.
#include "model/ProcedureTable.h"

// In the order the dispatcher looks at the steps; no step belongs to two procedures.
const ProcedureRow Procedures[ProcedureCount] = {
    {ProcedureId::Channel, 0, 0, 1, 3, "", -1, "CH No."},
    {ProcedureId::DtcsStart, 1, 2, 4, 5, "[Enter] to Start", -1, "DTCS Start"},
    {ProcedureId::DtcsStop, 2, 3, 6, 7, "[Enter] to Stop", -1, "DTCS Stop"},
    {ProcedureId::ModLevel, 3, 4, 8, 11, "[Enter] to Start", -1, "MOD Level"},
    {ProcedureId::Txf, 7, 1, 54, 58, "[Enter] to Start", 0, "TXF"},
    {ProcedureId::SMeter, 8, 8, 59, 60, "[Enter] to Set", -1, "S-METER"},
    {ProcedureId::BpfLow, 4, 5, 12, 25, "[Enter] to Sweep", 1, "BPF Low ALL"},
    {ProcedureId::BpfMid, 5, 6, 26, 39, "[Enter] to Sweep", 2, "BPF Mid ALL"},
    {ProcedureId::BpfHigh, 6, 7, 40, 53, "[Enter] to Sweep", 3, "BPF High ALL"},
};

namespace {

template <typename Match> std::optional<ProcedureRow> find(Match match) {
    for (const ProcedureRow& row : Procedures) {
        if (match(row)) {
            return row;
        }
    }
    return std::nullopt;
}

} // namespace

const ProcedureRow& procedureRow(ProcedureId id) {
    for (const ProcedureRow& row : Procedures) {
        if (row.id == id) {
            return row;
        }
    }
    return Procedures[0];
}

std::optional<ProcedureRow> procedureForEnter(std::int16_t enterEvent) {
    return find([&](const ProcedureRow& r) { return r.enterEvent == enterEvent; });
}

std::optional<ProcedureRow> procedureForDisp(std::int16_t dispEvent) {
    // Drawing event 0 is the channel item's own line, not a procedure's.
    return find([&](const ProcedureRow& r) { return r.dispEvent == dispEvent && dispEvent != 0; });
}

std::optional<ProcedureRow> procedureForStep(std::int16_t step) {
    return find([&](const ProcedureRow& r) { return step >= r.firstStep && step <= r.lastStep; });
}
