// Frame-level tests of the simulated radio: the bytes it puts on the line for each exchange,
// the adjustment state, readouts, clone read and write, every fault knob and the line pacing.
#include "sim/SimRadio.h"
#include "tests/sim/SimTestUtil.h"

#include <gtest/gtest.h>

#include <string>

using namespace simtest;
using vxk5sim::SimConfig;
using vxk5sim::SimRadio;

namespace {

// Sends one frame at t = 0 and returns everything the computer receives (no pacing).
Bytes talk(SimRadio& radio, const Bytes& frame) {
    radio.receive(frame, 0);
    return radio.transmit(0);
}

Bytes concat(const Bytes& a, const Bytes& b) {
    Bytes out = a;
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

// Decodes an E4 answer (EF EE E4 ascii...) on its own terms: upper-case hex pairs, the count,
// and the checksum rule. Fails the test on any fault and returns address and data.
struct Record {
    int address = -1;
    Bytes data;
    bool checksumOk = false;
};

Record decodeAnswerRecord(const Bytes& frame) {
    Record rec;
    EXPECT_GE(frame.size(), 3u + 10u);
    const Bytes ascii(frame.begin() + 3, frame.end());
    EXPECT_EQ(ascii.size() % 2, 0u);
    Bytes raw;
    for (std::size_t i = 0; i + 1 < ascii.size(); i += 2) {
        auto digit = [](std::uint8_t c) {
            EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))
                << "not upper-case hex: " << int(c);
            return c <= '9' ? c - '0' : c - 'A' + 10;
        };
        raw.push_back(static_cast<std::uint8_t>(digit(ascii[i]) * 16 + digit(ascii[i + 1])));
    }
    int sum = 0;
    for (std::uint8_t b : raw) {
        sum += b;
    }
    rec.checksumOk = sum % 256 == 0;
    EXPECT_EQ(static_cast<std::size_t>(raw[2]) + 4, raw.size()) << "count does not match";
    rec.address = raw[0] * 256 + raw[1];
    rec.data.assign(raw.begin() + 3, raw.end() - 1);
    return rec;
}

const Bytes kVexo{'V', 'e', 'x', 'o', ' ', 'I', 'n', 'c', '.'};

} // namespace

// ------------------------------------------------------------------------------------------
// Identity

TEST(SimRadioIdentity, AnswersWithEchoThenModelAndSubCode) {
    SimRadio radio;
    const Bytes expected =
        concat(identityQuery(), {0xFE, 0xFE, 0xEF, 0xEE, 0xE1, 0x73, 0x51, 0x00, 0x01, 0xFD});
    EXPECT_EQ(talk(radio, identityQuery()), expected);
    EXPECT_EQ(radio.framesSeen(0xE0), 1);
}

TEST(SimRadioIdentity, QueryForAnotherModelGetsOnlyTheEcho) {
    SimRadio radio;
    const Bytes query = hostFrame(0xE0, {0x12, 0x34, 0x00, 0x00});
    EXPECT_EQ(talk(radio, query), query);
}

TEST(SimRadioIdentity, FrameSplitOverSeveralWritesIsStillAnswered) {
    SimRadio radio;
    const Bytes q = identityQuery();
    radio.receive(Bytes(q.begin(), q.begin() + 3), 0);
    radio.receive(Bytes(q.begin() + 3, q.end() - 1), 0);
    EXPECT_TRUE(answers(radio.transmit(0)).empty());
    radio.receive(Bytes{0xFD}, 0);
    const auto a = answers(radio.transmit(0));
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0][2], 0xE1);
}

TEST(SimRadioIdentity, GarbageBeforeTheFrameDoesNotDisturbTheReceiver) {
    SimRadio radio;
    radio.receive({0x00, 0x12, 0xFD, 0x99, 0xFE, 0x44}, 0); // a torn frame, then noise
    radio.transmit(0);
    EXPECT_EQ(answers(talk(radio, identityQuery())).size(), 1u);
}

// ------------------------------------------------------------------------------------------
// Clone read

