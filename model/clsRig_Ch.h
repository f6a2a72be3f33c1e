// SPDX-License-Identifier: GPL-3.0-or-later
// One test channel: whether it is in use, its operating frequency (units of 10 Hz, so
// 14500000 is 145 MHz), its reference selector and its RF power. The class also owns the
// conversion between what the technician types (megahertz with decimals) and the stored
// number, snapping a typed frequency to the nearest point of the 12.5, 8.33, 6.25 or 5 kHz
// grid and keeping it inside the radio's band, 136 to 174 MHz.
//
//   Conv_Freq_StrToLong("145.0083") -> 14500833   (snapped to the 8.33 kHz grid)
//   Conv_Freq_LongToStr(14500833)   -> " 145.008333"
#pragma once

#include <cstdint>
#include <string>

class clsRig_Ch {
  public:
    static constexpr std::int32_t FreqLowest = 13600000;
    static constexpr std::int32_t FreqHighest = 17400000;

    bool AppearCh() const { return appearCh; }
    void setAppearCh(bool v) { appearCh = v; }

    std::int32_t FreqOp_Pure() const { return freqOpPure; }
    void setFreqOp_Pure(std::int32_t v) { freqOpPure = v; }

    // 0 to 2, whatever was stored.
    std::int16_t FreqOpRef_Pure() const;
    void setFreqOpRef_Pure(std::int16_t v) { freqOpRefPure = v; }

    // 0 ("High") while the channel is not in use; otherwise the stored value kept to 0 to 2.
    std::int16_t RFPower_Pure() const;
    void setRFPower_Pure(std::int16_t v) { rfPowerPure = v; }

    std::string FreqOp_String() const;
    // "High" for power 0, "Low" for anything else.
    std::string RFPower_String() const;

    // The reference selector that suits the stored frequency: 0 on the 5 kHz grid, otherwise
    // 1 on the 6.25 kHz grid, otherwise 0.
    std::int16_t Ref_FreqOp() const;

    // Megahertz right-aligned in four characters, a point, six decimals; the sixth restores
    // the thirds of the 8.33 kHz grid (a stored ...3 shows 3, a stored ...6 shows 7).
    static std::string Conv_Freq_LongToStr(std::int32_t freqL);
    // Reads a typed frequency in megahertz, snaps it to the grid and limits it to the band.
    static std::int32_t Conv_Freq_StrToLong(const std::string& str0);
    // Nearest point of the 12.5, 8.33, 6.25 or 5 kHz grid within the frequency's 25 kHz block.
    static std::int32_t AdjustFreq(std::int32_t freqL);
    // Bit 0: a multiple of 5 kHz; bit 1: a multiple of 6.25 kHz.
    static std::int16_t UsableRefFreq(std::int32_t freqL);
    static std::int16_t RangeI(std::int16_t valMin, std::int16_t valMax, std::int16_t c);

  private:
    bool appearCh = false;
    std::int32_t freqOpPure = 0;
    std::int16_t freqOpRefPure = 0;
    std::int16_t rfPowerPure = 0;
};
