// The clone frame driver against bytes fed straight into its receiver: echo search, answer
// accumulation over any cut of the chunks, answer checks and their error numbers, record
// storage, deadlines and resends, refused sends, and the clone-write continuation.
#include "FakeSerialControl.h"
#include "Frames.h"

#include "link/clsCmcCln3Drv.h"
#include "link/clsCmcEeprom.h"
#include "link/frmCom.h"
#include "platform/TickCount.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

using linktest::ascii;
using linktest::cat;
using linktest::endFrame;
using linktest::FakeSerialControl;
using linktest::pcFrame;
using linktest::radioFrame;
using linktest::recordFrame;
using platform::TickCount;

namespace {

const Bytes IdentityBody = {0xE0, 0x73, 0x51, 0x00, 0x00};
const Bytes ReadBody = {0xE2, 0x73, 0x51, 0x00, 0x01};
const Bytes WriteEndBody = {0xE5, 'V', 'e', 'x', 'o', ' ', 'I', 'n', 'c', '.'};
// Readout of parameter 14: E8, model, sub, command 03, value text "14".
const Bytes ReadoutBody = {0xE8, 0x73, 0x51, 0x00, 0x01, 0x03, 0x31, 0x34};

Bytes sixteen(std::uint8_t first) {
    Bytes data(16);
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<std::uint8_t>(first + i);
    }
    return data;
}

class DriverTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TickCount::setTestClock(1000);
        auto control = std::make_unique<FakeSerialControl>();
        port = control.get();
        port->echo = false;
        com = std::make_unique<frmCom>(std::move(control));
        com->setComOpen(true);
        drv().setMyEep(&image);
    }

    clsCmcCln3Drv& drv() { return com->cln3D; }

    // Sets the mode (and answer flag) and sends the body; the frame must go out as written.
    void send(std::int16_t mode, const Bytes& body, bool waitAnswer) {
        drv().setWorkMode(mode);
        drv().setWaitAnswer(waitAnswer);
        ASSERT_EQ(drv().Send(body), 0);
        ASSERT_EQ(port->written.back(), pcFrame(body));
    }

    // Feeds bytes cut at the given positions (ascending), one read per piece.
    void feedCut(const Bytes& bytes, const std::vector<std::size_t>& cuts) {
        std::size_t from = 0;
        for (std::size_t cut : cuts) {
            drv().read(Bytes(bytes.begin() + from, bytes.begin() + cut));
            from = cut;
        }
        drv().read(Bytes(bytes.begin() + from, bytes.end()));
    }

    FakeSerialControl* port = nullptr;
    std::unique_ptr<frmCom> com;
    clsCmcEeprom image;
};

// ---------------------------------------------------------------------------------------------
// Answers of every kind, each delivered right behind its echo, cut at every possible place.

struct AnswerCase {
    const char* name;
    std::int16_t mode;
    bool waitAnswer;
    Bytes body;
    Bytes answer;
    std::int16_t error;
    bool stillRunning;
};

std::ostream& operator<<(std::ostream& out, const AnswerCase& c) {
    return out << c.name;
}