TEST(SimRadioCloneRead, RecordsCoverTheWholeMemoryWithValidChecksumsThenE5) {
    SimRadio radio;
    const Bytes line = talk(radio, cloneReadStart());
    ASSERT_EQ(Bytes(line.begin(), line.begin() + 10), cloneReadStart()) << "echo first";
    const auto frames = answers(line);
    ASSERT_EQ(frames.size(), 129u);
    std::array<std::uint8_t, 2048> rebuilt{};
    int nextAddress = 0;
    for (std::size_t i = 0; i < 128; ++i) {
        ASSERT_EQ(frames[i][2], 0xE4);
        const Record rec = decodeAnswerRecord(frames[i]);
        EXPECT_TRUE(rec.checksumOk) << "record " << i;
        EXPECT_EQ(rec.address, nextAddress);
        EXPECT_EQ(rec.data.size(), 16u);
        std::copy(rec.data.begin(), rec.data.end(), rebuilt.begin() + rec.address);
        nextAddress += static_cast<int>(rec.data.size());
    }
    EXPECT_EQ(rebuilt, radio.memory());
    EXPECT_EQ(frames[128], concat({0xEF, 0xEE, 0xE5}, kVexo));
}

TEST(SimRadioCloneRead, SendsTheMemoryAsItIsNow) {
    SimRadio radio;
    radio.memory()[0x7E7] = 0x5A;
    radio.memory()[0] = 0xC3;
    const auto frames = answers(talk(radio, cloneReadStart()));
    EXPECT_EQ(decodeAnswerRecord(frames[0]).data[0], 0xC3);
    EXPECT_EQ(decodeAnswerRecord(frames[126]).data[7], 0x5A); // 0x7E0 + 7
}

// ------------------------------------------------------------------------------------------
// Adjustment state and E8 commands

TEST(SimRadioE8, CommandsBeforeTheUnlockAreIgnoredWithoutAnswer) {
    SimRadio radio;
    const std::uint8_t powerBefore = radio.memory()[0x7A9];
    const Bytes frame = e8Value(12, 0x80);
    EXPECT_EQ(talk(radio, frame), frame);
    EXPECT_EQ(talk(radio, e8Value(3, 0)), e8Value(3, 0)) << "no readout while locked";
    EXPECT_FALSE(radio.adjustmentState());
    EXPECT_EQ(radio.e8Value(12), -1);
    EXPECT_EQ(radio.memory()[0x7A9], powerBefore);
    EXPECT_TRUE(radio.e8Log().empty());
}

TEST(SimRadioE8, OnlyTheExactUnlockTextEntersTheAdjustmentState) {
    SimRadio radio;
    for (const std::string text : {"5Rk9Tz3Wq", "5rk9Tz3Wq1", "5Rk9Tz3Wq1 ", ""}) {
        talk(radio, e8Frame(0, text));
        EXPECT_FALSE(radio.adjustmentState()) << '"' << text << '"';
    }
    const Bytes unlock = unlockFrame();
    ASSERT_EQ(unlock, hostFrame(0xE8, {0x73, 0x51, 0x00, 0x01, 0x00, 0x35, 0x52, 0x6B, 0x39, 0x54,
                                       0x7A, 0x33, 0x57, 0x71, 0x31}));
    EXPECT_EQ(talk(radio, unlock), unlock) << "the unlock is not answered";
    EXPECT_TRUE(radio.adjustmentState());
    EXPECT_EQ(radio.e8Value(0), 0);
}

TEST(SimRadioE8, ValueIsAppliedWithoutAnswer) {
    SimRadio radio;
    talk(radio, unlockFrame());
    const Bytes frame = e8Frame(0x0C, "80"); // 0C 38 30
    EXPECT_EQ(talk(radio, frame), frame);
    EXPECT_EQ(radio.e8Value(12), 0x80);
    EXPECT_EQ(radio.memory()[0x7A9], 0x80);
    ASSERT_EQ(radio.e8Log().size(), 1u);
    EXPECT_EQ(radio.e8Log()[0].command, 12);
    EXPECT_EQ(radio.e8Log()[0].value, 0x80);
}

TEST(SimRadioE8, MalformedValuesAreIgnored) {
    SimRadio radio;
    talk(radio, unlockFrame());
    for (const std::string chars : {"8", "800", "G0", ""}) {
        talk(radio, e8Frame(12, chars));
    }
    talk(radio, hostFrame(0xE8, {0x73, 0x51, 0x00, 0x01})); // no command byte at all
    EXPECT_EQ(radio.e8Value(12), -1);
    EXPECT_TRUE(radio.e8Log().empty());
}

