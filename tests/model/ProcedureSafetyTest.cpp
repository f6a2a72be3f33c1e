// The procedures where they cannot give a sound result (no signal, a reading out of range, a
// sensor error, a test channel not set up) and where they are left before their end: nothing
// wrong stays in the radio or in the image, and the technician is told why.
#include "tests/model/ConnectedBench.h"

#include "link/clsCmcCln3Sequence.h"

#include <QGroupBox>
#include <QPushButton>

#include <functional>
#include <map>

using namespace proceduretest;

namespace {

constexpr std::int32_t AreaFirst = 0x7A8;
constexpr std::int32_t AreaSize = 64;

Bytes radioArea(Bench& bench) {
    const auto& memory = bench.radio().memory();
    return Bytes(memory.begin() + AreaFirst, memory.begin() + AreaFirst + AreaSize);
}
Bytes imageArea() {
    return gObjRadio().objEep().ReadBlock(AreaFirst, AreaSize);
}
int commandOf(const std::string& payload) {
    return HexToByteStr(payload.substr(0, 2))[0];
}

// The byte of the adjustment area a procedure's live command sets, written out here from the
// radio's memory map (S-meter commands are not among those the cases below send).
std::int32_t cellOf(int command) {
    if (command >= 17 && command <= 25) {
        return 0x7B0 + command - 17;
    }
    if (command >= 26 && command <= 65) {
        return 0x7C0 + command - 26; // REF Initial, then REF Slant right behind it
    }
    return command == 13 ? 0x7AA : command == 14 ? 0x7AB : -1;
}

// What puts back the bytes that the payloads changed: one command each, in command order,
// with the value the area held before.
std::vector<std::string> restoresFor(const std::vector<std::string>& sent, const Bytes& before) {
    std::map<int, int> restores;
    for (const std::string& p : sent) {
        const int command = commandOf(p);
        if (cellOf(command) >= 0) {
            restores[command] = before[static_cast<std::size_t>(cellOf(command) - AreaFirst)];
        }
    }
    std::vector<std::string> payloads;
    for (const auto& [command, value] : restores) {
        payloads.push_back(e8(command, value));
    }
    return payloads;
}

const char* const CheckSignal = "\r\n\r\nCheck the following:\r\n\r\n"
                                "- The signal generator output is ON.\r\n"
                                "- The signal generator frequency is that of ";

struct SweepCase {
    std::int16_t allItem;
    int firstCommand;
    std::string message;
};

class NoSignalSweepTest : public ::testing::TestWithParam<SweepCase> {};

} // namespace

TEST_P(NoSignalSweepTest, PutsTheSettingsBackWithoutABeepAndSaysWhatToCheck) {
    const SweepCase& p = GetParam();
    vxk5sim::SimConfig config;
    config.signal = 0; // the signal generator is off
    Connected c(config);
    const Bytes radioBefore = radioArea(c.bench);
    const Bytes imageBefore = imageArea();
    ASSERT_TRUE(c.enter(p.allItem));
    ASSERT_TRUE(c.runToEnd());
    c.bench.tick(20); // nothing of the sweep is sent again afterwards

    EXPECT_EQ(radioArea(c.bench), radioBefore);
    EXPECT_EQ(imageArea(), imageBefore);
    const std::vector<std::string> sent = c.bench.e8Payloads();
    ASSERT_GE(sent.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        const auto item = static_cast<std::int16_t>(p.allItem + 1 + k);
        const int before =
            imageBefore[static_cast<std::size_t>(cellOf(p.firstCommand + k) - AreaFirst)];
        EXPECT_EQ(items().Value(item), before);
        EXPECT_EQ(items().WaitAfterE8(static_cast<std::int16_t>(p.allItem + k)), 200);
        EXPECT_EQ(sent[sent.size() - 3 + static_cast<std::size_t>(k)],
                  e8(p.firstCommand + k, before));
    }
    EXPECT_EQ(std::count(sent.begin(), sent.end(), e8(66, 1)), 0);
    EXPECT_EQ(c.bench.messages().beeps(), 0);
    ASSERT_EQ(c.bench.messages().messages().size(), 1u);
    EXPECT_EQ(c.bench.messages().messages()[0].text, p.message);
}

