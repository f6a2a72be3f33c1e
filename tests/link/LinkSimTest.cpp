// The link end to end against the simulated radio in the same process, on the test clock:
// unlock, clone read, readouts, clone write, and every fault the radio can show, each ending
// in the right error and exactly one report, or in success with the right data.
#include "app/common/CommonRoutines.h"
#include "link/LinkGlobals.h"
#include "link/clsCmcCln3Sequence.h"
#include "link/clsCmcRadio.h"
#include "link/frmCom.h"
#include "platform/TickCount.h"
#include "tests/support/RecordingLinkHost.h"
#include "tests/support/SimSerialControl.h"

#include <gtest/gtest.h>

#include <memory>

using platform::TickCount;
using testsupport::SimSerialControl;

namespace {

const std::string Unlock = "0035526B39547A33577131";

std::string readoutText(int parameter) {
    return "03" + IntToAsciiHex2(parameter);
}

// Passes everything to the simulated port, but claims a full output buffer once a number of
// blocks has gone out: the next send is refused.
class FillingSerialControl : public SerialControl {
  public:
    explicit FillingSerialControl(std::unique_ptr<SimSerialControl> inner) : sim(std::move(inner)) {
        sim->setEventHandler([this](int ev) { raiseEvent(ev); });
    }
    void setCommPort(std::int16_t port) override { sim->setCommPort(port); }
    std::int16_t commPort() const override { return sim->commPort(); }
    void setSettings(const std::string& s) override { sim->setSettings(s); }
    void setDTREnable(bool on) override { sim->setDTREnable(on); }
    void setRTSEnable(bool on) override { sim->setRTSEnable(on); }
    void setInBufferSize(int bytes) override { sim->setInBufferSize(bytes); }
    void setOutBufferSize(int bytes) override { sim->setOutBufferSize(bytes); }
    int outBufferSize() const override { return sim->outBufferSize(); }
    bool setPortOpen(bool open) override { return sim->setPortOpen(open); }
    bool portOpen() const override { return sim->portOpen(); }
    int inBufferCount() override { return sim->inBufferCount(); }
    int outBufferCount() const override {
        return blocks >= fullAfter ? sim->outBufferSize() : sim->outBufferCount();
    }
    void clearOutBuffer() override { sim->clearOutBuffer(); }
    Bytes input() override { return sim->input(); }
    bool output(const Bytes& block) override {
        ++blocks;
        return sim->output(block);
    }

    std::unique_ptr<SimSerialControl> sim;
    int blocks = 0;
    int fullAfter = 1 << 30;
};

class LinkSimTest : public ::testing::Test {
  protected:
    void SetUp() override { TickCount::setTestClock(100000); }

    void build(vxk5sim::SimConfig config = {}) {
        auto sim = std::make_unique<SimSerialControl>(config);
        auto filling = std::make_unique<FillingSerialControl>(std::move(sim));
        port = filling.get();
        resetLinkGlobals();
        com = std::make_unique<frmCom>(std::move(filling));
        setGObjCom(com.get());
        com->setHost(&host);
        gObjRadio().setRadioNameM("7351");
        gObjRadio().setRadionameS("0001");
        gObjRadio().cloneWriteAdrList_Add(0x0000, 0x07FF);
        gObjSeq();
        host.onTask = [] {
            gObjSeq().task();
            if (gObjSeq().OpRunning()) {
                gObjSeq().task();
            }
        };
    }

    void TearDown() override {
        resetLinkGlobals();
        com.reset();
    }

    vxk5sim::SimRadio& radio() { return port->sim->radio(); }
    Bytes image() { return gObjRadio().objEep().ReadBlock(0, 2048); }
    Bytes radioMemory() { return Bytes(radio().memory().begin(), radio().memory().end()); }

    // Ticks (50 ms each) until the operation ends; false after maxTicks.
    bool runToEnd(int maxTicks = 1000) {
        for (int i = 0; i < maxTicks && gObjSeq().OpRunning(); ++i) {
            TickCount::advanceTestClock(frmCom::TickIntervalMs);
            com->timSolid_Timer();
        }
        return !gObjSeq().OpRunning();
    }

    void unlockAndRead() {
        gObjSeq().easySendE8NoAnswer(Unlock);
        ASSERT_TRUE(runToEnd());
        gObjSeq().easyCloneRead();
        ASSERT_TRUE(runToEnd());
    }