TEST(SimRadioE8, E8ForAnotherModelIsIgnored) {
    SimRadio radio;
    talk(radio, hostFrame(0xE8, {0x73, 0x52, 0x00, 0x01, 0x00, '5', 'R', 'k', '9', 'T', 'z', '3',
                                 'W', 'q', '1'}));
    EXPECT_FALSE(radio.adjustmentState());
}

struct StoredCommand {
    int command;
    int address;
};

class SimRadioStoredCommand : public ::testing::TestWithParam<StoredCommand> {};

TEST_P(SimRadioStoredCommand, ValueLandsAtItsMemoryCell) {
    SimRadio radio;
    talk(radio, unlockFrame());
    const auto before = radio.memory();
    talk(radio, e8Value(static_cast<std::uint8_t>(GetParam().command), 0xA7));
    EXPECT_EQ(radio.memory()[static_cast<std::size_t>(GetParam().address)], 0xA7);
    for (std::size_t a = 0; a < before.size(); ++a) {
        if (static_cast<int>(a) != GetParam().address) {
            ASSERT_EQ(radio.memory()[a], before[a]) << "cell " << a << " changed too";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AdjustmentArea, SimRadioStoredCommand,
                         ::testing::Values(StoredCommand{11, 0x7A8}, StoredCommand{12, 0x7A9},
                                           StoredCommand{13, 0x7AA}, StoredCommand{14, 0x7AB},
                                           StoredCommand{16, 0x7AC}, StoredCommand{17, 0x7B0},
                                           StoredCommand{21, 0x7B4}, StoredCommand{25, 0x7B8},
                                           StoredCommand{15, 0x7BC}, StoredCommand{7, 0x7BD},
                                           StoredCommand{26, 0x7C0}, StoredCommand{45, 0x7D3},
                                           StoredCommand{46, 0x7D4}, StoredCommand{65, 0x7E7}));

TEST(SimRadioE8, SMeterThresholdsAreKeptAsTheLevelsTheUtilityStores) {
    SimRadio radio;
    talk(radio, unlockFrame());
    const int s = 90;
    talk(radio, e8Value(4, s - 2));
    talk(radio, e8Value(5, s + 7));
    talk(radio, e8Value(6, s + 16));
    EXPECT_EQ(radio.memory()[0x7B9], s);
    EXPECT_EQ(radio.memory()[0x7BA], s + 8);
    EXPECT_EQ(radio.memory()[0x7BB], s + 16);
    EXPECT_EQ(radio.e8Value(4), s - 2);
}

TEST(SimRadioE8, DtcsToneFollowsCommand2) {
    SimRadio radio;
    talk(radio, unlockFrame());
    talk(radio, e8Value(2, 1));
    EXPECT_TRUE(radio.dtcsTone());
    talk(radio, e8Value(2, 0));
    EXPECT_FALSE(radio.dtcsTone());
}

struct ChannelCase {
    const char* chars;
    std::int64_t frequency; // 10 Hz units, -1 = refused
    bool reference;
    bool lowPower;
    int band;
};

class SimRadioChannel : public ::testing::TestWithParam<ChannelCase> {};

TEST_P(SimRadioChannel, PackedDigitsSelectFrequencyFlagsAndBand) {
    const ChannelCase& c = GetParam();
    SimRadio radio;
    talk(radio, unlockFrame());
    const Bytes frame = e8Frame(1, c.chars);
    EXPECT_EQ(talk(radio, frame), frame) << "a channel is not answered";
    if (c.frequency < 0) {
        EXPECT_EQ(radio.e8Value(1), -1);
        EXPECT_EQ(radio.channelFrequency(), 14500000) << "the channel stays as it was";
        return;
    }
    EXPECT_EQ(radio.channelFrequency(), c.frequency);
    EXPECT_EQ(radio.channelReference(), c.reference);
    EXPECT_EQ(radio.channelLowPower(), c.lowPower);
    EXPECT_EQ(radio.band(), c.band);
    EXPECT_EQ(radio.e8Value(1), std::stoi(c.chars, nullptr, 16));
}

INSTANTIATE_TEST_SUITE_P(
    Frames, SimRadioChannel,
    ::testing::Values(ChannelCase{"14452500", 14452500, false, false, 0}, // 144.525 MHz
                      ChannelCase{"14999990", 14999990, false, false, 0},
                      ChannelCase{"15000002", 15000000, true, false, 1},
                      ChannelCase{"16199991", 16199990, false, true, 1},
                      ChannelCase{"16200003", 16200000, true, true, 2},
                      ChannelCase{"17400000", 17400000, false, false, 2},
                      ChannelCase{"1445250A", -1, false, false, 0},   // not a decimal digit
                      ChannelCase{"14452504", -1, false, false, 0},   // unknown flag
                      ChannelCase{"144525", -1, false, false, 0},     // too short
                      ChannelCase{"90000000", -1, false, false, 0})); // beyond the synthesizer

// ------------------------------------------------------------------------------------------
// Readouts

struct ReadoutCase {
    int parameter;
    int expected;
};

class SimRadioReadout : public ::testing::TestWithParam<ReadoutCase> {};

TEST_P(SimRadioReadout, AnswersTheReadingAsTwoHexCharacters) {
    SimConfig config;
    config.temperature = 201;
    config.level = 77;
    config.volume = 33;
    config.signal = 150;
    SimRadio radio(config);
    auto& m = radio.memory();
    m[0x7B0] = 92; // low band on its optimum: SD reads the signal level
    m[0x7B1] = 104;
    m[0x7B2] = 98;
    m[0x7A9] = 0xC4;
    m[0x7AA] = 0x61;
    m[0x7BC] = 0x82;
    m[0x7AB] = 0x70;
    m[0x7BD] = 0x5E;
    talk(radio, unlockFrame());
    const Bytes line = talk(radio, e8Value(3, GetParam().parameter));
    static const char digits[] = "0123456789ABCDEF";
    const int v = GetParam().expected;
    const Bytes expectedAnswer{0xFE,
                               0xFE,
                               0xEF,
                               0xEE,
                               0xE8,
                               0x73,
                               0x51,
                               0x00,
                               0x01,
                               0x03,
                               static_cast<std::uint8_t>(digits[v >> 4]),
                               static_cast<std::uint8_t>(digits[v & 15]),
                               0xFD};
    EXPECT_EQ(line, concat(e8Value(3, GetParam().parameter), expectedAnswer));
    EXPECT_EQ(radio.readout(GetParam().parameter), v);
}

INSTANTIATE_TEST_SUITE_P(Parameters, SimRadioReadout,
                         ::testing::Values(ReadoutCase{0, 201}, ReadoutCase{1, 77},
                                           ReadoutCase{2, 150}, ReadoutCase{3, 92},
                                           ReadoutCase{4, 104}, ReadoutCase{5, 98},
                                           ReadoutCase{6, 0xC4}, ReadoutCase{7, 0x61},
                                           ReadoutCase{8, 33}, ReadoutCase{9, 0x82},
                                           ReadoutCase{11, 0x70}, ReadoutCase{12, 0x5E},
                                           ReadoutCase{13, 0}, ReadoutCase{200, 0}));

TEST(SimRadioReadoutSource, BandPassReadoutFollowsTheCurrentBand) {
    SimRadio radio;
    talk(radio, unlockFrame());
    talk(radio, e8Value(21, 0x33)); // mid T2
    talk(radio, e8Frame(1, "15500000"));
    EXPECT_EQ(radio.readout(4), 0x33);
    talk(radio, e8Value(12, 0xD0));
    talk(radio, e8Value(11, 0x40));
    EXPECT_EQ(radio.readout(6), 0xD0) << "high power channel";
    talk(radio, e8Frame(1, "15500001"));
    EXPECT_EQ(radio.readout(6), 0x40) << "low power channel";
}

TEST(SimRadioReadoutSource, KnobsChangedWhileRunningShowAtTheNextReadout) {
    SimRadio radio;
    talk(radio, unlockFrame());
    radio.config().temperature = 12;
    auto a = answers(talk(radio, e8Value(3, 0)));
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0].back(), 'C');
    EXPECT_EQ(a[0][a[0].size() - 2], '0');
    radio.config().temperature = 300; // held to the converter's range
    EXPECT_EQ(radio.readout(0), 255);
}

