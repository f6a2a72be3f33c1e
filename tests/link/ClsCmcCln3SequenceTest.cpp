// The sequencer over the port manager and a fake port that echoes like the cable and answers
// like a radio: E8 commands with and without answers, identity checks before a clone read or
// write, error ends with exactly one report, and the automatic port release.
#include "LinkFixture.h"

using linktest::cat;
using linktest::endFrame;
using linktest::pcFrame;
using linktest::radioFrame;
using linktest::recordFrame;
using platform::TickCount;

namespace {

const std::string Unlock = "0035526B39547A33577131";

class SequencerTest : public linktest::LinkFixture {
  protected:
    // A radio behind the fake port: identity, a clone read of `memory`, readouts of command 3.
    void answerAsRadio(Bytes model, Bytes sub) {
        for (int adr = 0; adr < 2048; ++adr) {
            memory.WriteByte(adr, (adr * 13 + 5) & 0xFF);
        }
        port->responder = [this, model, sub](const Bytes& frame) -> Bytes {
            const std::uint8_t command = frame.size() > 4 ? frame[4] : 0;
            if (command == 0xE0) {
                return radioFrame(0xE1, cat(model, sub));
            }
            if (command == 0xE2) {
                Bytes line;
                for (std::uint16_t adr = 0; adr < 2048; adr += 16) {
                    line = cat(line, recordFrame(adr, memory.ReadBlock(adr, 16)));
                }
                return cat(line, endFrame());
            }
            if (command == 0xE8 && frame.size() > 10 && frame[9] == 0x03 && readoutAnswers) {
                return radioFrame(0xE8, {0x73, 0x51, 0x00, 0x01, 0x03, 0x38, 0x30});
            }
            return {};
        };
    }

