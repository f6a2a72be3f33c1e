// SPDX-License-Identifier: GPL-3.0-or-later
// The adjustment dump of the VX-K5's memory image.
#include "model/clsIndEep_RigK5.h"

#include "common/CommonRoutines.h"
#include "link/clsCmcEeprom.h"
#include "link/clsCmcRadio.h"
#include "model/ItemTable.h"
#include "model/MemoryMap.h"
#include "model/TxfTable.h"

namespace {

// One line of the dump per field, in the order the technician reads them.
struct ByteField {
    const char* label;
    std::int32_t address;
};

using M = MemoryMap;

constexpr ByteField LevelFields[] = {
    {"           POW HI Level: ", M::PowerHigh},    {"          POW LOW Level: ", M::PowerLow},
    {"         DTCS Bal Level: ", M::DtcsBalance},  {"           MOD LV Level: ", M::ModLevelInput},
    {"              MOD Level: ", M::ModLevel},     {"              SQL Level: ", M::Squelch},
    {"       BPF LOW T1 Level: ", M::BandPass},     {"       BPF LOW T2 Level: ", M::BandPass + 1},
    {"       BPF LOW T3 Level: ", M::BandPass + 2}, {"       BPF MID T1 Level: ", M::BandPass + 3},
    {"       BPF MID T2 Level: ", M::BandPass + 4}, {"       BPF MID T3 Level: ", M::BandPass + 5},
    {"      BPF HIGH T1 Level: ", M::BandPass + 6}, {"      BPF HIGH T2 Level: ", M::BandPass + 7},
    {"      BPF HIGH T3 Level: ", M::BandPass + 8}, {"            SD S1 Level: ", M::SMeter},
    {"            SD S2 Level: ", M::SMeter + 1},   {"            SD S3 Level: ", M::SMeter + 2},
};

constexpr std::size_t LabelWidth = 25;

// A ranged label: the name right-aligned so that, with the two-character index and ": ",
// the label is 25 characters long.
std::string rangedLabel(const std::string& name, int n) {
    return rightField(name + " " + rightField(std::to_string(n), 2) + ": ", LabelWidth);
}

// Area 4's line has always read "initial"; technicians compare dumps by eye.
const char* initialName(int area) {
    return area == 4 ? "REF initial" : "REF Initial";
}

// The dump's label of a byte of the adjustment area, without its blanks and colon.
std::optional<std::string> dumpLabel(std::int32_t address) {
    for (const ByteField& field : LevelFields) {
        if (field.address == address) {
            return trimBlanks(std::string(field.label).substr(0, LabelWidth - 2));
        }
    }
    for (int n = 0; n < TxfTable::AreaCount; ++n) {
        const char* name = address == M::RefInitial + n ? initialName(n)
                           : address == M::RefSlant + n ? "REF Slant"
                                                        : nullptr;
        if (name != nullptr) {
            return trimBlanks(rangedLabel(name, n).substr(0, LabelWidth - 2));
        }
    }
    return std::nullopt;
}

} // namespace

std::string clsIndEep_RigK5::RigEep_CellName(std::int32_t address) {
    if (std::optional<std::string> title = itemTitleAt(address)) {
        return *title;
    }
    if (std::optional<std::string> label = dumpLabel(address)) {
        return *label;
    }
    return "Address " + clsCmcRadio::adrText(address).substr(1) + "h";
}

std::string clsIndEep_RigK5::RigEep_CellValue(std::int32_t address, std::int16_t byte) {
    const bool slant = address >= M::RefSlant && address < M::RefSlant + TxfTable::AreaCount;
    return trimBlanks(slant ? RigEep_FormatSigned(byte) : RigEep_FormatUnsigned(byte));
}

std::string clsIndEep_RigK5::RigEep_FormatUnsigned(std::int16_t value) {
    return rightField(std::to_string(value), 4);
}

std::string clsIndEep_RigK5::RigEep_FormatSigned(std::int16_t value) {
    const int signedValue = value > 127 ? value - 256 : value;
    return RigEep_FormatUnsigned(static_cast<std::int16_t>(signedValue));
}

std::vector<clsIndEep_RigK5::DumpLine> clsIndEep_RigK5::RigEep_Lines(const clsCmcEeprom& eep,
                                                                     const TxfTable& table) {
    std::vector<DumpLine> lines;
    lines.reserve(LineCount);
    const auto line = [&lines](const std::string& label, const std::string& value) {
        lines.push_back({label, value});
    };
    for (const ByteField& field : LevelFields) {
        line(field.label, RigEep_FormatUnsigned(eep.ReadByte(field.address)));
    }
    for (int n = 0; n < TxfTable::BorderCount; ++n) {
        const std::int16_t border = table.RigOp_Table_Txf_TempBorder(static_cast<std::int16_t>(n));
        line(rangedLabel("REF Area", n), RigEep_FormatUnsigned(border));
    }
    for (int n = 0; n < TxfTable::AreaCount; ++n) {
        line(rangedLabel(initialName(n), n),
             RigEep_FormatUnsigned(eep.ReadByte(M::RefInitial + n)));
    }
    for (int n = 0; n < TxfTable::AreaCount; ++n) {
        line(rangedLabel("REF Slant", n), RigEep_FormatSigned(eep.ReadByte(M::RefSlant + n)));
    }
    return lines;
}

std::string clsIndEep_RigK5::RigEep_Text(const clsCmcEeprom& eep, const TxfTable& table) {
    std::string text;
    for (const DumpLine& line : RigEep_Lines(eep, table)) {
        text += line.label + line.value + "\r\n";
    }
    return text;
}