// ------------------------------------------------------------------------------------------
// Clone write

namespace {

Bytes asciiRecord(const std::string& text) {
    return hostFrame(0xE4, Bytes(text.begin(), text.end()));
}
Bytes cloneWriteEnd() {
    return hostFrame(0xE5, kVexo);
}

} // namespace

TEST(SimRadioCloneWrite, RecordsAreStoredAndTheEndIsAnsweredE6_00) {
    SimRadio radio;
    EXPECT_EQ(talk(radio, hostFrame(0xE3, {0x73, 0x51, 0x00, 0x01})).size(), 10u)
        << "E3 gets no answer";
    EXPECT_TRUE(radio.cloneWriteActive());
    // 00 10, 2 bytes AB CD, checksum 0x76 (0x00+0x10+0x02+0xAB+0xCD+0x76 = 0x200)
    EXPECT_EQ(talk(radio, asciiRecord("001002ABCD76")).size(), 18u) << "records get no answer";
    talk(radio, asciiRecord("07f001ee1a")); // lower case is fine as well
    const auto a = answers(talk(radio, cloneWriteEnd()));
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0], (Bytes{0xEF, 0xEE, 0xE6, 0x00}));
    EXPECT_EQ(radio.memory()[0x10], 0xAB);
    EXPECT_EQ(radio.memory()[0x11], 0xCD);
    EXPECT_EQ(radio.memory()[0x7F0], 0xEE);
    EXPECT_FALSE(radio.cloneWriteActive());
}

