// SPDX-License-Identifier: GPL-3.0-or-later
// The readout lines and the conversions behind them.
#include "model/ReadoutText.h"

#include "common/CommonRoutines.h"
#include "model/NumberPicture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

enum class Reading { Temperature, Voltage, Percent, None };

struct ReadoutRow {
    int row; // list row less the caption row; -1 = no line
    const char* label;
    Reading reading;
};

const ReadoutRow AdRows[AdCount] = {{0, "TEMPS:", Reading::Temperature},
                                    {1, "LVIN :", Reading::Voltage},
                                    {2, "SD   :", Reading::Voltage},
                                    {3, "", Reading::None}};

const ReadoutRow DaRows[DaCount] = {{0, "BPF T1 :", Reading::Voltage},
                                    {1, "BPF T2 :", Reading::Voltage},
                                    {2, "BPF T3 :", Reading::Voltage},
                                    {-1, "", Reading::None},
                                    {-1, "", Reading::None},
                                    {3, "Volium :", Reading::Voltage},
                                    {4, "DTCS BL:", Reading::Voltage},
                                    {5, "REF    :", Reading::Percent},
                                    {6, "Dev    :", Reading::Voltage},
                                    {7, "SQL Lev:", Reading::Percent},
                                    {-1, "", Reading::None}};

const ReadoutRow& rowOf(ReadoutPage page, int index) {
    return page == ReadoutPage::AD ? AdRows[std::clamp(index, 0, AdCount - 1)]
                                   : DaRows[std::clamp(index, 0, DaCount - 1)];
}

// "123:7Bh:": the raw value in decimal (3 wide) and in hexadecimal (2 digits).
std::string valuePrefix(int v) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%02X", v);
    return rightField(std::to_string(v), 3) + ":" + rightField(std::string("00") + hex, 2) + "h:";
}

double volts(int v) {
    return static_cast<std::int16_t>(v * 5) / 255.0;
}

// The thermistor of the temperature sensor: B = 4000, 47 kOhm against 10 kOhm at 25 'C.
double celsius(int v) {
    const double u = volts(v);
    const double r = (500000.0 - u * 100000.0) / u / 47000.0;
    return 1.0 / (std::log(r) / 4000.0 + 1.0 / 298.15) - 273.15;
}

} // namespace

int readoutRow(ReadoutPage page, int index) {
    const int row = rowOf(page, index).row;
    return row < 0 ? -1 : row + 1;
}

std::string readoutLine(ReadoutPage page, int index, int v) {
    const ReadoutRow& row = rowOf(page, index);
    const std::string prefix = row.label + valuePrefix(v);
    switch (row.reading) {
    case Reading::Temperature:
        if (v == 0 || v == 255) {
            return prefix + "*Error"; // open or shorted sensor
        }
        return prefix + rightField(numberPicture(celsius(v), 0, 2) + "'C", 8);
    case Reading::Voltage:
        return prefix + rightField(numberPicture(volts(v), 1, 2) + "V", 7);
    case Reading::Percent:
        return prefix + rightField(numberPicture(v / 255.0 * 100.0, 1, 2) + "%", 7);
    case Reading::None:
        break;
    }
    return "";
}
