// Tests of what lies behind the simulated radio's line: band edges, temperature areas, the
// reference D/A, the signal detector peak (including a complete band-pass sweep run the way
// the utility runs it, through E8 frames), the factory memory and the sample constants file.
#include "sim/SimCircuits.h"
#include "sim/SimRadio.h"
#include "tests/sim/SimTestUtil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>

using namespace simtest;
using namespace vxk5sim;

TEST(SimCircuitsBand, EdgesAt150And162MHz) {
    const std::pair<std::int64_t, int> cases[] = {{13600000, 0}, {14999999, 0}, {15000000, 1},
                                                  {16199999, 1}, {16200000, 2}, {17400000, 2}};
    for (const auto& [frequency, band] : cases) {
        EXPECT_EQ(bandOf(frequency), band) << frequency;
    }
}

TEST(SimCircuitsTemperature, AreaOfAReadingStartsAtItsLowerBorder) {
    const std::pair<int, int> cases[] = {{0, 0},    {15, 0},   {16, 1},   {47, 4},   {48, 5},
                                         {128, 10}, {239, 18}, {240, 19}, {254, 19}, {255, 19}};
    for (const auto& [reading, area] : cases) {
        EXPECT_EQ(temperatureArea(reading), area) << reading;
    }
}

TEST(SimCircuitsTemperature, ReferenceDacRunsAlongTheSlantOfTheArea) {
    Memory m{};
    m[adr::kRefInitial + 10] = 120;
    m[adr::kRefSlant + 10] = static_cast<std::uint8_t>(-16); // -16 per 32 counts
    EXPECT_EQ(referenceDac(m, 128), 120);
    EXPECT_EQ(referenceDac(m, 136), 116); // 8 counts into the area: -16 * 8 / 32
    m[adr::kRefInitial + 11] = 60;
    EXPECT_EQ(referenceDac(m, 144), 60) << "the next area starts at its own initial value";
    m[adr::kRefInitial + 19] = 250;
    m[adr::kRefSlant + 19] = 127;
    EXPECT_EQ(referenceDac(m, 255), 255) << "held to the D/A range";
}

TEST(SimCircuitsTemperature, FactoryReferenceIsContinuousAcrossAreas) {
    const Memory m = factoryMemory();
    const auto& b = temperatureBorders();
    for (int n = 0; n < 19; ++n) {
        const int width = b[static_cast<std::size_t>(n) + 1] - b[static_cast<std::size_t>(n)];
        const int slant = static_cast<std::int8_t>(m[static_cast<std::size_t>(adr::kRefSlant + n)]);
        const double endOfArea =
            m[static_cast<std::size_t>(adr::kRefInitial + n)] + slant * width / 32.0;
        EXPECT_NEAR(endOfArea, m[static_cast<std::size_t>(adr::kRefInitial + n + 1)], 2.0)
            << "area " << n;
    }
}

TEST(SimCircuitsFactory, AdjustmentAreaHoldsPlausibleValues) {
    const Memory m = factoryMemory();
    EXPECT_EQ(m[adr::kDtcsDecode], 4);
    EXPECT_LT(m[adr::kPowerLow], m[adr::kPowerHigh]);
    EXPECT_LT(m[adr::kSMeter], m[adr::kSMeter + 1]);
    EXPECT_LT(m[adr::kSMeter + 1], m[adr::kSMeter + 2]);
    const SimConfig healthy;
    for (int band = 0; band < 3; ++band) {
        const BandOptimum& o = healthy.bandOptimum[static_cast<std::size_t>(band)];
        const int stage[3] = {o.t1, o.t2, o.t3};
        for (int k = 0; k < 3; ++k) {
            const int value = m[static_cast<std::size_t>(adr::kBandPass + 3 * band + k)];
            EXPECT_NEAR(value, stage[k], 8)
                << "band " << band << " T" << k + 1 << ": near, not on, the optimum";
        }
    }
    for (int n = 0; n < 20; ++n) {
        EXPECT_NEAR(m[static_cast<std::size_t>(adr::kRefInitial + n)], 128, 20)
            << "REF Initial " << n;
    }
    EXPECT_EQ(factoryMemory(), m) << "the same every time";
}

// ------------------------------------------------------------------------------------------
// Signal detector

TEST(SimCircuitsDetector, PeaksAtTheOptimumAndFallsOneCountPerStep) {
    SimConfig config;
    config.signal = 150;
    config.bandOptimum[1] = {100, 120, 140};
    Memory m{};
    auto set = [&m](int t1, int t2, int t3) {
        m[adr::kBandPass + 3] = static_cast<std::uint8_t>(t1);
        m[adr::kBandPass + 4] = static_cast<std::uint8_t>(t2);
        m[adr::kBandPass + 5] = static_cast<std::uint8_t>(t3);
    };
    set(100, 120, 140);
    EXPECT_EQ(signalDetector(config, m, 1), 150);
    set(97, 120, 140);
    EXPECT_EQ(signalDetector(config, m, 1), 147);
    set(103, 120, 140);
    EXPECT_EQ(signalDetector(config, m, 1), 147) << "symmetric";
    set(100, 110, 145);
    EXPECT_EQ(signalDetector(config, m, 1), 135);
    EXPECT_EQ(signalDetector(config, m, 0), 0) << "the low band's stages (all 0) are far off";
    set(255, 0, 0);
    EXPECT_EQ(signalDetector(config, m, 1), 0) << "held at 0";
}