struct BadWriteCase {
    const char* name;
    std::string record;
};

class SimRadioBadWrite : public ::testing::TestWithParam<BadWriteCase> {};

TEST_P(SimRadioBadWrite, OneBadRecordRefusesTheWholeWrite) {
    SimRadio radio;
    const auto before = radio.memory();
    talk(radio, hostFrame(0xE3, {0x73, 0x51, 0x00, 0x01}));
    talk(radio, asciiRecord("001002ABCD76"));
    talk(radio, asciiRecord(GetParam().record));
    const auto a = answers(talk(radio, cloneWriteEnd()));
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0], (Bytes{0xEF, 0xEE, 0xE6, 0x01}));
    EXPECT_EQ(radio.memory(), before) << "nothing of a refused write is kept";
}

INSTANTIATE_TEST_SUITE_P(Records, SimRadioBadWrite,
                         ::testing::Values(BadWriteCase{"checksum", "001002ABCD77"},
                                           BadWriteCase{"count", "001003ABCD75"},
                                           BadWriteCase{"notHex", "0010020BXD76"},
                                           BadWriteCase{"oddLength", "001002ABCD7"},
                                           BadWriteCase{"beyondMemory", "07FF02ABCD80"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SimRadioCloneWrite, WrongEndTextIsRefused) {
    SimRadio radio;
    const auto before = radio.memory();
    talk(radio, hostFrame(0xE3, {0x73, 0x51, 0x00, 0x01}));
    talk(radio, asciiRecord("001002ABCD76"));
    const auto a = answers(talk(radio, hostFrame(0xE5, {'V', 'e', 'x', 'o'})));
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0][3], 0x01);
    EXPECT_EQ(radio.memory(), before);
}

TEST(SimRadioCloneWrite, RecordsOutsideAWriteAreIgnored) {
    SimRadio radio;
    const auto before = radio.memory();
    EXPECT_TRUE(answers(talk(radio, asciiRecord("001002ABCD76"))).empty());
    EXPECT_TRUE(answers(talk(radio, cloneWriteEnd())).empty());
    EXPECT_EQ(radio.memory(), before);
}

// ------------------------------------------------------------------------------------------
// Faults

TEST(SimRadioFault, WrongModelAndBadSubCodeShowInTheIdentityAnswer) {
    SimConfig config;
    config.wrongModel = true;
    SimRadio wrongModel(config);
    EXPECT_EQ(answers(talk(wrongModel, identityQuery()))[0],
              (Bytes{0xEF, 0xEE, 0xE1, 0x73, 0x52, 0x00, 0x01}));
    config = {};
    config.badSubCode = true;
    SimRadio badSub(config);
    EXPECT_EQ(answers(talk(badSub, identityQuery()))[0],
              (Bytes{0xEF, 0xEE, 0xE1, 0x73, 0x51, 0x01, 0x01}));
}

