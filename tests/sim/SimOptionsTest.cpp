// Tests of the vxk5-sim command line: each option reaches its knob, bad values are refused,
// and the usage text lists every option.
#include "sim/SimOptions.h"

#include <gtest/gtest.h>

#include <functional>

using vxk5sim::parseSimOptions;
using vxk5sim::SimOptions;

TEST(SimOptions, DefaultsArePacedAndHealthy) {
    const SimOptions o = parseSimOptions({});
    EXPECT_TRUE(o.error.empty());
    EXPECT_TRUE(o.config.pacing);
    EXPECT_FALSE(o.config.noAnswer);
    EXPECT_EQ(o.config.badChecksumRecord, -1);
    EXPECT_TRUE(o.linkPath.empty());
}

struct OptionCase {
    std::vector<std::string> args;
    std::function<bool(const SimOptions&)> check;
};

class SimOptionsAccepted : public ::testing::TestWithParam<OptionCase> {};

TEST_P(SimOptionsAccepted, ReachesItsKnob) {
    const SimOptions o = parseSimOptions(GetParam().args);
    EXPECT_TRUE(o.error.empty()) << o.error;
    EXPECT_TRUE(GetParam().check(o)) << GetParam().args.front();
}

INSTANTIATE_TEST_SUITE_P(
    Table, SimOptionsAccepted,
    ::testing::Values(
        OptionCase{{"--no-pace"}, [](const SimOptions& o) { return !o.config.pacing; }},
        OptionCase{{"--link", "/tmp/radio"},
                   [](const SimOptions& o) { return o.linkPath == "/tmp/radio"; }},
        OptionCase{{"--help"}, [](const SimOptions& o) { return o.help; }},
        OptionCase{{"--quiet"}, [](const SimOptions& o) { return o.quiet; }},
        OptionCase{{"--temperature", "200"},
                   [](const SimOptions& o) { return o.config.temperature == 200; }},
        OptionCase{{"--temperature=17"},
                   [](const SimOptions& o) { return o.config.temperature == 17; }},
        OptionCase{{"--level", "0"}, [](const SimOptions& o) { return o.config.level == 0; }},
        OptionCase{{"--signal", "255"}, [](const SimOptions& o) { return o.config.signal == 255; }},
        OptionCase{{"--volume", "9"}, [](const SimOptions& o) { return o.config.volume == 9; }},
        OptionCase{{"--answer-delay", "50"},
                   [](const SimOptions& o) { return o.config.answerDelayMs == 50; }},
        OptionCase{{"--bpf-mid", "1,2,3"},
                   [](const SimOptions& o) {
                       return o.config.bandOptimum[1].t1 == 1 && o.config.bandOptimum[1].t2 == 2 &&
                              o.config.bandOptimum[1].t3 == 3;
                   }},
        OptionCase{{"--bpf-low", "10,20,30"},
                   [](const SimOptions& o) { return o.config.bandOptimum[0].t3 == 30; }},
        OptionCase{{"--bpf-high", "200,210,220"},
                   [](const SimOptions& o) { return o.config.bandOptimum[2].t2 == 210; }},
        OptionCase{{"--wrong-model"}, [](const SimOptions& o) { return o.config.wrongModel; }},
        OptionCase{{"--bad-sub"}, [](const SimOptions& o) { return o.config.badSubCode; }},
        OptionCase{{"--no-echo"}, [](const SimOptions& o) { return o.config.noEcho; }},
        OptionCase{{"--no-answer"}, [](const SimOptions& o) { return o.config.noAnswer; }},
        OptionCase{{"--bad-checksum", "3"},
                   [](const SimOptions& o) { return o.config.badChecksumRecord == 3; }},
        OptionCase{{"--silence-after", "0"},
                   [](const SimOptions& o) { return o.config.silenceAfterRecords == 0; }},
        OptionCase{{"--garbage"}, [](const SimOptions& o) { return o.config.garbage; }},
        OptionCase{{"--noise", "0.25", "--seed", "42"},
                   [](const SimOptions& o) {
                       return o.config.noiseRate == 0.25 && o.config.noiseSeed == 42u;
                   }},
        OptionCase{{"--refuse-write"}, [](const SimOptions& o) { return o.config.refuseWrite; }}));

class SimOptionsRefused : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(SimOptionsRefused, ReportsWhy) {
    const SimOptions o = parseSimOptions(GetParam());
    EXPECT_FALSE(o.error.empty());
}

INSTANTIATE_TEST_SUITE_P(Table, SimOptionsRefused,
                         ::testing::Values(std::vector<std::string>{"--bogus"},
                                           std::vector<std::string>{"--temperature"},
                                           std::vector<std::string>{"--temperature", "256"},
                                           std::vector<std::string>{"--temperature", "12x"},
                                           std::vector<std::string>{"--level", "-1"},
                                           std::vector<std::string>{"--noise", "1.5"},
                                           std::vector<std::string>{"--noise", "abc"},
                                           std::vector<std::string>{"--bpf-low", "1,2"},
                                           std::vector<std::string>{"--bpf-low", "1,2,3,4"},
                                           std::vector<std::string>{"--bpf-low", "1,2,300"},
                                           std::vector<std::string>{"--garbage=1"},
                                           std::vector<std::string>{"--link", ""},
                                           std::vector<std::string>{"no-dashes"}));

TEST(SimOptions, UsageListsEveryOption) {
    const std::string usage = vxk5sim::simUsage("vxk5-sim");
    for (const char* name :
         {"--help",           "--link PATH",       "--no-pace", "--answer-delay MS",
          "--quiet",          "--temperature N",   "--level N", "--signal N",
          "--volume N",       "--bpf-low",         "--bpf-mid", "--bpf-high",
          "--wrong-model",    "--bad-sub",         "--no-echo", "--no-answer",
          "--bad-checksum N", "--silence-after N", "--garbage", "--noise RATE",
          "--seed N",         "--refuse-write"}) {
        EXPECT_NE(usage.find(name), std::string::npos) << name;
    }
}