namespace {

// Drives the radio through E8 frames like the utility's band-pass sweep: coarse pass at 63,
// 127 and 191 on all three stages, then per stage three points and a fine scan by 2 that ends
// on the best setting plus the number of equal readings.
class SweepRunner {
  public:
    SweepRunner(SimRadio& radio, int band) : radio(radio), band(band) {}

    std::array<int, 3> run() {
        const int points[5] = {0, 63, 127, 191, 255};
        setAll(0);
        int bestReading = 0;
        int bestSetting = 1;
        int equalCount = 0;
        int current = 1;
        setAll(points[current]);
        for (;;) {
            const int r = read();
            if (r > bestReading) {
                bestReading = r;
                bestSetting = current;
            }
            if (++current < 4) {
                setAll(points[current]);
                continue;
            }
            break;
        }
        const int lower = points[bestSetting - 1];
        const int upper = points[bestSetting + 1];
        const int middle = points[bestSetting];
        setAll(middle);
        std::array<int, 3> result{};
        for (int k = 0; k < 3; ++k) {
            set(k, half(middle + lower));
            bestReading = read();
            bestSetting = half(middle + lower);
            set(k, middle);
            if (int r = read(); r > bestReading) {
                bestReading = r;
                bestSetting = middle;
            }
            set(k, half(middle + upper));
            if (read() > bestReading) {
                bestSetting = half(middle + upper);
            }
            bestReading = 0;
            int start = middle;
            int end = upper;
            if (middle > bestSetting) {
                start = lower;
                end = middle;
            } else if (middle == bestSetting) {
                start = half(lower + middle);
                end = half(middle + upper);
            }
            current = start;
            set(k, current);
            for (;;) {
                const int r = read();
                if (r > bestReading) {
                    bestReading = r;
                    bestSetting = current;
                    equalCount = 0;
                } else if (r == bestReading) {
                    ++equalCount;
                }
                current += 2;
                if (current <= end) {
                    set(k, current);
                    continue;
                }
                break;
            }
            result[static_cast<std::size_t>(k)] = bestSetting + equalCount;
            set(k, result[static_cast<std::size_t>(k)]);
        }
        return result;
    }

  private:
    static int half(int sum) { // (a + b) / 2 with halves to the even neighbour
        const int q = sum / 2;
        return (sum % 2 == 0 || q % 2 == 0) ? q : q + 1;
    }
    void set(int stage, int value) {
        radio.receive(e8Value(static_cast<std::uint8_t>(17 + 3 * band + stage), value), 0);
        radio.transmit(0);
    }
    void setAll(int value) {
        for (int k = 0; k < 3; ++k) {
            set(k, value);
        }
    }
    int read() {
        radio.receive(e8Frame(3, "02"), 0);
        const auto a = answers(radio.transmit(0));
        EXPECT_EQ(a.size(), 1u);
        const Bytes& f = a.back();
        return hexDigitValue(f[f.size() - 2]) * 16 + hexDigitValue(f[f.size() - 1]);
    }

    SimRadio& radio;
    int band;
};

struct SweepCase {
    int band;
    BandOptimum optimum;
};

const char* const kBandChannel[3] = {"14500000", "15500000", "16800000"};

} // namespace

class SimCircuitsSweep : public ::testing::TestWithParam<SweepCase> {};

TEST_P(SimCircuitsSweep, UtilitySweepLandsOnTheOptimum) {
    SimConfig config;
    config.signal = 200;
    config.bandOptimum[static_cast<std::size_t>(GetParam().band)] = GetParam().optimum;
    SimRadio radio(config);
    radio.receive(unlockFrame(), 0);
    radio.receive(e8Frame(1, kBandChannel[GetParam().band]), 0);
    radio.transmit(0);
    ASSERT_EQ(radio.band(), GetParam().band);
    const auto result = SweepRunner(radio, GetParam().band).run();
    const BandOptimum& o = GetParam().optimum;
    EXPECT_NEAR(result[0], o.t1, 1);
    EXPECT_NEAR(result[1], o.t2, 1);
    EXPECT_NEAR(result[2], o.t3, 1);
    EXPECT_EQ(radio.readout(2), 200 - std::abs(result[0] - o.t1) - std::abs(result[1] - o.t2) -
                                    std::abs(result[2] - o.t3));
}

INSTANTIATE_TEST_SUITE_P(
    Bands, SimCircuitsSweep,
    ::testing::Values(SweepCase{0, {92, 104, 98}}, SweepCase{1, {118, 126, 122}},
                      SweepCase{2, {148, 140, 152}}, SweepCase{0, {60, 75, 90}},
                      SweepCase{1, {127, 127, 127}}, SweepCase{2, {170, 185, 160}},
                      SweepCase{1, {101, 133, 111}}));

// ------------------------------------------------------------------------------------------
// Sample constants file

TEST(SimCircuitsConstants, SampleFileCarriesTheProductLineAnd21Coefficients) {
    std::ifstream in(VXK5_SIM_SOURCE_DIR "/Const.ini");
    ASSERT_TRUE(in.is_open());
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "VS-K5 ALN Rev.1.0");
    double previous = -100;
    for (int i = 0; i < 21; ++i) {
        ASSERT_TRUE(std::getline(in, line)) << "line " << i + 2;
        const double value = std::stod(line);
        EXPECT_NEAR(value, sampleTemperatureConstant(i), 0.001) << "border " << i;
        EXPECT_GE(value, -11.0);
        EXPECT_LE(value, 11.0);
        if (i == 0 || i == 20) {
            EXPECT_NEAR(std::abs(value), 10.0, 0.5) << "the ends of the cubic";
        }
        previous = value;
    }
    EXPECT_GT(previous, 9.0);
}
