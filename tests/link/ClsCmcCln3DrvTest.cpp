// SPDX-License-Identifier: GPL-3.0-or-later
// The clone frame driver with bytes fed straight into its receiver: every kind of answer in one
// chunk and cut anywhere, echo search through garbage, record storage, deadlines and resends,
// refused sends, and whole clone reads cut at random or drowned in noise.
#include "tests/link/LinkFixture.h"

// Radios are configured with designated initializers that leave every other knob at its
// default; GCC 12 still warns about the knobs without a default member initializer.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include "link/clsCmcEeprom.h"

#include <algorithm>
#include <numeric>
#include <random>

using namespace linktest;
using platform::TickCount;
using M = WorkMode;
using E = DriverError;

static const Bytes IdBody = {0xE0, 0x73, 0x51, 0x00, 0x00};
static const Bytes ReadBody = {0xE2, 0x73, 0x51, 0x00, 0x01};
static const Bytes EndBody = {0xE5, 'V', 'e', 'x', 'o', ' ', 'I', 'n', 'c', '.'};
static const Bytes ReadoutBody = {0xE8, 0x73, 0x51, 0x00, 0x01, 0x03, 0x31, 0x34}; // param 14
static const Bytes Identity = radioFrame(0xE1, {0x73, 0x51, 0x00, 0x01});

// A readout answer echoing the given command byte (the driver expects 03).
static Bytes readout(std::uint8_t echoed) {
    return radioFrame(0xE8, {0x73, 0x51, 0x00, 0x01, echoed, 0x37, 0x46});
}
static Bytes randomBytes(std::size_t n, unsigned seed) {
    std::mt19937 random(seed);
    Bytes bytes(n);
    std::generate(bytes.begin(), bytes.end(), [&] { return std::uint8_t(random()); });
    return bytes;
}
static const Bytes Data = randomBytes(16, 1);

class DriverTest : public LinkTest {
  protected:
    void SetUp() override {
        LinkTest::SetUp();
        build({.noEcho = true, .noAnswer = true}); // the line is the test's alone
        com->setComOpen(true);
        drv().setMyEep(&eep);
    }
    clsCmcCln3Drv& drv() { return com->cln3D; }
    // Sends the body in the mode, awaiting an answer with two resends as the sequencer asks;
    // the frame must go out as written.
    void send(WorkMode mode, const Bytes& body) {
        port->clearWritten();
        drv().setWorkMode(mode);
        drv().setWaitAnswer(true);
        drv().setRetryCount(2);
        ASSERT_EQ(drv().Send(body), 0);
        ASSERT_EQ(port->written(), pcFrame(body));
    }
    void expectEnd(DriverError error) {
        EXPECT_EQ(drv().nowError(), error);
        EXPECT_FALSE(drv().Running());
    }
    clsCmcEeprom eep;
};

struct AnswerCase {
    const char* name;
    Bytes body, answer;
    WorkMode mode;
    DriverError error;
    bool running; // the cycle stays open for more
};

static const AnswerCase answerCases[] = {
    {"IdentityOk", IdBody, Identity, M::Identity, E::None, false},
    {"IdentityShort", IdBody, radioFrame(0xE1, {0x73, 0x51, 0x00}), M::Identity, E::BadFrame,
     false},
    {"WriteOk", EndBody, radioFrame(0xE6, {0x00}), M::CloneWriteEnd, E::None, false},
    {"WriteRefused", EndBody, radioFrame(0xE6, {0x01}), M::CloneWriteEnd, E::WriteRefused, false},
    {"WriteWithoutResult", EndBody, radioFrame(0xE6, {}), M::CloneWriteEnd, E::BadFrame, false},
    {"ReadoutOk", ReadoutBody, readout(0x03), M::Adjust, E::None, false},
    {"ReadoutWrongEcho", ReadoutBody, readout(0x04), M::Adjust, E::BadFrame, false},
    {"OtherCommandIgnored", ReadoutBody, Identity, M::Adjust, E::None, true},
    {"ReadEnd", ReadBody, EndFrame, M::CloneRead, E::None, false},
    {"RecordStored", ReadBody, recordFrame(0x10, Data), M::CloneRead, E::None, true},
    {"RecordBadChecksum", ReadBody, recordFrame(0x10, Data, 0, 1), M::CloneRead, E::BadFrame,
     false},
    {"RecordBadCount", ReadBody, recordFrame(0x10, Data, 1), M::CloneRead, E::BadFrame, false},
    {"RecordOutsideImage", ReadBody, recordFrame(0x7F8, Data), M::CloneRead, E::ImageOverflow,
     false},
};

