// What lies behind the simulated radio's line: the band edges, the temperature areas, the
// reference D/A along an area's slant, and the signal detector that peaks at the band-pass
// optimum (what the utility's sweeps look for).
#include "sim/SimCircuits.h"

#include <gtest/gtest.h>

using namespace vxk5sim;

TEST(SimCircuits, BandEdgesTemperatureAreasAndTheReferenceAlongItsSlant) {
    const std::pair<std::int64_t, int> cases[] = {{13600000, 0}, {14999999, 0}, {15000000, 1},
                                                  {16199999, 1}, {16200000, 2}, {17400000, 2}};
    for (const auto& [frequency, band] : cases) {
        EXPECT_EQ(bandOf(frequency), band) << frequency;
    }
    const std::pair<int, int> areas[] = {{0, 0},    {15, 0},   {16, 1},   {47, 4},  {48, 5},
                                         {128, 10}, {239, 18}, {240, 19}, {255, 19}};
    for (const auto& [reading, area] : areas) {
        EXPECT_EQ(temperatureArea(reading), area) << reading;
    }
    Memory m{};
    m[adr::kRefInitial + 10] = 120;
    m[adr::kRefSlant + 10] = static_cast<std::uint8_t>(-16); // -16 per 32 counts
    m[adr::kRefInitial + 11] = 60;
    m[adr::kRefInitial + 19] = 250;
    m[adr::kRefSlant + 19] = 127;
    EXPECT_EQ(referenceDac(m, 128), 120);
    EXPECT_EQ(referenceDac(m, 136), 116); // 8 counts into the area
    EXPECT_EQ(referenceDac(m, 144), 60) << "the next area starts at its own initial value";
    EXPECT_EQ(referenceDac(m, 255), 255) << "held to the D/A range";
}

TEST(SimCircuits, DetectorPeaksAtTheOptimumAndFallsOneCountPerStepAway) {
    SimConfig config;
    config.signal = 150;
    config.bandOptimum[1] = {100, 120, 140};
    // clang-format off
    const std::pair<std::array<int, 3>, int> cases[] = {{{100, 120, 140}, 150},
        {{97, 120, 140}, 147}, {{103, 120, 140}, 147}, {{100, 110, 145}, 135}, {{255, 0, 0}, 0}};
    // clang-format on
    for (const auto& [stages, reading] : cases) {
        Memory m{};
        for (int k = 0; k < 3; ++k) {
            m[adr::kBandPass + 3 + k] = static_cast<std::uint8_t>(stages[k]);
        }
        EXPECT_EQ(signalDetector(config, m, 1), reading)
            << stages[0] << " " << stages[1] << " " << stages[2];
    }
}
