// SPDX-License-Identifier: GPL-3.0-or-later
// The trace names of the simulated radio.
#include "sim/SimNames.h"

#include <iterator>

namespace vxk5sim {

std::string commandName(int command) {
    static const char* const bands[] = {"Low", "Mid", "High"};
    if (command >= 17 && command <= 25) {
        return format("BPF %s T%d", bands[(command - 17) / 3], (command - 17) % 3 + 1);
    }
    if (command >= 26 && command <= 45) {
        return format("REF Initial %d", command - 26);
    }
    if (command >= 46 && command <= 65) {
        return format("REF Slant %d", command - 46);
    }
    switch (command) {
    case 2:
        return "DTCS test tone";
    case 4:
        return "S1 threshold";
    case 5:
        return "S2 threshold";
    case 6:
        return "S3 threshold";
    case 7:
        return "SQL";
    case 11:
        return "Power(Lo)";
    case 12:
        return "Power(Hi)";
    case 13:
        return "MOD input level";
    case 14:
        return "MOD Level";
    case 15:
        return "DTCS BAL";
    case 16:
        return "DTCS decode";
    case 66:
        return "BPF sweep done";
    default:
        return "no function";
    }
}

std::string parameterName(int parameter) {
    static const char* const names[] = {"TEMPS",  "LVIN",     "SD",     "BPF T1", "BPF T2",
                                        "BPF T3", "TX power", "MOD LV", "Volume", "DTCS BL",
                                        "REF",    "Dev",      "SQL Lev"};
    if (parameter >= 0 && parameter < static_cast<int>(std::size(names))) {
        return names[parameter];
    }
    return "unknown";
}

} // namespace vxk5sim
