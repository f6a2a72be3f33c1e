// SPDX-License-Identifier: GPL-3.0-or-later
// The sequencer over the port manager and the driver, end to end against the simulated radio
// on the test clock, where no session of the golden traces goes: the identity check's order
// before a clone read or write and the sub code it takes over, a send refused in the middle of a
// clone write, the resends of a readout, and a noisy line. Each failure ends in the right error
// with exactly one report, on a port opened with the cable's line settings.
#include "tests/link/LinkFixture.h"

// Radios are configured with designated initializers that leave every other knob at its
// default; GCC 12 still warns about the knobs without a default member initializer.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

using namespace linktest;

using SequencerTest = LinkTest;

struct LinkSimCase {
    const char* name;
    vxk5sim::SimConfig config;
    bool write; // clone write instead of clone read
    DriverError lastError;
    SequencerError seqError;
    std::string firstLine;   // of the report
    int fullAfter = 1 << 30; // blocks sent before the port's output buffer claims to be full
};

class LinkSimTest : public LinkTest, public ::testing::WithParamInterface<LinkSimCase> {};

TEST_P(LinkSimTest, EndsInOneReportWithTheRightMessage) {
    const LinkSimCase& c = GetParam();
    build(c.config);
    port->setOutputFullAfter(c.fullAfter);
    const Bytes before = radioMemory();
    for (int adr = 0; c.write && adr < 2048; ++adr) {
        radio.objEep().WriteByte(adr, (adr * 31 + 7) & 0xFF);
    }
    c.write ? seq->easyCloneWrite() : seq->easyCloneRead();
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(port->settings(), "9600,N,8,1");
    for (int i = 0; i < 10; ++i) { // later ticks report nothing more
        tick();
    }
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].lastError, c.lastError);
    EXPECT_EQ(reports[0].seqError, c.seqError);
    EXPECT_EQ(reports[0].text.substr(0, c.firstLine.size()), c.firstLine);
    EXPECT_FALSE(com->comOpen());
    EXPECT_EQ(radioMemory(), before);
    if (c.seqError == SequencerError::ModelCode || c.seqError == SequencerError::SubCode) {
        // the identity check stops it before E2 or E3
        EXPECT_EQ(sim().framesSeen(0xE2) + sim().framesSeen(0xE3), 0);
        EXPECT_EQ(radio.radionameS(), "0001");
    }
}

using DE = DriverError;
using SE = SequencerError;

static const std::string Version = "Version number does not match\r\nfor this VX-K5.";
// clang-format off
static const LinkSimCase linkSimCases[] = {
    {"BothWrongSubCodeWins", {.wrongModel = true, .badSubCode = true}, false, DE::None, SE::SubCode,
     Version},
    {"WrongModelBeforeWrite", {.wrongModel = true}, true, DE::None, SE::ModelCode,
     "Cannot Clone.\r\n"},
    {"NextRecordRefused", {}, true, DE::WriteSendRefused, SE::None, "Cannot Clone.\r\n",
     10}, // E0, E3, 8 records went out
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Faults, LinkSimTest, ::testing::ValuesIn(linkSimCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The frames after the identity check carry the sub code the radio answered.
TEST_F(SequencerTest, ACloneReadTakesOverTheSubCodeTheRadioAnswered) {
    radio.setRadionameS("0005"); // the radio says 0001, which the rule accepts
    seq->easyCloneRead();
    ASSERT_TRUE(runToEnd());
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(radio.radionameS(), "0001");
}

// Adjustment commands get two resends, set where the sequencer sends them: a readout whose
// first two answers are lost succeeds on the third identical send; a third loss is the end.
TEST_F(SequencerTest, AReadoutIsSentThreeTimesBeforeItFails) {
    ASSERT_TRUE(seq->easySendE8NoAnswer(UnlockText));
    seq->task();
    for (const int lost : {2, 3}) {
        port->clearWritten();
        reports.clear();
        sim().config().loseAnswers = lost;
        seq->easySendE8ReqAnswer("033031"); // A/D channel 1
        ASSERT_TRUE(runToEnd());
        const Bytes request = pcFrame({0xE8, 0x73, 0x51, 0x00, 0x01, 0x03, 0x30, 0x31});
        EXPECT_EQ(port->written(), cat(cat(request, request), request)) << lost;
        if (lost == 2) {
            EXPECT_TRUE(reports.empty());
            EXPECT_EQ(com->cln3D.varLastE8Answer().size(), 7u);
        } else {
            ASSERT_EQ(reports.size(), 1u);
            EXPECT_EQ(reports[0].lastError, DriverError::NoAnswer);
            ASSERT_TRUE(seq->easySendE8NoAnswer(UnlockText)); // the report closed the port
            seq->task();
        }
    }
}

// Noise can corrupt a record (its checksum fails: error 3) or swallow one whole; records may
// come in any order, so a missing one goes unnoticed and leaves the image's earlier bytes
// there. What noise must never do is put a wrong byte in.
TEST_F(SequencerTest, NoisyLineNeverWritesAWrongByte) {
    int failures = 0;
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        build({.noiseRate = 0.0001, .noiseSeed = seed});
        reports.clear();
        seq->easyCloneRead();
        ASSERT_TRUE(runToEnd()) << "seed " << seed;
        const Bytes read = image();
        const Bytes memory = radioMemory();
        for (std::size_t adr = 0; adr < read.size(); ++adr) {
            ASSERT_TRUE(read[adr] == memory[adr] || read[adr] == 0) << seed << " at " << adr;
        }
        if (!reports.empty()) {
            ++failures;
            EXPECT_NE(reports[0].lastError, DriverError::None) << "seed " << seed;
        }
    }
    // The noise level is chosen so that both outcomes occur among these seeds.
    EXPECT_GT(failures, 0);
    EXPECT_LT(failures, 20);
}
