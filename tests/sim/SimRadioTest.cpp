// SPDX-License-Identifier: GPL-3.0-or-later
// Frame-level tests of the simulated radio where no session shows them: the adjustment state's
// lock, the adjustments' cells, the readouts, a clone write stored whole or refused whole, a stuck
// cell, the line pacing and the detector behind a generator. What it answers in a session the
// golden traces pin, and its fault knobs are exercised end to end by the link's tests against it.
#include "sim/SimRadio.h"
#include "tests/sim/SimTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

using namespace simtest;
using vxk5sim::SimConfig;
using vxk5sim::SimRadio;

static const Bytes Vexo = {'V', 'e', 'x', 'o', ' ', 'I', 'n', 'c', '.'};

TEST(SimRadio, AdjustmentsAreIgnoredBeforeTheExactUnlock) {
    SimRadio radio;
    const auto factory = radio.memory();
    for (const std::string text : {"5Rk9Tz3Wq", "5rk9Tz3Wq1", "5Rk9Tz3Wq1 "}) {
        const Bytes wrong = e8Frame(0, Bytes(text.begin(), text.end()));
        EXPECT_EQ(talk(radio, wrong), wrong) << text;
    }
    EXPECT_EQ(talk(radio, e8Value(12, 0x80)), e8Value(12, 0x80)); // the echo alone
    EXPECT_EQ(talk(radio, e8Value(3, 0)), e8Value(3, 0)) << "no readout while locked";
    EXPECT_FALSE(radio.adjustmentState());
    EXPECT_EQ(radio.e8Value(12), -1);
    EXPECT_EQ(radio.memory(), factory);
    EXPECT_EQ(talk(radio, Unlock), Unlock) << "the unlock is not answered";
    EXPECT_TRUE(radio.adjustmentState());
}

TEST(SimRadio, EachAdjustmentLandsInItsOwnMemoryCell) {
    SimRadio radio;
    talk(radio, Unlock);
    const std::pair<int, int> cells[] = {
        {11, 0x7A8}, {12, 0x7A9}, {13, 0x7AA}, {14, 0x7AB}, {16, 0x7AC}, {17, 0x7B0}, {21, 0x7B4},
        {25, 0x7B8}, {15, 0x7BC}, {7, 0x7BD},  {26, 0x7C0}, {45, 0x7D3}, {46, 0x7D4}, {65, 0x7E7}};
    for (const auto& [command, cell] : cells) {
        auto expected = radio.memory();
        expected[cell] = 0xA7;
        const Bytes adjust = e8Value(std::uint8_t(command), 0xA7);
        EXPECT_EQ(talk(radio, adjust), adjust); // not answered
        EXPECT_EQ(radio.memory(), expected) << "command " << command;
    }
}

TEST(SimRadio, ReadoutAnswersTheReadingAsTwoHexCharacters) {
    SimConfig config;
    config.temperature = 201;
    config.level = 77;
    config.volume = 33;
    SimRadio radio(config);
    radio.memory()[0x7A9] = 0xC4; // Power(Hi)
    talk(radio, Unlock);
    const std::pair<int, int> readings[] = {{0, 201}, {1, 77}, {6, 0xC4}, {8, 33}, {13, 0}};
    for (const auto& [parameter, value] : readings) {
        const Bytes query = e8Value(3, parameter);
        const Bytes answer = cat({0x73, 0x51, 0x00, 0x01, 0x03}, hex({std::uint8_t(value)}));
        EXPECT_EQ(talk(radio, query), cat(query, radioFrame(0xE8, answer))) << parameter;
    }
}

TEST(SimRadio, CloneWriteIsStoredWholeOrRefusedWholeForOneBadRecord) {
    const std::string first = "001002ABCD76"; // 00 10, 2 bytes AB CD, checksum 76
    // The first second record is good (lower case is fine too), each other one spoils the write.
    for (const std::string second : {"07f001ee1a", "001002ABCD77", "001003ABCD75", "0010020BXD76",
                                     "001002ABCD7", "07FF02ABCD80"}) {
        SimRadio radio;
        auto expected = radio.memory();
        talk(radio, hostFrame(0xE3, {0x73, 0x51, 0x00, 0x01}));
        talk(radio, hostFrame(0xE4, Bytes(first.begin(), first.end())));
        talk(radio, hostFrame(0xE4, Bytes(second.begin(), second.end())));
        const bool good = second == "07f001ee1a";
        const Bytes end = hostFrame(0xE5, Vexo);
        EXPECT_EQ(talk(radio, end), cat(end, radioFrame(0xE6, {std::uint8_t(good ? 0 : 1)})))
            << second;
        for (const auto& [adr, value] : {std::pair(0x10, 0xAB), {0x11, 0xCD}, {0x7F0, 0xEE}}) {
            expected[adr] = good ? value : expected[adr];
        }
        EXPECT_EQ(radio.memory(), expected) << second;
    }
}