std::vector<AnswerCase> answerCases() {
    const Bytes okRecord = recordFrame(0x0010, sixteen(0x40));
    Bytes badSum = okRecord;
    badSum[badSum.size() - 2] = (badSum[badSum.size() - 2] == '0') ? '1' : '0';
    // Count says 0x11 but 16 bytes follow; the checksum is fixed up so only the count is wrong.
    std::string countText = linktest::recordText(0x0010, sixteen(0x40));
    countText[5] = '1';
    const unsigned oldSum = std::stoul(countText.substr(countText.size() - 2), nullptr, 16);
    countText.replace(countText.size() - 2, 2, linktest::hex2((oldSum + 256 - 1) % 256));
    Bytes nonHex = okRecord;
    nonHex[12] = 'G';
    Bytes evenLength = okRecord;
    evenLength.insert(evenLength.end() - 1, '0');

    return {
        {"IdentityAccepted", 1, true, IdentityBody, radioFrame(0xE1, {0x73, 0x51, 0x00, 0x01}), 0,
         false},
        {"IdentityLettersInCode", 1, true, IdentityBody, radioFrame(0xE1, {0x7A, 0x51, 0x00, 0x01}),
         3, false},
        {"IdentityTooShort", 1, true, IdentityBody, radioFrame(0xE1, {0x73, 0x51, 0x00}), 3, false},
        {"WriteResultAccepted", 4, true, WriteEndBody, radioFrame(0xE6, {0x00}), 0, false},
        {"WriteResultRefused", 4, true, WriteEndBody, radioFrame(0xE6, {0x01}), 6, false},
        {"WriteResultWithoutByte", 4, true, WriteEndBody, radioFrame(0xE6, {}), 3, false},
        {"ReadoutAccepted", 5, true, ReadoutBody,
         radioFrame(0xE8, {0x73, 0x51, 0x00, 0x01, 0x03, 0x37, 0x46}), 0, false},
        {"ReadoutWrongCommandEchoed", 5, true, ReadoutBody,
         radioFrame(0xE8, {0x73, 0x51, 0x00, 0x01, 0x04, 0x37, 0x46}), 3, false},
        {"ReadoutTooShort", 5, true, ReadoutBody, radioFrame(0xE8, {0x73, 0x51, 0x00, 0x01}), 3,
         false},
        {"CloneReadEnd", 2, true, ReadBody, endFrame(), 0, false},
        {"CloneReadEndCut", 2, true, ReadBody, radioFrame(0xE5, ascii("Vexo Inc")), 3, false},
        {"CloneReadEndLong", 2, true, ReadBody, radioFrame(0xE5, ascii("Vexo Inc..")), 3, false},
        {"RecordStoredReadGoesOn", 2, true, ReadBody, okRecord, 0, true},
        {"RecordBadChecksum", 2, true, ReadBody, badSum, 3, false},
        {"RecordBadCount", 2, true, ReadBody, radioFrame(0xE4, ascii(countText)), 3, false},
        {"RecordNotHex", 2, true, ReadBody, nonHex, 3, false},
        {"RecordEvenLength", 2, true, ReadBody, evenLength, 3, false},
        {"RecordOutsideImage", 2, true, ReadBody, recordFrame(0x07F8, sixteen(0)), 4, false},
        {"OtherCommandIgnored", 5, true, ReadoutBody, radioFrame(0xE1, {0x73, 0x51, 0x00, 0x01}), 0,
         true},
        {"WrongAddressesIgnored", 1, true, IdentityBody, pcFrame({0xE1, 0x73, 0x51, 0x00, 0x01}), 0,
         true},
    };
}

class DriverAnswerTest : public DriverTest, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(DriverAnswerTest, EchoAndAnswerInOneChunk) {
    const AnswerCase& c = GetParam();
    send(c.mode, c.body, c.waitAnswer);
    drv().read(cat(pcFrame(c.body), c.answer));
    EXPECT_EQ(drv().nowError(), c.error);
    EXPECT_EQ(drv().lastError(), c.error);
    EXPECT_EQ(drv().Running(), c.stillRunning);
    EXPECT_EQ(drv().waitState(), c.stillRunning ? 2 : 0);
}