    FillingSerialControl* port = nullptr;
    std::unique_ptr<frmCom> com;
    testsupport::RecordingLinkHost host;
};

TEST_F(LinkSimTest, UnlockCloneReadAndReadouts) {
    build();
    unlockAndRead();
    EXPECT_TRUE(radio().adjustmentState());
    EXPECT_TRUE(host.reports.empty());
    EXPECT_EQ(image(), radioMemory());
    for (int parameter = 0; parameter <= 12; ++parameter) {
        gObjSeq().easySendE8ReqAnswer(readoutText(parameter));
        ASSERT_TRUE(runToEnd());
        const Bytes& answer = com->cln3D.varLastE8Answer();
        ASSERT_EQ(answer.size(), 7u) << "parameter " << parameter;
        EXPECT_EQ(HexAsciiToInt(Bytes(answer.begin() + 5, answer.end())),
                  radio().readout(parameter))
            << "parameter " << parameter;
    }
    EXPECT_TRUE(host.reports.empty());
}

TEST_F(LinkSimTest, CloneReadAtTheRealLineRate) {
    vxk5sim::SimConfig config;
    config.pacing = true;
    build(config);
    unlockAndRead();
    EXPECT_TRUE(host.reports.empty());
    EXPECT_EQ(image(), radioMemory());
}

TEST_F(LinkSimTest, CloneReadThroughGarbageBeforeEveryAnswer) {
    vxk5sim::SimConfig config;
    config.garbage = true;
    build(config);
    unlockAndRead();
    EXPECT_TRUE(host.reports.empty());
    EXPECT_EQ(image(), radioMemory());
}

TEST_F(LinkSimTest, CloneWriteMakesTheRadioMemoryEqualTheImage) {
    build();
    unlockAndRead();
    for (int adr = 0; adr < 2048; ++adr) {
        gObjRadio().objEep().WriteByte(adr, (adr * 31 + 7) & 0xFF);
    }
    ASSERT_NE(image(), radioMemory());
    gObjSeq().easyCloneWrite();
    ASSERT_TRUE(runToEnd());
    EXPECT_TRUE(host.reports.empty());
    EXPECT_EQ(com->cln3D.lastError(), 0);
    EXPECT_EQ(radioMemory(), image());
    EXPECT_EQ(radio().framesSeen(0xE4), 128);
}

TEST_F(LinkSimTest, CloneWriteAtTheRealLineRate) {
    vxk5sim::SimConfig config;
    config.pacing = true;
    build(config);
    for (int adr = 0; adr < 2048; ++adr) {
        gObjRadio().objEep().WriteByte(adr, (adr * 5) & 0xFF);
    }
    gObjSeq().easyCloneWrite();
    ASSERT_TRUE(runToEnd(2000));
    EXPECT_TRUE(host.reports.empty());
    EXPECT_EQ(radioMemory(), image());
}

struct FaultCase {
    const char* name;
    void (*configure)(vxk5sim::SimConfig&);
    bool write; // clone write instead of clone read
    std::int16_t lastError;
    std::int16_t seqError;
    const char* firstLine;
};

std::ostream& operator<<(std::ostream& out, const FaultCase& c) {
    return out << c.name;
}

class LinkSimFaultTest : public LinkSimTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(LinkSimFaultTest, EndsInOneReportWithTheRightMessage) {
    const FaultCase& c = GetParam();
    vxk5sim::SimConfig config;
    c.configure(config);
    build(config);
    const Bytes before = radioMemory();
    if (c.write) {
        gObjSeq().easyCloneWrite();
    } else {
        gObjSeq().easyCloneRead();
    }
    ASSERT_TRUE(runToEnd());
    for (int i = 0; i < 10; ++i) { // later ticks report nothing more
        TickCount::advanceTestClock(frmCom::TickIntervalMs);
        com->timSolid_Timer();
    }
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(host.reports[0].lastError, c.lastError);
    EXPECT_EQ(host.reports[0].seqError, c.seqError);
    const std::string first = c.firstLine;
    EXPECT_EQ(host.reports[0].text.substr(0, first.size()), first);
    EXPECT_FALSE(com->comOpen());
    if (c.write) {
        EXPECT_EQ(radioMemory(), before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, LinkSimFaultTest,
    ::testing::Values(
        FaultCase{"NoEcho", [](vxk5sim::SimConfig& c) { c.noEcho = true; }, false, 1, 3,
                  "Cannot access COM port\r\n"},
        FaultCase{"NoAnswer", [](vxk5sim::SimConfig& c) { c.noAnswer = true; }, false, 2, 3,
                  "No answer from VX-K5.\r\n"},
        FaultCase{"WrongModel", [](vxk5sim::SimConfig& c) { c.wrongModel = true; }, false, 0, 1,
                  "Cannot Clone.\r\n"},
        FaultCase{"BadSubCode", [](vxk5sim::SimConfig& c) { c.badSubCode = true; }, false, 0, 2,
                  "Version number does not match\r\nfor this VX-K5."},
        FaultCase{"BadRecord", [](vxk5sim::SimConfig& c) { c.badChecksumRecord = 5; }, false, 3, 0,
                  "Illegal data.\r\n"},
        FaultCase{"SilenceMidRead", [](vxk5sim::SimConfig& c) { c.silenceAfterRecords = 40; },
                  false, 2, 0, "No answer from VX-K5.\r\n"},
        FaultCase{"WriteRefused", [](vxk5sim::SimConfig& c) { c.refuseWrite = true; }, true, 6, 0,
                  "Cannot write cloning data.\r\n\r\nCheck the following:\r\n\r\n- Cloning"},
        FaultCase{"WrongModelBeforeWrite", [](vxk5sim::SimConfig& c) { c.wrongModel = true; }, true,
                  0, 1, "Cannot Clone.\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LinkSimTest, RefusedSendOfTheNextRecordIsErrorSeven) {
    build();
    port->fullAfter = 10; // identity query, E3, then 8 records go out
    gObjSeq().easyCloneWrite();
    ASSERT_TRUE(runToEnd());
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(host.reports[0].lastError, 7);
    EXPECT_EQ(host.reports[0].text.substr(0, 15), "Cannot Clone.\r\n");
    EXPECT_EQ(radio().framesSeen(0xE4), 8);
    EXPECT_EQ(radio().framesSeen(0xE5), 0);
}

TEST_F(LinkSimTest, CablePulledDuringACloneRead) {
    vxk5sim::SimConfig config;
    config.pacing = true;
    build(config);
    gObjSeq().easyCloneRead();
    for (int i = 0; i < 40; ++i) {
        TickCount::advanceTestClock(frmCom::TickIntervalMs);
        com->timSolid_Timer();
    }
    ASSERT_TRUE(gObjSeq().OpRunning());
    port->sim->unplug();
    ASSERT_TRUE(runToEnd());
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(host.reports[0].lastError, 2);
    // The next operation cannot open the port and says so.
    gObjSeq().easySendE8NoAnswer(Unlock);
    ASSERT_TRUE(runToEnd());
    TickCount::advanceTestClock(frmCom::TickIntervalMs);
    com->timSolid_Timer();
    ASSERT_EQ(host.reports.size(), 2u);
    EXPECT_EQ(host.reports[1].text.substr(0, 20), "Cannot access COM 1.");
}

// Noise can corrupt a record (its checksum fails: error 3) or swallow one whole (its preamble or
// end byte hit); the radio may send its records in any order, so a missing one goes unnoticed
// and leaves the image's earlier bytes there. What noise must never do is put a wrong byte in.
TEST_F(LinkSimTest, NoisyLineNeverWritesAWrongByte) {
    int successes = 0;
    int failures = 0;
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        vxk5sim::SimConfig config;
        config.noiseRate = 0.0001;
        config.noiseSeed = seed;
        build(config);
        host.reports.clear();
        gObjRadio().objEep().setEeSize(2048);
        gObjSeq().easyCloneRead();
        ASSERT_TRUE(runToEnd()) << "seed " << seed;
        const Bytes read = image();
        const Bytes radio = radioMemory();
        for (std::size_t adr = 0; adr < read.size(); ++adr) {
            ASSERT_TRUE(read[adr] == radio[adr] || read[adr] == 0) << "seed " << seed << " at " << adr;
        }
        if (host.reports.empty()) {
            ++successes;
        } else {
            ++failures;
            EXPECT_NE(host.reports[0].lastError, 0) << "seed " << seed;
        }
        TearDown();
    }
    // The noise level is chosen so that both outcomes occur among these seeds.
    EXPECT_GT(successes, 0);
    EXPECT_GT(failures, 0);
}

} // namespace
