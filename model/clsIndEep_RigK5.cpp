// The adjustment dump of the VX-K5's memory image.
#include "model/clsIndEep_RigK5.h"

#include "app/common/CommonRoutines.h"
#include "link/clsCmcEeprom.h"

#include <QPlainTextEdit>
#include <QString>

namespace {

// One line of the dump per field, in the order the technician reads them.
struct ByteField {
    const char* label;
    std::int32_t address;
};

constexpr ByteField LevelFields[] = {
    {"           POW HI Level: ", 0x7A9}, {"          POW LOW Level: ", 0x7A8},
    {"         DTCS Bal Level: ", 0x7BC}, {"           MOD LV Level: ", 0x7AA},
    {"              MOD Level: ", 0x7AB}, {"              SQL Level: ", 0x7BD},
    {"       BPF LOW T1 Level: ", 0x7B0}, {"       BPF LOW T2 Level: ", 0x7B1},
    {"       BPF LOW T3 Level: ", 0x7B2}, {"       BPF MID T1 Level: ", 0x7B3},
    {"       BPF MID T2 Level: ", 0x7B4}, {"       BPF MID T3 Level: ", 0x7B5},
    {"      BPF HIGH T1 Level: ", 0x7B6}, {"      BPF HIGH T2 Level: ", 0x7B7},
    {"      BPF HIGH T3 Level: ", 0x7B8}, {"            SD S1 Level: ", 0x7B9},
    {"            SD S2 Level: ", 0x7BA}, {"            SD S3 Level: ", 0x7BB},
};

constexpr int BorderCount = 21; // borders of the 20 temperature areas
constexpr int AreaCount = 20;   // temperature areas of the compensation
constexpr std::int32_t RefInitial = 0x7C0;
constexpr std::int32_t RefSlant = 0x7D4;

constexpr int LabelWidth = 25;

// A ranged label: the name right-aligned so that, with the two-character index and ": ",
// the label is 25 characters long.
std::string rangedLabel(const std::string& name, int n) {
    std::string index = std::to_string(n);
    if (index.size() < 2) {
        index = " " + index;
    }
    const std::string tail = name + " " + index + ": ";
    return std::string(LabelWidth - tail.size(), ' ') + tail;
}

} // namespace

std::string clsIndEep_RigK5::RigEep_FormatUnsigned(std::int16_t value) {
    return rightField(std::to_string(value), 4);
}

std::string clsIndEep_RigK5::RigEep_FormatSigned(std::int16_t value) {
    const int signedValue = value > 127 ? value - 256 : value;
    return RigEep_FormatUnsigned(static_cast<std::int16_t>(signedValue));
}

std::string clsIndEep_RigK5::RigEep_Text(const clsCmcEeprom& eep, const BorderSource& border) {
    std::string text;
    const auto line = [&text](const std::string& label, const std::string& value) {
        text += label;
        text += value;
        text += "\r\n";
    };

    for (const ByteField& field : LevelFields) {
        line(field.label, RigEep_FormatUnsigned(eep.ReadByte(field.address)));
    }
    for (int n = 0; n < BorderCount; ++n) {
        const std::int16_t value = border ? border(static_cast<std::int16_t>(n)) : 0;
        line(rangedLabel("REF Area", n), RigEep_FormatUnsigned(value));
    }
    for (int n = 0; n < AreaCount; ++n) {
        // Area 4's line has always read "initial"; technicians compare dumps by eye.
        line(rangedLabel(n == 4 ? "REF initial" : "REF Initial", n),
             RigEep_FormatUnsigned(eep.ReadByte(RefInitial + n)));
    }
    for (int n = 0; n < AreaCount; ++n) {
        line(rangedLabel("REF Slant", n), RigEep_FormatSigned(eep.ReadByte(RefSlant + n)));
    }
    return text;
}

void clsIndEep_RigK5::RigEep_DispPara(QPlainTextEdit* obj, const clsCmcEeprom& eep,
                                      const BorderSource& border) const {
    if (obj == nullptr) {
        return;
    }
    obj->setPlainText(QString::fromStdString(RigEep_Text(eep, border)));
}