class DriverAnswerTest : public DriverTest, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(DriverAnswerTest, SameOutcomeInOneChunkAndForEveryCut) {
    const AnswerCase& c = GetParam();
    // Line noise and a torn frame before the echo, then the echo and the answer: a = b = 0
    // feeds them in one chunk, the rest cut them into two or three.
    const Bytes line =
        cat(cat({0x00, 0xFD, 0xFE, 0xFE, 0xEE, 0x42, 0xFD, 0x99}, pcFrame(c.body)), c.answer);
    for (std::size_t a = 0; a < line.size(); ++a) {
        for (std::size_t b = a; b < line.size(); b += 3) {
            drv().Reset();
            drv().clearLastError();
            send(c.mode, c.body);
            drv().read(Bytes(line.begin(), line.begin() + a));
            drv().read(Bytes(line.begin() + a, line.begin() + b));
            drv().read(Bytes(line.begin() + b, line.end()));
            const auto outcome = std::pair(drv().lastError(), drv().Running());
            ASSERT_EQ(outcome, std::pair(c.error, c.running)) << "cut at " << a << ", " << b;
            ASSERT_TRUE(c.error == E::None ||
                        eep.ReadBlock(0, 2048) == Bytes(2048, 0)); // nothing kept
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, DriverAnswerTest, ::testing::ValuesIn(answerCases),
                         [](const auto& info) { return std::string(info.param.name); });

// No echo: error 1 after 1000 ms, never resent. No answer: resent twice, each resend awaiting
// its own echo, then error 2. Sends are refused while a cycle is open or the port is closed.
TEST_F(DriverTest, DeadlinesResendsAndRefusedSends) {
    send(M::Adjust, ReadoutBody);
    EXPECT_EQ(drv().Send(ReadBody), 1); // a cycle is open
    TickCount::advanceTestClock(999);
    drv().task();
    EXPECT_TRUE(drv().Running());
    TickCount::advanceTestClock(1);
    drv().task();
    expectEnd(E::NoEcho);
    EXPECT_EQ(port->written(), pcFrame(ReadoutBody));

    drv().Reset(); // as the port manager does once the error is reported
    send(M::Adjust, ReadoutBody);
    for (int attempt = 1; attempt <= 3; ++attempt) {
        drv().read(pcFrame(ReadoutBody));
        TickCount::advanceTestClock(1199);
        drv().task();
        ASSERT_TRUE(drv().Running());
        TickCount::advanceTestClock(1);
        drv().task();
        drv().read({0x00}); // line noise: the echo before the resend must not count for it
        ASSERT_EQ(drv().waitState(), attempt < 3 ? WaitState::Echo : WaitState::Idle);
    }
    expectEnd(E::NoAnswer);
    const Bytes frame = pcFrame(ReadoutBody);
    EXPECT_EQ(port->written(), cat(cat(frame, frame), frame));
    com->setComOpen(false);
    EXPECT_EQ(drv().Send(ReadBody), 1);
    EXPECT_EQ(port->written(), cat(cat(frame, frame), frame));
}

// What the port still holds unread when a command goes out came before it: the echo and a
// record of a read cut off earlier are not taken for the new read's.
TEST_F(DriverTest, BytesLeftInThePortAreNotTakenForTheNextCommands) {
    port->arrive(cat(pcFrame(ReadBody), recordFrame(0x10, Data)), false);
    send(M::CloneRead, ReadBody);
    com->serviceLine();
    EXPECT_EQ(drv().waitState(), WaitState::Echo);
    EXPECT_EQ(eep.ReadBlock(0, 2048), Bytes(2048, 0));
}

// A whole clone read: the E2 echo, the memory's records in shuffled order (a radio may send
// them in pieces), one of them lost and a stray end byte in its place, then E5. Fed in one
// chunk (seed 0, which also puts many records in one read) and cut into random chunks.
TEST_F(DriverTest, CloneReadInAnyOrderCutIntoRandomChunksGivesTheSameImage) {
    Bytes memory = randomBytes(2048, 42);
    std::vector<int> order(128);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(3));
    Bytes line = pcFrame(ReadBody);
    for (int i : order) {
        const Bytes data(memory.begin() + 16 * i, memory.begin() + 16 * i + 16);
        line = cat(line, i == 5 ? Bytes{0x11, 0xFD, 0x22} : recordFrame(16 * i, data));
    }
    line = cat(line, EndFrame);
    std::fill_n(memory.begin() + 16 * 5, 16, 0);  // the lost record leaves its bytes as they were
    for (unsigned seed = 0; seed <= 40; ++seed) { // seed 0: the whole read in one chunk
        eep = clsCmcEeprom();
        send(M::CloneRead, ReadBody);
        std::mt19937 random(seed);
        for (std::size_t pos = 0, len = 0; pos < line.size(); pos += len) {
            len = std::min<std::size_t>(seed == 0 ? line.size() : 1 + random() % 90,
                                        line.size() - pos);
            drv().read(Bytes(line.begin() + pos, line.begin() + pos + len));
        }
        ASSERT_EQ(drv().nowError(), E::None) << "seed " << seed;
        ASSERT_FALSE(drv().Running()) << "seed " << seed;
        ASSERT_EQ(eep.ReadBlock(0, 2048), memory) << "seed " << seed;
    }
}

TEST_F(DriverTest, RandomNoiseNeverCrashesNorWritesTheImageNorGrowsTheBuffer) {
    const std::uint8_t favourites[] = {0xFE, 0xFD, 0xEF, 0xEE, 0xE4, '0', 'F'};
    for (unsigned seed = 1; seed <= 200; ++seed) {
        drv().Reset();
        send(M::CloneRead, ReadBody);
        std::mt19937 random(seed);
        if (seed % 2 == 0) {
            drv().read(pcFrame(ReadBody));
        }
        for (int chunk = 0; chunk < 30; ++chunk) {
            Bytes noise(random() % 40); // biased to frame bytes, so partial frames are common
            for (auto& b : noise) {
                b = random() % 3 == 0 ? favourites[random() % 7] : std::uint8_t(random());
            }
            drv().read(noise);
            ASSERT_LE(drv().rxBufSize(), 256u);
        }
        ASSERT_EQ(eep.ReadBlock(0, 2048), Bytes(2048, 0)) << "seed " << seed;
        ASSERT_TRUE(drv().nowError() == E::None || drv().nowError() == E::BadFrame) << seed;
    }
}

// Commands without an answer queue in the port: the line is free only once the last of them
// is through, at 10 bits a byte and 9600 bit/s (1000/960 ms a byte), counted from each send.
TEST_F(DriverTest, TheLineIsFreeWhenEveryQueuedFrameIsThrough) {
    const Bytes value = {0xE8, 0x73, 0x51, 0x00, 0x01, 0x0C, 0x38, 0x30}; // a 13-byte frame
    drv().setWorkMode(M::Adjust);
    drv().setWaitAnswer(false);
    EXPECT_EQ(drv().msUntilLineFree(), 0);
    ASSERT_EQ(drv().Send(value), 0);
    EXPECT_EQ(drv().msUntilLineFree(), 14); // 13.5 ms, rounded up
    TickCount::advanceTestClock(5);
    ASSERT_EQ(drv().Send(value), 0); // behind the 9 ms still to go of the first
    EXPECT_EQ(drv().msUntilLineFree(), 23);
    TickCount::advanceTestClock(23);
    EXPECT_EQ(drv().msUntilLineFree(), 0);
}