TEST(SimRadio, AStuckCellKeepsItsValueThroughWritesAndAdjustments) {
    SimConfig config;
    config.stuckCell = 0x7B0; // BPF Low T1
    SimRadio radio(config);
    const std::uint8_t held = radio.memory()[0x7B0];
    talk(radio, Unlock);
    talk(radio, e8Value(17, 0xA7));
    talk(radio, e8Value(18, 0xA7)); // its neighbour is fine
    EXPECT_EQ(radio.memory()[0x7B0], held);
    EXPECT_EQ(radio.memory()[0x7B1], 0xA7);
    const std::string record = "07B002EEEE6B"; // 07 B0, 2 bytes EE EE, checksum 6B
    talk(radio, hostFrame(0xE3, {0x73, 0x51, 0x00, 0x01}));
    talk(radio, hostFrame(0xE4, Bytes(record.begin(), record.end())));
    const Bytes end = hostFrame(0xE5, Vexo);
    EXPECT_EQ(talk(radio, end), cat(end, radioFrame(0xE6, {0}))) << "the radio cannot tell";
    EXPECT_EQ(radio.memory()[0x7B0], held);
    EXPECT_EQ(radio.memory()[0x7B1], 0xEE);
}

// 9600 bit/s, 10 bits a byte: one byte every 1.04 ms, then a 2 ms turnaround before an answer.
TEST(SimRadio, PacingReleasesBytesAtTheLineRateByTheClockPassedIn) {
    SimConfig config;
    config.pacing = true;
    config.answerDelayMs = 2;
    SimRadio radio(config);
    radio.receive(IdentityQuery, 1000);
    EXPECT_TRUE(radio.transmit(1001).empty()) << "the first byte needs 1.04 ms";
    EXPECT_EQ(radio.transmit(1002).size(), 1u);
    EXPECT_EQ(radio.transmit(1009).size(), 7u); // bytes 2..8 end by 9.4 ms
    EXPECT_EQ(radio.transmit(1011), Bytes({0x00, 0xFD})) << "echo complete at 10.4 ms";
    EXPECT_TRUE(radio.transmit(1013).empty());
    EXPECT_EQ(radio.transmit(1022).size(), 9u); // the answer's last byte at 22.8 ms
    EXPECT_EQ(radio.transmit(1023), Bytes({0xFD}));
    EXPECT_EQ(radio.nextTransmitMs(), -1);
}

namespace {

// A generator on the antenna, set by these SCPI lines, the radio on 145 MHz (low band) with T2
// and T3 on their optima; T1 swept through its whole range.
struct GeneratorCase {
    const char* name;
    std::vector<std::string> scpi;
    int highest; // the highest reading of the sweep
    bool flat;   // every reading the same; otherwise the highest lie around T1's optimum
};

class DetectorFollowsGeneratorTest : public ::testing::TestWithParam<GeneratorCase> {};

} // namespace

TEST_P(DetectorFollowsGeneratorTest, OffGivesNothingOutOfBandFlatInBandAPeakByTheLevel) {
    const GeneratorCase& c = GetParam();
    SimRadio radio;
    vxk5sim::SimGenerator generator;
    radio.attachGenerator(&generator);
    for (const std::string& line : c.scpi) {
        generator.handle(line);
    }
    const vxk5sim::BandOptimum optimum = radio.config().bandOptimum[0];
    radio.memory()[0x7B1] = static_cast<std::uint8_t>(optimum.t2);
    radio.memory()[0x7B2] = static_cast<std::uint8_t>(optimum.t3);
    std::vector<int> sweep;
    for (int t1 = 0; t1 < 256; ++t1) {
        radio.memory()[0x7B0] = static_cast<std::uint8_t>(t1);
        sweep.push_back(radio.readout(2));
    }
    const auto peak = std::max_element(sweep.begin(), sweep.end());
    EXPECT_EQ(*peak, c.highest);
    EXPECT_EQ(*std::min_element(sweep.begin(), sweep.end()) == *peak, c.flat);
    if (!c.flat) { // the middle of the highest readings, where a sweep settles
        const auto last = std::find(sweep.rbegin(), sweep.rend(), *peak).base() - 1;
        EXPECT_EQ(((peak - sweep.begin()) + (last - sweep.begin())) / 2, optimum.t1);
        EXPECT_LT(sweep[static_cast<std::size_t>(optimum.t1 - 40)], *peak - 20);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Bench, DetectorFollowsGeneratorTest, ::testing::Values(
    GeneratorCase{"OutputOffNoSignal", {"FREQ 145 MHz", "POW -60 dBm"}, 0, true},
    GeneratorCase{"SwitchedOffAgain", {"FREQ 145 MHz", "OUTP ON", "OUTP 0"}, 0, true},
    GeneratorCase{"InBandAtTheReferenceLevel", {"FREQ 145 MHz", "POW -60 dBm", "OUTP ON"}, 160,
                  false},
    GeneratorCase{"TenDbMoreTwentyCountsMore", {"SOUR:FREQ 145000000", "POW -50.0 dBm", "OUTP 1"},
                  180, false},
    GeneratorCase{"FortyDbMore", {"FREQ 145 MHz", "POW -20 dBm", "OUTP ON"}, 240, false},
    GeneratorCase{"MidBandFlat", {"FREQ 155 MHz", "POW -60 dBm", "OUTP ON"}, 100, true},
    GeneratorCase{"OutOfTheReceiverFlat", {"FREQ 1 GHz", "POW -60 dBm", "OUTP ON"}, 100, true}),
    [](const ::testing::TestParamInfo<GeneratorCase>& info) { return info.param.name; });
// clang-format on
