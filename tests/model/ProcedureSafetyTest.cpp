// SPDX-License-Identifier: GPL-3.0-or-later
// The procedures where they are left before their end, or a sensor error ends TXF after its
// first writes: every byte they changed is back in the radio and the image, byte for byte.
#include "tests/support/ConnectedBench.h"

#include "platform/SessionLog.h"

#include <fstream>
#include <functional>
#include <map>

using namespace proceduretest;

namespace {

constexpr std::int32_t AreaFirst = 0x7A8;
constexpr std::int32_t AreaSize = 64;

Bytes radioArea(DoorBench& bench) {
    const auto& memory = bench.radio().memory();
    return Bytes(memory.begin() + AreaFirst, memory.begin() + AreaFirst + AreaSize);
}
Bytes imageArea(DoorBench& bench) {
    return bench.image().ReadBlock(AreaFirst, AreaSize);
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

} // namespace

TEST(ProcedureSafetyTest, ASensorErrorAfterTheFirstWritesPutsThemBack) {
    const std::string error = "The temperature sensor of the VX-K5 reads *Error.\r\n"
                              "TXF cannot be adjusted; its values are unchanged.";
    testsupport::TempDir logs;
    const platform::SessionLog log(logs.file("logs")); // the whole session, read at the end
    Connected c; // after the first local write: it is put back
    const Bytes before = radioArea(c.bench);
    ASSERT_TRUE(c.enter(ItemTxf));
    ASSERT_TRUE(c.atStep(56, 200));
    c.items().UpDown(ItemTxf, 3);
    ASSERT_TRUE(c.atStep(57, 40));
    ASSERT_TRUE(c.bench.runUntil([&] { return c.step() != 57; }, 40));
    ASSERT_NE(radioArea(c.bench), before);
    c.bench.radio().config().temperature = 255;
    ASSERT_TRUE(c.runToEnd(40));
    EXPECT_EQ(radioArea(c.bench), before);
    EXPECT_EQ(imageArea(c.bench), before);
    EXPECT_EQ(c.message(), error);
    std::ifstream in(platform::SessionLog::currentPath());
    const std::string lines((std::istreambuf_iterator<char>(in)), {});
    for (const char* line :
         {"link     out FE FE EE EF E2 73 51 00 01 FD\n", "link     in  FE FE EF EE E4 ",
          "model    start TXF\n", "model    end TXF: Ended without result"}) {
        EXPECT_NE(lines.find(line), std::string::npos) << line << " not in\n" << lines;
    }
}

namespace {

enum class Leave { Reload, OtherProcedure, Connect, ShutDown };

struct AbandonCase {
    const char* name;
    std::int16_t item;
    std::function<bool(Connected&)> bringTo; // runs the procedure to where it is left
    Leave leave;
};

// TXF to the middle of its full write: both Enters done, a dozen of the 40 values sent.
bool txfHalfWritten(Connected& c) {
    if (!c.txfThroughBothEnters()) {
        return false;
    }
    const std::size_t before = c.bench.e8Payloads().size();
    return c.bench.runUntil([&] { return c.bench.e8Payloads().size() >= before + 12; }, 200);
}

class AbandonTest : public ::testing::TestWithParam<AbandonCase> {};

} // namespace

TEST_P(AbandonTest, EveryByteTheProcedureChangedGoesBackBeforeTheNextAction) {
    const AbandonCase& p = GetParam();
    Connected c;
    const Bytes before = radioArea(c.bench);
    ASSERT_TRUE(c.enter(p.item));
    ASSERT_TRUE(p.bringTo(c));
    const std::vector<std::string> sent = c.bench.e8Payloads();
    const std::vector<std::string> restores = restoresFor(sent, before);
    ASSERT_FALSE(restores.empty());
    switch (p.leave) {
    case Leave::Reload:
        c.bench.door().click(RigDoor::Reload);
        break;
    case Leave::OtherProcedure:
        c.bench.door().pressEnter(ItemDtcsStart);
        ASSERT_TRUE(c.bench.runUntil([&] { return c.step() != 0 && c.step() < 8; }, 200));
        break;
    case Leave::Connect:
        c.bench.door().click(RigDoor::Connect);
        break;
    case Leave::ShutDown:
        c.bench.door().shutDown();
        break;
    }
    EXPECT_EQ(radioArea(c.bench), before);
    EXPECT_EQ(imageArea(c.bench), before);
    EXPECT_FALSE(c.bench.folder().exists("backups/VX-K5_0001_journal.txt")); // nothing to offer
    const std::vector<std::string> all = c.bench.e8Payloads();
    auto block = all.begin() + static_cast<std::ptrdiff_t>(sent.size());
    if (p.leave == Leave::OtherProcedure) {
        // The procedure ran on until the task took the Enter; its restores stand right before
        // the other procedure's first command.
        block =
            std::find(block, all.end(), e8(2, 1)) - static_cast<std::ptrdiff_t>(restores.size());
    }
    ASSERT_GE(all.end() - block, static_cast<std::ptrdiff_t>(restores.size()));
    EXPECT_EQ(std::vector<std::string>(block, block + static_cast<std::ptrdiff_t>(restores.size())),
              restores);
    if (p.leave == Leave::ShutDown) {
        EXPECT_EQ(all.end() - block, static_cast<std::ptrdiff_t>(restores.size())); // the last
        return;
    }
    if (p.leave == Leave::Connect) {
        ASSERT_TRUE(c.bench.connect());
    }
    c.bench.tick(40);
    EXPECT_EQ(radioArea(c.bench), before);
    EXPECT_EQ(imageArea(c.bench), before);
    for (const std::int16_t item : {9, 10, 11, 13, 14, 15, 17, 18, 19}) {
        EXPECT_EQ(c.items().Value(item), c.imageByte(c.items().EeAdr(item))) << item;
    }
    EXPECT_TRUE(c.bench.view().messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Procedures, AbandonTest,
    ::testing::Values(
        AbandonCase{"SweepLowAtItsThreePointsByReload", ItemBpfLowAll,
                    [](Connected& c) { return c.atStep(16); }, Leave::Reload},
        AbandonCase{"SweepLowWhileItsFirstReadingIsOutByReload", ItemBpfLowAll,
                    [](Connected& c) {
                        c.bench.radio().config().loseAnswers = 1; // the reading stays out
                        return c.bench.runUntil([&] { return c.bench.seq().OpRunning(); }, 40);
                    },
                    Leave::Reload},
        AbandonCase{"SweepMidAtItsSecondStageByAnotherProcedure", ItemBpfMidAll,
                    [](Connected& c) { return c.atStep(33); }, Leave::OtherProcedure},
        AbandonCase{"TxfAfterItsFirstLocalWriteByConnect", ItemTxf,
                    [](Connected& c) {
                        if (!c.atStep(56, 200)) {
                            return false;
                        }
                        c.items().UpDown(ItemTxf, 3);
                        return c.atStep(57) && c.bench.runUntil([&] { return c.step() != 57; }, 40);
                    },
                    Leave::Connect},
        AbandonCase{"TxfInTheMiddleOfItsFullWriteByReload", ItemTxf, txfHalfWritten, Leave::Reload},
        AbandonCase{"ModulationLevelAfterAChangeByTheEnd", ItemModLevel,
                    [](Connected& c) {
                        if (!c.atStep(9)) {
                            return false;
                        }
                        c.items().UpDown(ItemModLevel, 2);
                        return c.bench.runUntil(
                            [&] { return c.imageByte(0x7AB) == c.items().Value(ItemModLevel); },
                            40);
                    },
                    Leave::ShutDown}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProcedureSafetyTest, AProcedureThatReachedItsEndKeepsItsResult) {
    Connected c;
    ASSERT_TRUE(c.enter(ItemBpfLowAll));
    ASSERT_TRUE(c.runToEnd());
    const Bytes swept = radioArea(c.bench);
    c.bench.door().click(RigDoor::Reload);
    c.bench.tick(40);
    EXPECT_EQ(radioArea(c.bench), swept);
    EXPECT_EQ(imageArea(c.bench), swept);
}
