// SPDX-License-Identifier: GPL-3.0-or-later
// Circuit model and factory memory of the simulated radio.
#include "sim/SimCircuits.h"

#include <algorithm>
#include <cmath>

namespace vxk5sim {
namespace {

constexpr std::array<int, 21> kBorders{0,   16,  24,  32,  40,  48,  64,  80,  96,  112, 128,
                                       144, 160, 176, 192, 208, 216, 224, 232, 240, 255};

int clampByte(long value) {
    return static_cast<int>(std::clamp<long>(value, 0, 255));
}

// Crystal-like drift on the sensor scale: a cubic through about -10 at the cold end, 0 in the
// middle and +10 at the hot end, with its turning points between.
double cubicDrift(double reading) {
    const double x = (reading - 128.0) / 127.0;
    return 10.0 * (2.0 * x * x * x - x);
}

// The reference correction the factory found for this set at a sensor reading: the mirror of
// the drift, 1.4 D/A steps per unit of it.
double factoryReferenceCurve(int reading) {
    return 128.0 - 1.4 * cubicDrift(reading);
}

// Detector counts per decibel at its input.
constexpr double kCountsPerDb = 2.0;

// What one band-pass stage takes off the detector reading `offset` setting steps from its
// optimum: the power it lets through, 1 / (1 + (offset / width)^2), in decibels on the
// detector's scale. Depends on the offset's square only, so both sides match to the bit.
double stageLoss(int offset, int halfWidth) {
    const double x = static_cast<double>(offset) / std::max(halfWidth, 1);
    return kCountsPerDb * 10.0 * std::log10(1.0 + x * x);
}

} // namespace

int bandOf(std::int64_t frequency10Hz) {
    if (frequency10Hz < kMidBandStart) {
        return 0;
    }
    return frequency10Hz < kHighBandStart ? 1 : 2;
}

const char* bandName(int band) {
    switch (band) {
    case 0:
        return "low";
    case 1:
        return "mid";
    default:
        return "high";
    }
}

const std::array<int, 21>& temperatureBorders() {
    return kBorders;
}

int temperatureArea(int reading) {
    for (int n = 0; n <= 18; ++n) {
        if (reading < kBorders[static_cast<std::size_t>(n) + 1]) {
            return n;
        }
    }
    return 19;
}

int referenceDac(const Memory& memory, int temperature) {
    const int area = temperatureArea(temperature);
    const int initial = memory[static_cast<std::size_t>(adr::kRefInitial + area)];
    const int slant =
        static_cast<std::int8_t>(memory[static_cast<std::size_t>(adr::kRefSlant + area)]);
    const double value =
        initial + slant * (temperature - kBorders[static_cast<std::size_t>(area)]) / 32.0;
    return clampByte(std::lround(value));
}

// The three stages' losses in detector counts.
static double bandPassLoss(const SimConfig& config, const Memory& memory, int band) {
    const auto b = static_cast<std::size_t>(std::clamp(band, 0, 2));
    const BandOptimum& optimum = config.bandOptimum[b];
    const int width = config.bandWidth[b];
    const std::size_t base = static_cast<std::size_t>(adr::kBandPass) + 3 * b;
    const double loss = stageLoss(memory[base] - optimum.t1, width) +
                        stageLoss(memory[base + 1] - optimum.t2, width) +
                        stageLoss(memory[base + 2] - optimum.t3, width);
    return loss;
}

int signalDetector(const SimConfig& config, const Memory& memory, int band) {
    return clampByte(std::lround(clampByte(config.signal) - bandPassLoss(config, memory, band)));
}

int generatorDetector(const SimConfig& config, const Memory& memory, int band,
                      const GeneratorSignal& input) {
    if (!input.on) {
        return 0;
    }
    const double signal =
        config.signal + kCountsPerDb * (input.levelDbm - config.generatorReferenceDbm);
    const bool received =
        input.frequencyHz >= kLowestReceiveHz && input.frequencyHz <= kHighestReceiveHz;
    if (!received || bandOf(input.frequencyHz / 10) != band) {
        return clampByte(std::lround(signal - config.outOfBandLoss));
    }
    return clampByte(std::lround(signal - bandPassLoss(config, memory, band)));
}

DetectorNoise::DetectorNoise(std::uint32_t seed) : generator(seed), seedInUse(seed) {}

int DetectorNoise::apply(int reading, const SimConfig& config) {
    const int amplitude = std::clamp(config.detectorNoise, 0, 255);
    if (amplitude == 0) {
        return reading;
    }
    if (seedInUse != config.detectorSeed) {
        generator.seed(config.detectorSeed);
        seedInUse = config.detectorSeed;
    }
    // The engine's raw output rather than a standard distribution: the engine's sequence is
    // fixed by the standard, a distribution's is not, and a seed must give the same readings
    // with every compiler. With 511 values at most the remainder's bias is below 1 in 8 million.
    const auto span = static_cast<std::uint32_t>(2 * amplitude + 1);
    const int draw = static_cast<int>(generator() % span) - amplitude;
    return clampByte(reading + draw);
}

double sampleTemperatureConstant(int border) {
    return cubicDrift(kBorders[static_cast<std::size_t>(std::clamp(border, 0, 20))]);
}

Memory factoryMemory() {
    Memory memory{};
    // Channel memories and settings: a fixed pattern, the same in every run.
    for (int a = 0; a < adr::kAreaStart; ++a) {
        memory[static_cast<std::size_t>(a)] =
            static_cast<std::uint8_t>(((a >> 4) * 0x1D + (a & 0xF) * 0x07 + 0x3C) & 0xFF);
    }
    for (int a = adr::kAreaStart; a < 2048; ++a) {
        memory[static_cast<std::size_t>(a)] = 0xFF; // unused cells read as erased EEPROM
    }
    auto put = [&memory](int address, int value) {
        memory[static_cast<std::size_t>(address)] = static_cast<std::uint8_t>(value & 0xFF);
    };
    put(adr::kPowerLow, 72);
    put(adr::kPowerHigh, 200);
    put(adr::kModLevelIn, 128);
    put(adr::kModLevel, 112);
    put(adr::kDtcsDecode, 4);
    // Band-pass stages a few steps off the optimum, as a set drifts after years of service.
    const int bandPass[9] = {90, 106, 96, 120, 124, 123, 146, 142, 150};
    for (int i = 0; i < 9; ++i) {
        put(adr::kBandPass + i, bandPass[i]);
    }
    put(adr::kSMeter, 48);
    put(adr::kSMeter + 1, 56);
    put(adr::kSMeter + 2, 64);
    put(adr::kDtcsBalance, 128);
    put(adr::kSquelch, 92);
    for (int n = 0; n < 20; ++n) {
        const double low = factoryReferenceCurve(kBorders[static_cast<std::size_t>(n)]);
        const double high = factoryReferenceCurve(kBorders[static_cast<std::size_t>(n) + 1]);
        const int width =
            kBorders[static_cast<std::size_t>(n) + 1] - kBorders[static_cast<std::size_t>(n)];
        put(adr::kRefInitial + n, clampByte(std::lround(low)));
        const long slant = std::clamp<long>(std::lround((high - low) / width * 32.0), -128, 127);
        put(adr::kRefSlant + n, static_cast<int>(slant));
    }
    return memory;
}

} // namespace vxk5sim
