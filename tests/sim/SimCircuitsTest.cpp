// SPDX-License-Identifier: GPL-3.0-or-later
// What lies behind the simulated radio's line: the band edges, the temperature areas, the
// reference D/A along an area's slant, the signal detector's resonance around the band-pass
// optima and the detector's noise. The sweeps' golden traces pin the readings around the
// optima of every stage in every band, as the utility's sweeps see them.
#include "sim/SimCircuits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

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

namespace {

// The detector reading with the band's three stages at these settings.
int readingAt(const SimConfig& config, int band, const std::array<int, 3>& stages) {
    Memory m{};
    for (int k = 0; k < 3; ++k) {
        m[static_cast<std::size_t>(adr::kBandPass + 3 * band + k)] =
            static_cast<std::uint8_t>(stages[static_cast<std::size_t>(k)]);
    }
    return signalDetector(config, m, band);
}

// The middle band's stages, their optima 100, 120 and 140, offset by these steps; the other
// bands get a half width of 1, so a reading that took the wrong band's width would show.
struct ResonanceCase {
    const char* name;
    int width;
    std::array<int, 3> offsets;
    int signal;
    int reading;
};

class DetectorResonanceTest : public ::testing::TestWithParam<ResonanceCase> {};

} // namespace

// At one half width a stage passes half the power (3 dB, 6 counts at two counts per dB), at
// three half widths a tenth (10 dB, 20 counts); the stages' losses add.
TEST_P(DetectorResonanceTest, LosesTheTunedCircuitsDecibelsInCounts) {
    const ResonanceCase& c = GetParam();
    SimConfig config;
    config.signal = c.signal;
    config.bandOptimum[1] = {100, 120, 140};
    config.bandWidth = {1, c.width, 1};
    const std::array<int, 3> stages{100 + c.offsets[0], 120 + c.offsets[1], 140 + c.offsets[2]};
    EXPECT_EQ(readingAt(config, 1, stages), c.reading);
}

INSTANTIATE_TEST_SUITE_P(
    Points, DetectorResonanceTest,
    ::testing::Values(ResonanceCase{"OnTheOptimum", 8, {0, 0, 0}, 150, 150},
                      ResonanceCase{"HalfWidthBelow", 8, {-8, 0, 0}, 150, 144},
                      ResonanceCase{"NarrowThreeHalfWidths", 4, {0, -12, 0}, 150, 130},
                      ResonanceCase{"StagesAdd", 8, {8, -24, 8}, 150, 118},
                      ResonanceCase{"HeldAtZero", 8, {-100, 115, 115}, 60, 0},
                      ResonanceCase{"SignalHeldBeforeTheLosses", 8, {8, 0, 0}, 300, 249}),
    [](const ::testing::TestParamInfo<ResonanceCase>& info) { return info.param.name; });

// Noise spreads over its amplitude either way and no further, held to the reading's range; the
// same seed gives the same readings, a new seed its own sequence from its start.
TEST(DetectorNoise, BoundedAndRepeatableBySeed) {
    SimConfig config;
    config.detectorNoise = 4;
    DetectorNoise noise(7);
    std::set<int> seen;
    std::vector<int> run;
    for (int i = 0; i < 2000; ++i) {
        seen.insert(noise.apply(128, config));
        run.push_back(noise.apply(253, config));
    }
    EXPECT_EQ(seen, (std::set<int>{124, 125, 126, 127, 128, 129, 130, 131, 132}));
    EXPECT_EQ(*std::max_element(run.begin(), run.end()), 255);
    DetectorNoise again(7);
    for (std::size_t i = 0; i < 50; ++i) {
        again.apply(128, config);
        ASSERT_EQ(again.apply(253, config), run[i]) << i;
    }
    config.detectorNoise = 0;
    EXPECT_EQ(noise.apply(128, config), 128);
}