TEST(SimRadioFault, NoEchoLeavesOnlyTheAnswer) {
    SimConfig config;
    config.noEcho = true;
    SimRadio radio(config);
    EXPECT_EQ(talk(radio, identityQuery()),
              (Bytes{0xFE, 0xFE, 0xEF, 0xEE, 0xE1, 0x73, 0x51, 0x00, 0x01, 0xFD}));
}

TEST(SimRadioFault, NoAnswerLeavesOnlyTheEchoButTheRadioStillActs) {
    SimConfig config;
    config.noAnswer = true;
    SimRadio radio(config);
    EXPECT_EQ(talk(radio, identityQuery()), identityQuery());
    EXPECT_EQ(talk(radio, cloneReadStart()), cloneReadStart());
    talk(radio, unlockFrame());
    EXPECT_EQ(talk(radio, e8Value(3, 0)), e8Value(3, 0));
    talk(radio, e8Value(12, 0x11));
    EXPECT_EQ(radio.memory()[0x7A9], 0x11);
}

TEST(SimRadioFault, BadChecksumSpoilsExactlyTheChosenRecord) {
    SimConfig config;
    config.badChecksumRecord = 5;
    SimRadio radio(config);
    const auto frames = answers(talk(radio, cloneReadStart()));
    ASSERT_EQ(frames.size(), 129u);
    for (std::size_t i = 0; i < 128; ++i) {
        EXPECT_EQ(decodeAnswerRecord(frames[i]).checksumOk, i != 5) << "record " << i;
    }
}

TEST(SimRadioFault, SilenceAfterRecordsStopsTheReadWithoutE5) {
    SimConfig config;
    config.silenceAfterRecords = 10;
    SimRadio radio(config);
    const auto frames = answers(talk(radio, cloneReadStart()));
    ASSERT_EQ(frames.size(), 10u);
    EXPECT_EQ(frames.back()[2], 0xE4);
    EXPECT_EQ(decodeAnswerRecord(frames.back()).address, 9 * 16);
    radio.config().silenceAfterRecords = 0;
    EXPECT_TRUE(answers(talk(radio, cloneReadStart())).empty());
}

TEST(SimRadioFault, GarbageLiesBetweenFramesAndNeverLooksLikeADelimiter) {
    SimConfig config;
    config.garbage = true;
    SimRadio noisy(config);
    SimRadio clean;
    talk(noisy, unlockFrame());
    talk(clean, unlockFrame());
    for (const Bytes& frame : {identityQuery(), e8Value(3, 2), cloneReadStart()}) {
        const Bytes dirty = talk(noisy, frame);
        const Bytes plain = talk(clean, frame);
        const Stream s = splitFrames(dirty);
        EXPECT_FALSE(s.outside.empty());
        for (std::uint8_t b : s.outside) {
            EXPECT_NE(b, 0xFD);
        }
        EXPECT_EQ(s.frames, splitFrames(plain).frames) << "the frames themselves are intact";
        EXPECT_EQ(Bytes(dirty.begin(), dirty.begin() + static_cast<long>(frame.size())), frame)
            << "garbage comes after the echo";
    }
}

TEST(SimRadioFault, NoiseCorruptsOrDropsSomeBytesRepeatablyPerSeed) {
    SimConfig config;
    config.noiseRate = 0.02;
    config.noiseSeed = 7;
    SimRadio a(config);
    SimRadio b(config);
    config.noiseSeed = 8;
    SimRadio c(config);
    SimRadio clean;
    const Bytes la = talk(a, cloneReadStart());
    const Bytes reference = talk(clean, cloneReadStart());
    EXPECT_EQ(la, talk(b, cloneReadStart())) << "same seed, same noise";
    EXPECT_NE(la, talk(c, cloneReadStart())) << "another seed, other noise";
    EXPECT_NE(la, reference);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < std::min(la.size(), reference.size()); ++i) {
        differing += la[i] != reference[i] ? 1 : 0;
    }
    // About 2 % of ~5900 bytes are hit; most of the stream survives.
    EXPECT_GT(differing, 0u);
    EXPECT_GT(la.size(), reference.size() * 95 / 100);
    EXPECT_LE(la.size(), reference.size());
}