INSTANTIATE_TEST_SUITE_P(
    Bands, NoSignalSweepTest,
    ::testing::Values(
        SweepCase{ItemBpfLowAll, 17,
                  "No signal reached the detector.\r\nBPF Low T1, T2 and T3 are back at their "
                  "values before the sweep." +
                      std::string(CheckSignal) + "CH 01 (146.000000 MHz)."},
        SweepCase{ItemBpfMidAll, 20,
                  "No signal reached the detector.\r\nBPF Mid T1, T2 and T3 are back at their "
                  "values before the sweep." +
                      std::string(CheckSignal) + "CH 02 (155.000000 MHz)."},
        SweepCase{ItemBpfHighAll, 23,
                  "No signal reached the detector.\r\nBPF High T1, T2 and T3 are back at their "
                  "values before the sweep." +
                      std::string(CheckSignal) + "CH 03 (166.000000 MHz)."}));

namespace {

const std::string SensorError = "The temperature sensor of the VX-K5 reads *Error.\r\n"
                                "TXF cannot be adjusted; its values are unchanged.";

bool isTxfCommand(const std::string& payload) {
    return commandOf(payload) >= 26 && commandOf(payload) <= 65;
}

class TxfSensorErrorTest : public ::testing::TestWithParam<int> {};

} // namespace

TEST_P(TxfSensorErrorTest, TxfDoesNotStartOnAnOpenOrShortedSensor) {
    vxk5sim::SimConfig config;
    config.temperature = GetParam();
    Connected c(config);
    const Bytes before = radioArea(c.bench);
    ASSERT_TRUE(c.enter(ItemTxf));
    ASSERT_TRUE(c.runToEnd(40));
    c.bench.tick(10);
    const std::vector<std::string> sent = c.bench.e8Payloads();
    EXPECT_TRUE(std::none_of(sent.begin(), sent.end(), isTxfCommand));
    EXPECT_EQ(radioArea(c.bench), before);
    EXPECT_EQ(imageArea(), before);
    ASSERT_EQ(c.bench.messages().messages().size(), 1u);
    EXPECT_EQ(c.bench.messages().messages()[0].text, SensorError);
    EXPECT_EQ(c.line(ItemTxf), "       TXF: [Enter] to Start");
}

INSTANTIATE_TEST_SUITE_P(Readings, TxfSensorErrorTest, ::testing::Values(0, 255));

TEST(ProcedureSafetyTest, ASensorErrorAfterTheFirstWritesPutsThemBack) {
    Connected c;
    const Bytes before = radioArea(c.bench);
    ASSERT_TRUE(c.enter(ItemTxf));
    ASSERT_TRUE(c.bench.runUntil([] { return step() == 56 && !gObjSeq().OpRunning(); }, 200));
    items().UpDown(ItemTxf, 3);
    ASSERT_TRUE(c.bench.runUntil([] { return step() == 57; }, 40));
    ASSERT_TRUE(c.bench.runUntil([] { return step() != 57; }, 40));
    ASSERT_NE(radioArea(c.bench), before); // the areas around the current one were written
    c.bench.radio().config().temperature = 255;
    ASSERT_TRUE(c.runToEnd(40));
    EXPECT_EQ(radioArea(c.bench), before);
    EXPECT_EQ(imageArea(), before);
    ASSERT_EQ(c.bench.messages().messages().size(), 1u);
    EXPECT_EQ(c.bench.messages().messages()[0].text, SensorError);
}

namespace {

struct ChannelCase {
    std::int16_t item;
    std::int16_t channel;
    std::string message;
};

class ChannelNotSetUpTest : public ::testing::TestWithParam<ChannelCase> {};

} // namespace

