// SPDX-License-Identifier: GPL-3.0-or-later
// The clone-write address list, built from four-digit hexadecimal ranges.
#include "link/clsCmcRadio.h"

#include <cstdio>

std::string clsCmcRadio::adrText(std::int32_t adr) {
    char text[5];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(adr) & 0xFFFFu);
    return text;
}

void clsCmcRadio::cloneWriteAdrList_Add(std::int32_t firstAdr, std::int32_t lastAdr) {
    adrList += adrText(firstAdr) + "-" + adrText(lastAdr) + ",";
}