TEST(SimRadioFault, RefusedWriteAnswersE6_01AndKeepsTheMemory) {
    SimConfig config;
    config.refuseWrite = true;
    SimRadio radio(config);
    const auto before = radio.memory();
    talk(radio, hostFrame(0xE3, {0x73, 0x51, 0x00, 0x01}));
    talk(radio, asciiRecord("001002ABCD76"));
    const auto a = answers(talk(radio, cloneWriteEnd()));
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0], (Bytes{0xEF, 0xEE, 0xE6, 0x01}));
    EXPECT_EQ(radio.memory(), before);
}

// ------------------------------------------------------------------------------------------
// Pacing

TEST(SimRadioPacing, BytesAreReleasedAtTheLineRate) {
    SimConfig config;
    config.pacing = true;
    config.answerDelayMs = 2;
    SimRadio radio(config);
    radio.receive(identityQuery(), 1000);
    EXPECT_TRUE(radio.transmit(1000).empty());
    EXPECT_TRUE(radio.transmit(1001).empty()) << "the first byte needs 1.04 ms";
    EXPECT_EQ(radio.transmit(1002).size(), 1u);
    EXPECT_EQ(radio.transmit(1009).size(), 7u); // bytes 2..8 end by 9.4 ms
    EXPECT_EQ(radio.transmit(1011), Bytes({0x00, 0xFD})) << "echo complete at 10.4 ms";
    // answer: 2 ms turnaround after the echo, then 10 bytes of 1.04 ms: last at 22.8 ms
    EXPECT_TRUE(radio.transmit(1013).empty());
    EXPECT_EQ(radio.nextTransmitMs(), 1014);
    EXPECT_EQ(radio.transmit(1022).size(), 9u);
    EXPECT_EQ(radio.transmit(1023), Bytes({0xFD}));
    EXPECT_EQ(radio.nextTransmitMs(), -1);
}

TEST(SimRadioPacing, CloneReadRecordsFollowEachOtherWellWithinTheRecordTimeout) {
    SimConfig config;
    config.pacing = true;
    SimRadio radio(config);
    radio.receive(cloneReadStart(), 0);
    std::vector<std::int64_t> frameEnds;
    Bytes all;
    for (std::int64_t t = 0; t <= 8000 && (radio.pendingTransmit() > 0); ++t) {
        for (std::uint8_t b : radio.transmit(t)) {
            all.push_back(b);
            if (b == 0xFD) {
                frameEnds.push_back(t);
            }
        }
    }
    ASSERT_EQ(frameEnds.size(), 1u + 129u);
    EXPECT_EQ(answers(all).size(), 129u);
    for (std::size_t i = 1; i < frameEnds.size(); ++i) {
        EXPECT_LT(frameEnds[i] - frameEnds[i - 1], 1200);
    }
    // 5913 bytes at 960 bytes per second plus a 2 ms turnaround per frame.
    EXPECT_GE(frameEnds.back(), 6100);
    EXPECT_LE(frameEnds.back(), 6450);
}

TEST(SimRadioPacing, WithoutPacingEverythingIsThereAtOnce) {
    SimRadio radio;
    radio.receive(cloneReadStart(), 500);
    EXPECT_EQ(answers(radio.transmit(0)).size(), 129u);
}

// ------------------------------------------------------------------------------------------
// Trace

TEST(SimRadioTrace, OneLinePerExchangeWithE8Decoded) {
    SimRadio radio;
    std::vector<std::string> lines;
    radio.setTraceHandler([&lines](const std::string& line) { lines.push_back(line); });
    talk(radio, identityQuery());
    talk(radio, cloneReadStart());
    talk(radio, unlockFrame());
    talk(radio, e8Frame(0x0C, "80"));
    talk(radio, e8Value(3, 1));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_NE(lines[0].find("E1 73 51 00 01"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("128 records"), std::string::npos) << lines[1];
    EXPECT_NE(lines[2].find("adjustment state"), std::string::npos) << lines[2];
    EXPECT_NE(lines[3].find("E8 12 Power(Hi) = 128 (80h)"), std::string::npos) << lines[3];
    EXPECT_NE(lines[4].find("readout 1 (LVIN) -> 128"), std::string::npos) << lines[4];
}