TEST_P(ChannelNotSetUpTest, TheProcedureDoesNotStartAndNamesTheChannel) {
    const ChannelCase& p = GetParam();
    Connected c;
    c.bench.window().ChUnit(p.channel).setAppearCh(false);
    items().EnterPushed(p.item);
    c.bench.tick(20);
    EXPECT_EQ(step(), 0);
    EXPECT_TRUE(c.bench.e8Payloads().empty());
    ASSERT_EQ(c.bench.messages().messages().size(), 1u);
    EXPECT_EQ(c.bench.messages().messages()[0].text, p.message);
}

INSTANTIATE_TEST_SUITE_P(
    Procedures, ChannelNotSetUpTest,
    ::testing::Values(ChannelCase{ItemTxf, 0,
                                  "Test channel 00 is not set up for TXF.\r\nSelect \"CH No.\", "
                                  "step to 00 and press Enter to set its frequency."},
                      ChannelCase{ItemBpfLowAll, 1,
                                  "Test channel 01 is not set up for BPF Low ALL.\r\nSelect "
                                  "\"CH No.\", step to 01 and press Enter to set its frequency."},
                      ChannelCase{ItemBpfMidAll, 2,
                                  "Test channel 02 is not set up for BPF Mid ALL.\r\nSelect "
                                  "\"CH No.\", step to 02 and press Enter to set its frequency."},
                      ChannelCase{ItemBpfHighAll, 3,
                                  "Test channel 03 is not set up for BPF High ALL.\r\nSelect "
                                  "\"CH No.\", step to 03 and press Enter to set its frequency."}));

namespace {

enum class Leave { Reload, OtherProcedure, Connect, CloseWindow };

struct AbandonCase {
    const char* name;
    std::int16_t item;
    std::function<bool(Connected&)> bringTo; // runs the procedure to where it is left
    Leave leave;
};

// TXF to the middle of its full write: both Enters done, a dozen of the 40 values sent.
bool txfHalfWritten(Connected& c) {
    const auto following = [&] {
        return c.bench.runUntil(
            [] { return !gObjSeq().OpRunning() && (step() == 56 || step() == 58); }, 400);
    };
    if (!following()) {
        return false;
    }
    items().UpDown(ItemTxf, 4);
    c.bench.tick(20);
    items().EnterPushed(ItemTxf);
    if (!c.bench.runUntil([] { return step() == 54; }, 200) || !following()) {
        return false;
    }
    items().UpDown(ItemTxf, 5);
    c.bench.tick(20);
    items().EnterPushed(ItemTxf);
    const std::size_t before = c.bench.e8Payloads().size();
    return c.bench.runUntil([&] { return c.bench.e8Payloads().size() >= before + 12; }, 200);
}

bool atStep(Connected& c, std::int16_t wanted) {
    return c.bench.runUntil([&] { return step() == wanted; }, 2000);
}

class AbandonTest : public ::testing::TestWithParam<AbandonCase> {};

} // namespace

