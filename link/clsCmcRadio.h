// SPDX-License-Identifier: GPL-3.0-or-later
// The radio's identity as the clone protocol carries it (model code and sub code, each four
// hexadecimal digits that travel as two raw bytes), the address ranges of a clone write and
// the one memory image of the program.
//
//   cloneWriteAdrList_Add(0x000, 0x7FF)  ->  cloneWriteAdrList() == "0000-07FF,"
#pragma once

#include "link/clsCmcEeprom.h"

#include <cstdint>
#include <string>

class clsCmcRadio {
  public:
    const std::string& radioNameM() const { return nameM; }
    void setRadioNameM(const std::string& value) { nameM = value; }
    const std::string& radionameS() const { return nameS; }
    void setRadionameS(const std::string& value) { nameS = value; }

    // Entries of exactly 10 characters: first address, "-", last address, "," (4 hex digits each).
    const std::string& cloneWriteAdrList() const { return adrList; }
    void cloneWriteAdrList_Clear() { adrList.clear(); }
    void cloneWriteAdrList_Add(std::int32_t firstAdr, std::int32_t lastAdr);

    clsCmcEeprom& objEep() { return eeprom; }
    const clsCmcEeprom& objEep() const { return eeprom; }

    // Four upper-case hexadecimal digits of the low 16 bits of an address.
    static std::string adrText(std::int32_t adr);

  private:
    std::string nameM = "0000";
    std::string nameS = "0000";
    std::string adrList;
    clsCmcEeprom eeprom;
};