    clsCmcEeprom memory;
    bool readoutAnswers = true;
};

TEST_F(SequencerTest, CreationResetsTheLink) {
    resetLinkGlobals();
    setGObjCom(com.get());
    com->setErrCannotOpen(true);
    com->setComPortNum(4);
    clsCmcCln3Sequence& seq = gObjSeq();
    EXPECT_FALSE(com->errCannotOpen());
    EXPECT_EQ(com->comPortNum(), 1);
    EXPECT_EQ(seq.ComPortNo(), 1);
    EXPECT_EQ(seq.comHoldReload(), 0);
    EXPECT_FALSE(seq.OpRunning());
}

TEST_F(SequencerTest, E8WithoutAnswerGoesOutInTheSameCall) {
    gObjSeq().easyReset(3);
    EXPECT_FALSE(com->comOpen());
    gObjSeq().easySendE8NoAnswer(Unlock);
    EXPECT_TRUE(com->comOpen());
    EXPECT_EQ(com->comPortNum(), 3);
    EXPECT_EQ(port->comPort, 3);
    EXPECT_EQ(port->settings, "9600,N,8,1");
    ASSERT_EQ(port->written.size(), 1u);
    EXPECT_EQ(port->written[0], pcFrame({0xE8, 0x73, 0x51, 0x00, 0x01, 0x00, 0x35, 0x52, 0x6B, 0x39,
                                         0x54, 0x7A, 0x33, 0x57, 0x71, 0x31}));
    EXPECT_TRUE(gObjSeq().OpRunning());
    gObjSeq().task();
    EXPECT_FALSE(gObjSeq().OpRunning());
    EXPECT_EQ(gObjSeq().phase(), 6);
    EXPECT_EQ(gObjSeq().e8HexStrToSend(), "");
    tick(); // the echo arrives and is dropped
    EXPECT_TRUE(host.reports.empty());
    EXPECT_TRUE(com->comOpen());
}

TEST_F(SequencerTest, E8TextMayHaveBlanksBetweenPairs) {
    gObjSeq().easySendE8NoAnswer("03 31 34");
    ASSERT_EQ(port->written.size(), 1u);
    EXPECT_EQ(port->written[0], pcFrame({0xE8, 0x73, 0x51, 0x00, 0x01, 0x03, 0x31, 0x34}));
}

TEST_F(SequencerTest, E8WithoutAnswerFromTheRadioIsSentThreeTimesThenReportedOnce) {
    answerAsRadio({0x73, 0x51}, {0x00, 0x01});
    readoutAnswers = false;
    gObjSeq().easySendE8ReqAnswer("033134");
    ASSERT_TRUE(runToEnd());
    ASSERT_EQ(port->written.size(), 3u);
    EXPECT_EQ(port->written[2], port->written[0]);
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(host.reports[0].lastError, 2);
    EXPECT_EQ(host.reports[0].text.substr(0, 23), "No answer from VX-K5.\r\n");
    EXPECT_FALSE(com->comOpen());
    tick();
    tick();
    EXPECT_EQ(host.reports.size(), 1u);
}

TEST_F(SequencerTest, AnswerRequestBeforeTheOperationIsLost) {
    clsCmcCln3Sequence& seq = gObjSeq();
    seq.setE8AnsRequired(true);
    seq.setOperation(clsCmcCln3Sequence::OpE8);
    EXPECT_FALSE(seq.e8AnsRequired());
    seq.setE8HexStrToSend("033134");
    seq.start();
    EXPECT_FALSE(com->cln3D.Running()); // sent without waiting for an answer
    EXPECT_EQ(port->written.size(), 1u);
}

TEST_F(SequencerTest, CloneReadFillsTheImage) {
    answerAsRadio({0x73, 0x51}, {0x00, 0x01});
    gObjSeq().easyCloneRead();
    EXPECT_TRUE(gObjSeq().OpRunning());
    ASSERT_TRUE(runToEnd());
    EXPECT_TRUE(host.reports.empty());
    ASSERT_EQ(port->written.size(), 2u);
    EXPECT_EQ(port->written[0], pcFrame({0xE0, 0x73, 0x51, 0x00, 0x00}));
    EXPECT_EQ(port->written[1], pcFrame({0xE2, 0x73, 0x51, 0x00, 0x01}));
    EXPECT_EQ(gObjRadio().objEep().ReadBlock(0, 2048), memory.ReadBlock(0, 2048));
    EXPECT_EQ(gObjSeq().ansNameM(), "7351");
    EXPECT_EQ(gObjSeq().ansNameS(), "0001");
    EXPECT_EQ(gObjSeq().error(), 0);
}

struct IdentityCase {
    const char* name;
    Bytes model;
    Bytes sub;
    std::int16_t error;
    std::string nameSAfter;
    const char* firstLine;
};

class SequencerIdentityTest : public SequencerTest,
                              public ::testing::WithParamInterface<IdentityCase> {};

TEST_P(SequencerIdentityTest, ReadStartsOnlyForTheRightRadio) {
    const IdentityCase& c = GetParam();
    answerAsRadio(c.model, c.sub);
    gObjSeq().easyCloneRead();
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(gObjRadio().radionameS(), c.nameSAfter);
    if (c.error == 0) {
        EXPECT_TRUE(host.reports.empty());
        ASSERT_EQ(port->written.size(), 2u);
        EXPECT_EQ(port->written[1], pcFrame(cat({0xE2, 0x73, 0x51}, c.sub)));
        EXPECT_EQ(gObjRadio().objEep().ReadBlock(0, 2048), memory.ReadBlock(0, 2048));
    } else {
        ASSERT_EQ(host.reports.size(), 1u);
        EXPECT_EQ(host.reports[0].seqError, c.error);
        EXPECT_EQ(host.reports[0].text.substr(0, std::string(c.firstLine).size()), c.firstLine);
        EXPECT_EQ(port->written.size(), 1u); // no E2 frame
        EXPECT_FALSE(com->comOpen());
        EXPECT_EQ(gObjRadio().objEep().ReadBlock(0, 2048), Bytes(2048, 0));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Identity, SequencerIdentityTest,
    ::testing::Values(
        IdentityCase{"SameRadio", {0x73, 0x51}, {0x00, 0x01}, 0, "0001", ""},
        IdentityCase{"OtherAcceptedSubCode", {0x73, 0x51}, {0x00, 0x99}, 0, "0099", ""},
        IdentityCase{"OtherModel", {0x73, 0x52}, {0x00, 0x01}, 1, "0001", "Cannot Clone.\r\n"},
        IdentityCase{"RefusedSubCode",
                     {0x73, 0x51},
                     {0x01, 0x00},
                     2,
                     "0001",
                     "Version number does not match\r\nfor this VX-K5."},
        IdentityCase{"BothWrongSubCodeWins",
                     {0x73, 0x52},
                     {0x01, 0x00},
                     2,
                     "0001",
                     "Version number does not match"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SequencerTest, SubCodeRuleIsAskedOfTheHost) {
    answerAsRadio({0x73, 0x51}, {0x00, 0x01});
    host.subNameRule = [](const std::string&) { return false; };
    gObjSeq().easyCloneRead();
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(host.subNamesChecked, std::vector<std::string>{"0001"});
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(host.reports[0].seqError, 2);
}

TEST_F(SequencerTest, PortThatCannotBeOpenedIsReportedOnce) {
    port->openFails = true;
    gObjSeq().easySendE8NoAnswer(Unlock);
    EXPECT_TRUE(com->errCannotOpen());
    EXPECT_FALSE(com->comOpen());
    EXPECT_TRUE(port->written.empty());
    tick();
    tick();
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(host.reports[0].text.substr(0, 22), "Cannot access COM 1.\r\n");
    EXPECT_FALSE(gObjSeq().OpRunning());
}

TEST_F(SequencerTest, CloneReadOnAPortThatCannotBeOpenedIsReportedOnce) {
    port->openFails = true;
    gObjSeq().easyReset(2);
    gObjSeq().easyCloneRead();
    ASSERT_TRUE(runToEnd());
    tick();
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(host.reports[0].text.substr(0, 22), "Cannot access COM 2.\r\n");
    EXPECT_TRUE(port->written.empty());
}

TEST_F(SequencerTest, PortIsReleasedAfterTheHoldTime) {
    gObjSeq().setComHoldReload(3000);
    gObjSeq().easySendE8NoAnswer(Unlock);
    const std::int32_t sent = TickCount::now();
    gObjSeq().task(); // the operation ends
    ASSERT_FALSE(gObjSeq().OpRunning());
    TickCount::setTestClock(sent + 2999);
    gObjSeq().task();
    EXPECT_TRUE(com->comOpen());
    TickCount::setTestClock(sent + 3000);
    gObjSeq().task();
    EXPECT_FALSE(com->comOpen());
    EXPECT_EQ(com->comPortNum(), 1);
}

TEST_F(SequencerTest, HoldTimeRestartsWithEveryOperation) {
    gObjSeq().setComHoldReload(1000);
    for (int i = 0; i < 10; ++i) {
        gObjSeq().easySendE8NoAnswer(Unlock);
        tick();
        TickCount::advanceTestClock(900);
        tick();
        ASSERT_TRUE(com->comOpen()) << "operation " << i;
    }
}

TEST_F(SequencerTest, PortStaysOpenWithoutAHoldTime) {
    gObjSeq().setComHoldReload(0);
    gObjSeq().easySendE8NoAnswer(Unlock);
    for (int i = 0; i < 100; ++i) {
        TickCount::advanceTestClock(10000);
        gObjSeq().task();
    }
    EXPECT_TRUE(com->comOpen());
}

} // namespace
