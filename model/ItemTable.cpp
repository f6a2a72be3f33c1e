// SPDX-License-Identifier: GPL-3.0-or-later
// The item table of the VX-K5.
#include "model/ItemTable.h"

#include "common/CommonRoutines.h"
#include "console/clsConsole.h"
#include "model/MemoryMap.h"
#include "model/ProcedureTable.h"

namespace {

enum class Kind { Channel, Value, Procedure };

struct ItemRow {
    const char* title;
    Kind kind;
    std::int32_t eeAdr;    // value items
    int e8Command;         // value and channel items
    ProcedureId procedure; // procedure items
    std::int16_t ItemIndexes::*indexField;
};

using M = MemoryMap;
using P = ProcedureId;
constexpr P None = P::Channel; // a value item has no procedure

// The console in its order. Titles are exact, blanks included (" BFP Low T1 " is spelled so).
const ItemRow ItemTable[ItemCount] = {
    {"      CH No.", Kind::Channel, -1, M::E8Channel, P::Channel, &ItemIndexes::idxChNo},
    {"   Power(Hi)", Kind::Value, M::PowerHigh, M::E8PowerHigh, None, nullptr},
    {"   Power(Lo)", Kind::Value, M::PowerLow, M::E8PowerLow, None, nullptr},
    {"  DTCS Start", Kind::Procedure, -1, -1, P::DtcsStart, &ItemIndexes::idxDtcsStart},
    {"   DTCS Stop", Kind::Procedure, -1, -1, P::DtcsStop, &ItemIndexes::idxDtcsStop},
    {"    DTCS BAL", Kind::Value, M::DtcsBalance, M::E8DtcsBalance, None, nullptr},
    {"   MOD Level", Kind::Procedure, -1, -1, P::ModLevel, &ItemIndexes::idxModLevel},
    {"         SQL", Kind::Value, M::Squelch, M::E8Squelch, None, nullptr},
    {"BPF Low ALL ", Kind::Procedure, -1, -1, P::BpfLow, &ItemIndexes::idxBpfLowAll},
    {" BFP Low T1 ", Kind::Value, M::BandPass, M::E8BandPass, None, nullptr},
    {" BPF Low T2 ", Kind::Value, M::BandPass + 1, M::E8BandPass + 1, None, nullptr},
    {" BPF Low T3 ", Kind::Value, M::BandPass + 2, M::E8BandPass + 2, None, nullptr},
    {"BPF Mid ALL ", Kind::Procedure, -1, -1, P::BpfMid, &ItemIndexes::idxBpfMidAll},
    {" BPF Mid T1 ", Kind::Value, M::BandPass + 3, M::E8BandPass + 3, None, nullptr},
    {" BPF Mid T2 ", Kind::Value, M::BandPass + 4, M::E8BandPass + 4, None, nullptr},
    {" BPF Mid T3 ", Kind::Value, M::BandPass + 5, M::E8BandPass + 5, None, nullptr},
    {"BPF High ALL", Kind::Procedure, -1, -1, P::BpfHigh, &ItemIndexes::idxBpfHighAll},
    {" BPF High T1", Kind::Value, M::BandPass + 6, M::E8BandPass + 6, None, nullptr},
    {" BPF High T2", Kind::Value, M::BandPass + 7, M::E8BandPass + 7, None, nullptr},
    {" BPF High T3", Kind::Value, M::BandPass + 8, M::E8BandPass + 8, None, nullptr},
    {"       TXF", Kind::Procedure, -1, -1, P::Txf, &ItemIndexes::idxTxf},
    {"   S-METER", Kind::Procedure, -1, -1, P::SMeter, &ItemIndexes::idxSMeter},
    {"  DTCS Decode (Initial = 4)", Kind::Value, M::DtcsDecode, M::E8DtcsDecode, None, nullptr},
};

// The fields of one row, set in the order the console expects them for its kind.
void setItemFields(clsConsole& console, std::int16_t index, const ItemRow& row) {
    const auto command = static_cast<std::int16_t>(row.e8Command);
    const ProcedureRow& procedure = procedureRow(row.procedure);
    switch (row.kind) {
    case Kind::Channel:
        console.setE8Command(index, command);
        console.setEvent_Disp(index, procedure.dispEvent);
        console.setEvent_Enter(index, procedure.enterEvent);
        console.setEvent_SendE8(index, 0);
        console.setMin(index, 0);
        console.setMax(index, 30);
        console.setLoopVal(index, true);
        break;
    case Kind::Value:
        console.setEeAdr(index, row.eeAdr);
        console.setEeDataSigned(index, false);
        console.setE8Command(index, command);
        console.setBarExist(index, true);
        break;
    case Kind::Procedure:
        console.setEvent_Disp(index, procedure.dispEvent);
        console.setEvent_Enter(index, procedure.enterEvent);
        break;
    }
}

} // namespace

ItemIndexes buildItemTable(clsConsole& console) {
    ItemIndexes indexes;
    console.Clear();
    for (const ItemRow& row : ItemTable) {
        console.AddItem();
        const auto index = static_cast<std::int16_t>(console.ListCount() - 1);
        console.setTitle(index, row.title);
        setItemFields(console, index, row);
        if (row.indexField != nullptr) {
            indexes.*row.indexField = index;
        }
    }
    return indexes;
}

std::optional<std::string> itemTitleAt(std::int32_t address) {
    for (const ItemRow& row : ItemTable) {
        if (row.kind == Kind::Value && row.eeAdr == address) {
            return trimBlanks(row.title);
        }
    }
    return std::nullopt;
}

void reloadItems(clsConsole& console, const std::function<bool(std::int32_t address)>& affected,
                 bool resend) {
    for (std::int16_t i = 0; i < console.ListCount(); ++i) {
        const std::int32_t address = console.EeAdr(i);
        if (address >= 0 && affected(address)) {
            console.ReadFromEe(i);
            console.setFlgChanged(i, resend);
        }
    }
}

int valuesToSend(const clsConsole& console) {
    int count = 0;
    for (std::int16_t i = 0; i < console.ListCount(); ++i) {
        count += console.flgChanged(i) && console.E8Command(i) >= 0 ? 1 : 0;
    }
    return count;
}

Progress sendingValues(const clsConsole& console, int total) {
    return {"Sending values", total - valuesToSend(console), total};
}