TEST_P(AbandonTest, EveryByteTheProcedureChangedGoesBackBeforeTheNextAction) {
    const AbandonCase& p = GetParam();
    Connected c;
    const Bytes before = radioArea(c.bench);
    ASSERT_EQ(imageArea(), before);
    ASSERT_TRUE(c.enter(p.item));
    ASSERT_TRUE(p.bringTo(c));
    ASSERT_NE(step(), 0);
    const std::vector<std::string> sent = c.bench.e8Payloads();
    const std::vector<std::string> restores = restoresFor(sent, before);
    ASSERT_FALSE(restores.empty());

    switch (p.leave) {
    case Leave::Reload:
        c.bench.window().cmd00(1).click();
        break;
    case Leave::OtherProcedure:
        items().EnterPushed(ItemDtcsStart);
        ASSERT_TRUE(c.bench.runUntil([] { return step() != 0 && step() < 8; }, 200));
        break;
    case Leave::Connect:
        c.bench.window().cmd00(0).click();
        break;
    case Leave::CloseWindow:
        c.bench.window().close();
        break;
    }
    EXPECT_EQ(radioArea(c.bench), before);
    const std::vector<std::string> all = c.bench.e8Payloads();
    auto block = all.begin() + static_cast<std::ptrdiff_t>(sent.size());
    if (p.leave == Leave::OtherProcedure) {
        // The procedure ran on until the task took the Enter; its restores stand right before
        // the other procedure's first command.
        const auto tone = std::find(block, all.end(), e8(2, 1));
        ASSERT_GE(tone - block, static_cast<std::ptrdiff_t>(restores.size()));
        block = tone - static_cast<std::ptrdiff_t>(restores.size());
    }
    ASSERT_GE(all.end() - block, static_cast<std::ptrdiff_t>(restores.size()));
    EXPECT_EQ(std::vector<std::string>(block, block + static_cast<std::ptrdiff_t>(restores.size())),
              restores);
    if (p.leave == Leave::CloseWindow) {
        EXPECT_EQ(all.end() - block, static_cast<std::ptrdiff_t>(restores.size())); // the last
        return;
    }
    if (p.leave == Leave::Connect) {
        ASSERT_TRUE(c.bench.connect());
    }
    c.bench.tick(40);
    EXPECT_EQ(radioArea(c.bench), before);
    EXPECT_EQ(imageArea(), before);
    for (const std::int16_t item : {9, 10, 11, 13, 14, 15, 17, 18, 19}) {
        EXPECT_EQ(items().Value(item), gObjRadio().objEep().ReadByte(items().EeAdr(item))) << item;
    }
    EXPECT_TRUE(c.bench.messages().messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Procedures, AbandonTest,
    ::testing::Values(
        AbandonCase{"SweepLowAtItsThreePointsByReload", ItemBpfLowAll,
                    [](Connected& c) { return atStep(c, 16); }, Leave::Reload},
        AbandonCase{"SweepMidAtItsSecondStageByAnotherProcedure", ItemBpfMidAll,
                    [](Connected& c) { return atStep(c, 33); }, Leave::OtherProcedure},
        AbandonCase{"SweepHighRightAfterItsStartByClosingTheWindow", ItemBpfHighAll,
                    [](Connected& c) { return atStep(c, 41); }, Leave::CloseWindow},
        AbandonCase{"TxfAfterItsFirstLocalWriteByConnect", ItemTxf,
                    [](Connected& c) {
                        if (!c.bench.runUntil([] { return step() == 56; }, 200)) {
                            return false;
                        }
                        items().UpDown(ItemTxf, 3);
                        return atStep(c, 57) && c.bench.runUntil([] { return step() != 57; }, 40);
                    },
                    Leave::Connect},
        AbandonCase{"TxfInTheMiddleOfItsFullWriteByReload", ItemTxf, txfHalfWritten, Leave::Reload},
        AbandonCase{"ModulationLevelAfterAChangeByClosingTheWindow", ItemModLevel,
                    [](Connected& c) {
                        if (!atStep(c, 9)) {
                            return false;
                        }
                        items().UpDown(ItemModLevel, 2);
                        return c.bench.runUntil(
                            [] { return imageByte(0x7AB) == items().Value(ItemModLevel); }, 40);
                    },
                    Leave::CloseWindow}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProcedureSafetyTest, AProcedureThatReachedItsEndKeepsItsResult) {
    Connected c;
    ASSERT_TRUE(c.enter(ItemBpfLowAll));
    ASSERT_TRUE(c.runToEnd());
    const Bytes swept = radioArea(c.bench);
    c.bench.window().cmd00(1).click();
    c.bench.tick(40);
    EXPECT_EQ(radioArea(c.bench), swept);
    EXPECT_EQ(imageArea(), swept);
}
