// SPDX-License-Identifier: GPL-3.0-or-later
// What lies behind the line of the simulated radio: the layout of its adjustment memory, the
// factory contents of that memory, and the circuits the adjustments act on (temperature
// compensation of the reference, signal detector behind the band-pass filter and its noise,
// band selection).
// The radio's live settings are its memory: every adjustment command stores its value there,
// and the circuits read it back, as the real set does from its EEPROM.
#pragma once

#include "sim/SimConfig.h"

#include <array>
#include <cstdint>
#include <random>

namespace vxk5sim {

using Memory = std::array<std::uint8_t, 2048>;

// Addresses of the adjustment area (0x7A8..0x7E7).
namespace adr {
inline constexpr int kPowerLow = 0x7A8;
inline constexpr int kPowerHigh = 0x7A9;
inline constexpr int kModLevelIn = 0x7AA; // the level input reading handed back by the computer
inline constexpr int kModLevel = 0x7AB;
inline constexpr int kDtcsDecode = 0x7AC;
inline constexpr int kBandPass = 0x7B0; // 9 bytes: low T1..T3, mid T1..T3, high T1..T3
inline constexpr int kSMeter = 0x7B9;   // 3 bytes: S1, S2, S3
inline constexpr int kDtcsBalance = 0x7BC;
inline constexpr int kSquelch = 0x7BD;
inline constexpr int kRefInitial = 0x7C0; // 20 bytes, one per temperature area
inline constexpr int kRefSlant = 0x7D4;   // 20 signed bytes
inline constexpr int kAreaStart = 0x7A8;
inline constexpr int kAreaEnd = 0x7E7;
} // namespace adr

// Band edges in 10 Hz units: low below 150 MHz, mid from 150 MHz to below 162 MHz, high from
// 162 MHz up.
inline constexpr std::int64_t kMidBandStart = 15000000;
inline constexpr std::int64_t kHighBandStart = 16200000;
int bandOf(std::int64_t frequency10Hz);
const char* bandName(int band);

// The temperature sensor readings that bound the 20 compensation areas (border n and n + 1
// enclose area n).
const std::array<int, 21>& temperatureBorders();
// Area 0..19 of a sensor reading: the first area whose upper border lies above the reading.
int temperatureArea(int reading);

// Reference D/A at a sensor reading: REF Initial of the area plus its slant per 32 counts of
// the reading above the area's lower border, held within 0..255.
int referenceDac(const Memory& memory, int temperature);

// Signal detector reading. Each band-pass stage is a tuned circuit: at `offset` setting steps
// from its optimum it passes 1 / (1 + (offset / width)^2) of the power (a Lorentzian, half the
// power at one half width, config.bandWidth). The detector is logarithmic, two counts per dB,
// so the three stages' losses add up in counts; the reading is the signal level less these
// losses, rounded and held within 0..255. Symmetric around every optimum and single-peaked,
// so a sweep that scans in steps of two and settles on the middle of the highest readings
// lands on the optimum. Far from the optimum a stage loses only 12 counts more per doubling of
// the offset, so the coarse points of a sweep, tens of steps off, still read the signal. The
// reading has no noise; see DetectorNoise.
int signalDetector(const SimConfig& config, const Memory& memory, int band);

// What a signal generator on the antenna socket gives the receiver.
struct GeneratorSignal {
    bool on = false;
    std::int64_t frequencyHz = 0;
    double levelDbm = 0.0;
};

// The radio's front end passes 130 to 180 MHz; a frequency outside passes no band at all.
inline constexpr std::int64_t kLowestReceiveHz = 130000000;
inline constexpr std::int64_t kHighestReceiveHz = 180000000;

// The detector reading with a generator attached instead of the fixed config.signal: no
// reading (0) while its output is off; out of the band the radio is tuned to, a flat reading,
// config.outOfBandLoss below the level and the same for every band-pass setting; in the band,
// as signalDetector with the signal moved two counts per dB of the generator's level above or
// below config.generatorReferenceDbm.
int generatorDetector(const SimConfig& config, const Memory& memory, int band,
                      const GeneratorSignal& input);

// The detector's noise: a whole number of counts drawn evenly from -amplitude..amplitude for
// every reading. It has a generator of its own, so a noisy sweep repeats for the same seed and
// does not shift the line noise's draws. The generator restarts whenever the seed knob
// changes, as the line noise does.
class DetectorNoise {
  public:
    explicit DetectorNoise(std::uint32_t seed);
    // The reading with config.detectorNoise counts of noise at most, held within 0..255.
    // Without noise the reading is handed back and nothing is drawn.
    int apply(int reading, const SimConfig& config);

  private:
    std::mt19937 generator;
    std::uint32_t seedInUse;
};

// The memory as it leaves the factory: plausible alignment values in the adjustment area and
// a fixed pattern everywhere else.
Memory factoryMemory();

// Temperature coefficient of border i (0..20) for the sample constants file: a crystal-like
// cubic from about -10 at the coldest border to +10 at the hottest.
double sampleTemperatureConstant(int border);

} // namespace vxk5sim