TEST_P(DriverAnswerTest, SameOutcomeForEveryCutIntoTwoAndThreeChunks) {
    const AnswerCase& c = GetParam();
    const Bytes line = cat(pcFrame(c.body), c.answer);
    for (std::size_t a = 1; a < line.size(); ++a) {
        for (std::size_t b = a; b < line.size(); b += 3) {
            SetUp();
            send(c.mode, c.body, c.waitAnswer);
            feedCut(line, {a, b});
            ASSERT_EQ(drv().nowError(), c.error) << "cut at " << a << ", " << b;
            ASSERT_EQ(drv().Running(), c.stillRunning) << "cut at " << a << ", " << b;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, DriverAnswerTest, ::testing::ValuesIn(answerCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------

TEST_F(DriverTest, AcceptedAnswersAreKeptForTheCaller) {
    send(1, IdentityBody, true);
    drv().read(cat(pcFrame(IdentityBody), radioFrame(0xE1, {0x73, 0x51, 0x00, 0x02, 0x55})));
    EXPECT_EQ(drv().ansInfo(), (Bytes{0xEF, 0xEE, 0xE1, 0x73, 0x51, 0x00, 0x02, 0x55}));

    send(5, ReadoutBody, true);
    EXPECT_EQ(drv().expectedE8Sub(), 0x03);
    drv().read(
        cat(pcFrame(ReadoutBody), radioFrame(0xE8, {0x73, 0x51, 0x00, 0x01, 0x03, 0x30, 0x41})));
    EXPECT_EQ(drv().varLastE8Answer(), (Bytes{0x73, 0x51, 0x00, 0x01, 0x03, 0x30, 0x41}));
    EXPECT_FALSE(drv().Running());
}

TEST_F(DriverTest, GarbageBeforeTheEchoIsSkipped) {
    send(1, IdentityBody, true);
    Bytes garbage(200);
    std::mt19937 random(7);
    for (auto& b : garbage) {
        b = static_cast<std::uint8_t>(random());
    }
    drv().read(garbage);
    EXPECT_EQ(drv().waitState(), 1);
    drv().read(cat(pcFrame(IdentityBody), radioFrame(0xE1, {0x73, 0x51, 0x00, 0x01})));
    EXPECT_EQ(drv().nowError(), 0);
    EXPECT_FALSE(drv().Running());
    EXPECT_EQ(drv().ansInfo().size(), 7u);
}

TEST_F(DriverTest, EchoSearchKeepsOnlyTheLatest256Bytes) {
    send(1, IdentityBody, true);
    const Bytes echo = pcFrame(IdentityBody);
    // The first half of the echo, then enough noise to push it out of the window: the second
    // half alone is no echo.
    drv().read(Bytes(echo.begin(), echo.begin() + 4));
    drv().read(Bytes(300, 0x55));
    drv().read(Bytes(echo.begin() + 4, echo.end()));
    EXPECT_EQ(drv().waitState(), 1);
    EXPECT_LE(drv().rxBufSize(), 256u);
    drv().read(echo);
    EXPECT_EQ(drv().waitState(), 2);
}

TEST_F(DriverTest, TwoRecordsInOneChunkAreBothStoredInOrder) {
    send(2, ReadBody, true);
    drv().read(pcFrame(ReadBody));
    drv().read(cat(recordFrame(0x0000, sixteen(0x10)), recordFrame(0x0010, sixteen(0x20))));
    EXPECT_EQ(image.ReadBlock(0, 16), sixteen(0x10));
    EXPECT_EQ(image.ReadBlock(16, 16), sixteen(0x20));
    EXPECT_EQ(drv().lastEeAdr(), 0x1F);
    EXPECT_TRUE(drv().Running());
    drv().read(endFrame());
    EXPECT_FALSE(drv().Running());
    EXPECT_EQ(drv().nowError(), 0);
}

TEST_F(DriverTest, RecordsMayComeInAnyOrderWithGaps) {
    send(2, ReadBody, true);
    drv().read(pcFrame(ReadBody));
    drv().read(cat(recordFrame(0x0020, sixteen(0x20)), recordFrame(0x0000, sixteen(0x10))));
    drv().read(endFrame());
    EXPECT_EQ(drv().nowError(), 0);
    EXPECT_FALSE(drv().Running());
    EXPECT_EQ(image.ReadBlock(0, 16), sixteen(0x10));
    EXPECT_EQ(image.ReadBlock(0x10, 16), Bytes(16, 0));
    EXPECT_EQ(image.ReadBlock(0x20, 16), sixteen(0x20));
}

TEST_F(DriverTest, RecordRunMayStartAnywhere) {
    send(2, ReadBody, true);
    drv().read(cat(pcFrame(ReadBody), recordFrame(0x07A8, Bytes(8, 1))));
    drv().read(cat(recordFrame(0x07B0, Bytes(16, 2)), endFrame()));
    EXPECT_EQ(drv().nowError(), 0);
    EXPECT_FALSE(drv().Running());
    EXPECT_EQ(image.ReadByte(0x07A8), 1);
    EXPECT_EQ(image.ReadByte(0x07BF), 2);
}

TEST_F(DriverTest, LowerCaseRecordDigitsAreAccepted) {
    send(2, ReadBody, true);
    std::string text = linktest::recordText(0x07A8, sixteen(0xA0));
    for (auto& ch : text) {
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
    drv().read(cat(pcFrame(ReadBody), radioFrame(0xE4, ascii(text))));
    EXPECT_EQ(drv().nowError(), 0);
    EXPECT_EQ(image.ReadBlock(0x07A8, 16), sixteen(0xA0));
}

TEST_F(DriverTest, StrayEndByteBetweenFramesDoesNotLoseTheNextRecord) {
    send(2, ReadBody, true);
    drv().read(pcFrame(ReadBody));
    drv().read(cat(Bytes{0x11, 0xFD, 0x22}, recordFrame(0x0100, sixteen(0x30))));
    EXPECT_EQ(image.ReadBlock(0x0100, 16), sixteen(0x30));
    EXPECT_EQ(drv().nowError(), 0);
}

TEST_F(DriverTest, BadRecordLeavesTheImageAsItWas) {
    send(2, ReadBody, true);
    Bytes bad = recordFrame(0x0000, sixteen(0x10));
    bad[20] = (bad[20] == '1') ? '2' : '1';
    drv().read(cat(pcFrame(ReadBody), bad));
    EXPECT_EQ(drv().lastError(), 3);
    EXPECT_EQ(image.ReadBlock(0, 16), Bytes(16, 0));
}

TEST_F(DriverTest, EachRecordRestartsTheAnswerDeadline) {
    send(2, ReadBody, true);
    drv().read(pcFrame(ReadBody));
    for (int i = 0; i < 5; ++i) {
        TickCount::advanceTestClock(1100);
        drv().task();
        drv().read(recordFrame(static_cast<std::uint16_t>(i * 16), sixteen(0)));
    }
    EXPECT_TRUE(drv().Running());
    TickCount::advanceTestClock(1199);
    drv().task();
    EXPECT_TRUE(drv().Running());
    TickCount::advanceTestClock(1);
    drv().task();
    EXPECT_EQ(drv().lastError(), 2);
    EXPECT_EQ(port->written.size(), 1u); // a clone read is never resent
}

TEST_F(DriverTest, MissingEchoIsErrorOneAfterOneSecondWithoutResend) {
    send(5, ReadoutBody, true);
    drv().setRetryCount(2);
    ASSERT_EQ(drv().Send(ReadoutBody), 1); // a cycle is open: refused, nothing written
    TickCount::advanceTestClock(999);
    drv().task();
    EXPECT_EQ(drv().nowError(), 0);
    TickCount::advanceTestClock(1);
    drv().task();
    EXPECT_EQ(drv().nowError(), 1);
    EXPECT_EQ(drv().lastError(), 1);
    EXPECT_FALSE(drv().Running());
    EXPECT_EQ(port->written.size(), 1u);
}

TEST_F(DriverTest, MissingAnswerIsResentTwiceThenErrorTwo) {
    drv().setRetryCount(2);
    send(5, ReadoutBody, true);
    for (int attempt = 1; attempt <= 3; ++attempt) {
        ASSERT_EQ(port->written.size(), static_cast<std::size_t>(attempt));
        drv().read(pcFrame(ReadoutBody));
        ASSERT_EQ(drv().waitState(), 2);
        TickCount::advanceTestClock(1199);
        drv().task();
        ASSERT_EQ(drv().nowError(), 0);
        TickCount::advanceTestClock(1);
        drv().task();
    }
    EXPECT_EQ(port->written.size(), 3u);
    for (const Bytes& frame : port->written) {
        EXPECT_EQ(frame, pcFrame(ReadoutBody));
    }
    EXPECT_EQ(drv().nowError(), 2);
    EXPECT_FALSE(drv().Running());
}

TEST_F(DriverTest, ResendWaitsForItsOwnEcho) {
    drv().setRetryCount(1);
    send(5, ReadoutBody, true);
    drv().read(pcFrame(ReadoutBody));
    TickCount::advanceTestClock(1200);
    drv().task(); // resent
    ASSERT_EQ(port->written.size(), 2u);
    drv().read({0x00}); // line noise; the first echo must not count for the resend
    EXPECT_EQ(drv().waitState(), 1);
    TickCount::advanceTestClock(1000);
    drv().task();
    EXPECT_EQ(drv().lastError(), 1);
}

TEST_F(DriverTest, AnswerAfterAResendIsAccepted) {
    drv().setRetryCount(2);
    send(5, ReadoutBody, true);
    drv().read(pcFrame(ReadoutBody));
    TickCount::advanceTestClock(1200);
    drv().task();
    drv().read(
        cat(pcFrame(ReadoutBody), radioFrame(0xE8, {0x73, 0x51, 0x00, 0x01, 0x03, 0x31, 0x32})));
    EXPECT_EQ(drv().nowError(), 0);
    EXPECT_FALSE(drv().Running());
    EXPECT_EQ(drv().varLastE8Answer().back(), 0x32);
}

TEST_F(DriverTest, CommandWithoutAnswerEndsAtOnceAndItsEchoIsDropped) {
    const Bytes unlock = {0xE8, 0x73, 0x51, 0x00, 0x01, 0x00, 0x35, 0x52};
    send(5, unlock, false);
    EXPECT_FALSE(drv().Running());
    EXPECT_EQ(drv().waitState(), 0);
    drv().read(pcFrame(unlock));
    EXPECT_EQ(drv().nowError(), 0);
    EXPECT_EQ(drv().rxBufSize(), 0u);
    EXPECT_EQ(drv().Send(unlock), 0); // the next command goes out at once
}

TEST_F(DriverTest, RefusedSendsChangeNothing) {
    send(1, IdentityBody, true);
    EXPECT_EQ(drv().RealSend(ReadBody), 1); // cycle open
    EXPECT_EQ(port->written.size(), 1u);
    EXPECT_EQ(drv().txFrame(), pcFrame(IdentityBody));

    drv().Reset();
    port->outCount = 1024 - 256; // exactly 256 free: not enough
    EXPECT_FALSE(drv().SendEnable());
    EXPECT_EQ(drv().RealSend(ReadBody), 1);
    port->outCount = 1024 - 257;
    EXPECT_TRUE(drv().SendEnable());
    port->outCount = 0;

    com->setComOpen(false);
    EXPECT_EQ(drv().RealSend(ReadBody), 1);
    EXPECT_EQ(port->written.size(), 1u);
    EXPECT_FALSE(drv().Running());
}

TEST_F(DriverTest, WritingNowErrorEndsTheCycleAndOnlyTheOwnerClearsLastError) {
    send(1, IdentityBody, true);
    drv().setNowError(4);
    EXPECT_FALSE(drv().Running());
    EXPECT_EQ(drv().lastError(), 4);
    drv().Reset();
    EXPECT_EQ(drv().nowError(), 0);
    EXPECT_EQ(drv().lastError(), 4);
    drv().setLastError(0);
    EXPECT_EQ(drv().lastError(), 0);
}

TEST_F(DriverTest, BytesWithoutAnOpenCycleAreDropped) {
    drv().read(cat(pcFrame(IdentityBody), radioFrame(0xE1, {0x73, 0x51, 0x00, 0x01})));
    EXPECT_EQ(drv().nowError(), 0);
    EXPECT_TRUE(drv().ansInfo().empty());
}

TEST_F(DriverTest, SettingTheWorkModeSetsTheAnswerExpectation) {
    const std::pair<std::int16_t, bool> modes[] = {{1, true}, {2, true},  {3, false},
                                                   {4, true}, {5, false}, {0, false}};
    for (const auto& [mode, answer] : modes) {
        drv().setWaitAnswer(!answer);
        drv().setWorkMode(mode);
        EXPECT_EQ(drv().waitAnswer(), answer) << "mode " << mode;
        EXPECT_EQ(drv().waitEcho(), mode >= 1 && mode <= 5) << "mode " << mode;
    }
}

// ---------------------------------------------------------------------------------------------
// A whole clone read, cut into random chunks, and random noise.

class DriverCloneReadTest : public DriverTest {
  protected:
    // The line as the computer sees it: the E2 echo, 128 records of the whole memory, E5.
    Bytes fullRead(clsCmcEeprom& expected) {
        Bytes line = pcFrame(ReadBody);
        std::mt19937 random(42);
        for (std::uint16_t adr = 0; adr < 2048; adr += 16) {
            Bytes data(16);
            for (auto& b : data) {
                b = static_cast<std::uint8_t>(random());
            }
            expected.WriteBlock(adr, data);
            line = cat(line, recordFrame(adr, data));
        }
        return cat(line, endFrame());
    }
};

TEST_F(DriverCloneReadTest, RandomChunkingGivesTheSameImage) {
    clsCmcEeprom expected;
    const Bytes line = fullRead(expected);
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SetUp();
        image = clsCmcEeprom();
        send(2, ReadBody, true);
        std::mt19937 random(seed);
        std::size_t pos = 0;
        while (pos < line.size()) {
            const std::size_t len = std::min<std::size_t>(1 + random() % 90, line.size() - pos);
            drv().read(Bytes(line.begin() + pos, line.begin() + pos + len));
            pos += len;
        }
        ASSERT_EQ(drv().nowError(), 0) << "seed " << seed;
        ASSERT_FALSE(drv().Running()) << "seed " << seed;
        ASSERT_EQ(image.ReadBlock(0, 2048), expected.ReadBlock(0, 2048)) << "seed " << seed;
        ASSERT_EQ(drv().lastEeAdr(), 2047);
    }
}

TEST_F(DriverCloneReadTest, WholeReadInOneChunkKeepsTheEchoAndEveryRecord) {
    clsCmcEeprom expected;
    const Bytes line = fullRead(expected);
    send(2, ReadBody, true);
    drv().read(line);
    EXPECT_EQ(drv().nowError(), 0);
    EXPECT_FALSE(drv().Running());
    EXPECT_EQ(image.ReadBlock(0, 2048), expected.ReadBlock(0, 2048));
}

TEST_F(DriverCloneReadTest, RandomNoiseNeverCrashesNorWritesTheImage) {
    for (unsigned seed = 1; seed <= 200; ++seed) {
        SetUp();
        image = clsCmcEeprom();
        send(2, ReadBody, true);
        std::mt19937 random(seed);
        // Noise biased towards the frame bytes, so that partial frames are common.
        const std::uint8_t favourites[] = {0xFE, 0xFD, 0xEF, 0xEE, 0xE4, '0', 'F'};
        const bool afterEcho = seed % 2 == 0;
        if (afterEcho) {
            drv().read(pcFrame(ReadBody));
        }
        for (int chunk = 0; chunk < 30; ++chunk) {
            Bytes noise(random() % 40);
            for (auto& b : noise) {
                b = (random() % 3 == 0) ? favourites[random() % 7]
                                        : static_cast<std::uint8_t>(random());
            }
            drv().read(noise);
            ASSERT_LE(drv().rxBufSize(), 256u);
        }
        ASSERT_EQ(image.ReadBlock(0, 2048), Bytes(2048, 0)) << "seed " << seed;
        ASSERT_TRUE(drv().nowError() == 0 || drv().nowError() == 3) << "seed " << seed;
    }
}

// ---------------------------------------------------------------------------------------------
// Clone write: echo-paced records, then the end frame and its result.

class DriverCloneWriteTest : public DriverTest {
  protected:
    void SetUp() override {
        DriverTest::SetUp();
        port->echo = true;
        for (int adr = 0; adr < 2048; ++adr) {
            image.WriteByte(adr, (adr * 7 + 3) & 0xFF);
        }
    }

    // Runs the line until nothing more arrives.
    void pump() {
        for (int guard = 0; guard < 1000 && port->inBufferCount() > 0; ++guard) {
            drv().read(port->input());
        }
    }

    void startWrite(const std::string& list, std::uint8_t result) {
        port->responder = [result](const Bytes& block) {
            return block.size() > 4 && block[4] == 0xE5 ? radioFrame(0xE6, {result}) : Bytes{};
        };
        drv().setWorkMode(3);
        drv().setSizDataOfPacket(16);
        drv().setCloneWriteAdrList(list);
        ASSERT_EQ(drv().Send({0xE3, 0x73, 0x51, 0x00, 0x01}), 0);
        EXPECT_TRUE(drv().Running());
    }
};

TEST_F(DriverCloneWriteTest, RecordsFollowEachEchoThenTheEndFrame) {
    startWrite("0000-0014,07F0-07FF,", 0x00);
    pump();
    ASSERT_EQ(port->written.size(), 5u);
    EXPECT_EQ(port->written[0], pcFrame({0xE3, 0x73, 0x51, 0x00, 0x01}));
    const auto record = [this](std::uint16_t adr, int n) {
        return pcFrame(cat({0xE4}, ascii(linktest::recordText(adr, image.ReadBlock(adr, n)))));
    };
    EXPECT_EQ(port->written[1], record(0x0000, 16));
    EXPECT_EQ(port->written[2], record(0x0010, 5)); // shortened at the range end
    EXPECT_EQ(port->written[3], record(0x07F0, 16));
    EXPECT_EQ(port->written[4], pcFrame(WriteEndBody));
    EXPECT_EQ(drv().nowError(), 0);
    EXPECT_FALSE(drv().Running());
    EXPECT_EQ(drv().curWriteAdr(), -1);
}

TEST_F(DriverCloneWriteTest, RefusedWriteIsErrorSix) {
    startWrite("0000-001F,", 0x01);
    pump();
    EXPECT_EQ(drv().lastError(), 6);
    EXPECT_FALSE(drv().Running());
}

TEST_F(DriverCloneWriteTest, RefusedSendOfTheNextRecordIsErrorSeven) {
    startWrite("0000-003F,", 0x00);
    drv().read(port->input()); // E3 echo: the first record goes out
    ASSERT_EQ(port->written.size(), 2u);
    port->outCount = 1000; // the output buffer is full when the next record is due
    drv().read(port->input());
    EXPECT_EQ(drv().lastError(), 7);
    EXPECT_FALSE(drv().Running());
    EXPECT_EQ(port->written.size(), 2u);
}

TEST_F(DriverCloneWriteTest, MissingEchoDuringWriteIsErrorOne) {
    startWrite("0000-003F,", 0x00);
    port->echo = false;
    drv().read(port->input());
    EXPECT_TRUE(drv().Running());
    TickCount::advanceTestClock(1000);
    drv().task();
    EXPECT_EQ(drv().lastError(), 1);
}

TEST_F(DriverCloneWriteTest, MissingResultIsErrorTwo) {
    startWrite("0000-000F,", 0x00);
    port->responder = nullptr;
    pump();
    EXPECT_EQ(drv().workMode(), 4);
    EXPECT_EQ(drv().waitState(), 2);
    TickCount::advanceTestClock(1200);
    drv().task();
    EXPECT_EQ(drv().lastError(), 2);
}

} // namespace
