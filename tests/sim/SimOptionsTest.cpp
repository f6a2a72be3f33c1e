// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the vxk5-sim command line: every option reaches its own knob (values all differ, so
// two options swapped would show), and bad or out-of-range values are refused with a reason.
#include "sim/SimOptions.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

using vxk5sim::parseSimOptions;
using vxk5sim::SimConfig;

TEST(SimOptions, EachFaultSwitchSetsItsOwnKnobOnly) {
    const std::pair<const char*, bool SimConfig::*> flags[] = {
        {"--wrong-model", &SimConfig::wrongModel}, {"--bad-sub", &SimConfig::badSubCode},
        {"--no-echo", &SimConfig::noEcho},         {"--no-answer", &SimConfig::noAnswer},
        {"--garbage", &SimConfig::garbage},        {"--refuse-write", &SimConfig::refuseWrite}};
    for (const auto& [option, flag] : flags) {
        const auto parsed = parseSimOptions({option});
        ASSERT_EQ(parsed.error, "") << option;
        for (const auto& [other, field] : flags) {
            EXPECT_EQ(parsed.config.*field, field == flag) << option << " and " << other;
        }
    }
}

TEST(SimOptions, EveryValueReachesItsKnob) {
    // clang-format off
    const auto o = parseSimOptions({"--no-pace", "--link", "/tmp/radio", "--quiet",
        "--temperature=17", "--level", "7", "--signal", "255", "--volume", "9", "--answer-delay",
        "50", "--bpf-low", "10,20,30", "--bpf-mid", "1,2,3", "--bpf-high", "200,210,220",
        "--bad-checksum", "3", "--silence-after", "11", "--noise", "0.25", "--seed", "42",
        "--bpf-width", "12,14,16", "--detector-noise", "13", "--detector-seed", "77",
        "--stuck-cell", "1968", "--generator", "127.0.0.1:5026", "--generator-pty", "/tmp/sg",
        "--generator-delay", "300", "--generator-drop-after", "4", "--generator-error", "-1,\"x\""});
    // clang-format on
    ASSERT_EQ(o.error, "");
    const SimConfig& c = o.config;
    EXPECT_FALSE(c.pacing);
    EXPECT_TRUE(o.quiet);
    EXPECT_EQ(o.linkPath, "/tmp/radio");
    EXPECT_EQ(std::tuple(c.temperature, c.level, c.signal, c.volume, c.answerDelayMs),
              std::tuple(17, 7, 255, 9, 50));
    EXPECT_EQ(std::tuple(c.badChecksumRecord, c.silenceAfterRecords, c.noiseRate, c.noiseSeed),
              std::tuple(3, 11, 0.25, 42u));
    const auto& b = c.bandOptimum;
    EXPECT_EQ(std::tuple(b[0].t1, b[0].t2, b[0].t3, b[1].t1, b[1].t2, b[1].t3, b[2].t1, b[2].t2),
              std::tuple(10, 20, 30, 1, 2, 3, 200, 210));
    EXPECT_EQ(b[2].t3, 220);
    EXPECT_EQ(
        std::tuple(c.bandWidth[0], c.bandWidth[1], c.bandWidth[2], c.detectorNoise, c.detectorSeed),
        std::tuple(12, 14, 16, 13, 77u));
    EXPECT_EQ(c.stuckCell, 0x7B0);
    const auto& g = o.generatorFaults;
    EXPECT_EQ(std::tuple(o.generatorHost, o.generatorPort, o.generatorPty, g.answerDelayMs,
                         g.dropAfterLines, g.settingError),
              std::tuple("127.0.0.1", 5026, "/tmp/sg", 300, 4, "-1,\"x\""));
    EXPECT_EQ(parseSimOptions({"--bpf-width", "5"}).config.bandWidth, (std::array<int, 3>{5, 5, 5}))
        << "one width for every band";
    EXPECT_TRUE(parseSimOptions({"--help"}).help);
    EXPECT_TRUE(parseSimOptions({}).config.pacing) << "paced unless told otherwise";
}

TEST(SimOptions, BadValuesAreRefusedWithAReason) {
    // clang-format off
    const std::vector<std::vector<std::string>> refused = {
        {"--bogus"}, {"--temperature"}, {"--temperature", "256"}, {"--temperature", "12x"},
        {"--level", "-1"}, {"--noise", "1.5"}, {"--noise", "abc"}, {"--bpf-low", "1,2"},
        {"--bpf-low", "1,2,3,4"}, {"--bpf-low", "1,2,300"}, {"--garbage=1"}, {"--link", ""},
        {"no-dashes"}, {"--bpf-width", "0"}, {"--bpf-width", "256"}, {"--bpf-width", "4,0,4"},
        {"--bpf-width", "4,4"}, {"--bpf-width", "4,4,4,4"}, {"--detector-noise", "-1"},
        {"--detector-noise", "256"}, {"--detector-seed", "4294967296"}, {"--detector-seed", "x"},
        {"--stuck-cell", "2048"}, {"--generator", "5025"}, {"--generator", ":5025"},
        {"--generator", "localhost:65536"}, {"--generator-pty", ""}, {"--generator-delay", "-1"}};
    // clang-format on
    for (const auto& args : refused) {
        EXPECT_NE(parseSimOptions(args).error, "") << args.front() << " " << args.back();
    }
}
