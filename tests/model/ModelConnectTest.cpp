// "Connect" end to end against the simulated radio, then the values on the wire as the
// technician steps the items; link failures on the way end in one message and phase 0.
#include "app/common/CommonRoutines.h"
#include "app/frmMain.h"
#include "console/ConsoleGlobal.h"
#include "console/clsConsole.h"
#include "link/LinkGlobals.h"
#include "link/clsCmcCln3Sequence.h"
#include "link/clsCmcRadio.h"
#include "link/frmCom.h"
#include "model/clsIndOp_RigK5.h"
#include "model/clsRig_Ch.h"
#include "platform/TickCount.h"
#include "tests/support/Bench.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>

using testsupport::Bench;

namespace {

const std::string UnlockPayload = "0035526B39547A33577131";

// The E8 text of an item command: the command, then the value's two hex digits as characters.
std::string e8(int command, int value) {
    return IntToHex2(command) + IntToAsciiHex2(value);
}

Bytes frame(const std::string& hex) {
    return HexToByteStr(hex);
}

// Index, E8 command and memory address of every value item, in console order.
struct ValueItem {
    std::int16_t index;
    int command;
    std::int32_t address;
};
const ValueItem ValueItems[] = {
    {1, 0x0C, 0x7A9},  {2, 0x0B, 0x7A8},  {5, 0x0F, 0x7BC},  {7, 0x07, 0x7BD},  {9, 0x11, 0x7B0},
    {10, 0x12, 0x7B1}, {11, 0x13, 0x7B2}, {13, 0x14, 0x7B3}, {14, 0x15, 0x7B4}, {15, 0x16, 0x7B5},
    {17, 0x17, 0x7B6}, {18, 0x18, 0x7B7}, {19, 0x19, 0x7B8}, {22, 0x10, 0x7AC}};

std::vector<std::string> payloadsSince(const Bench& bench, std::size_t first) {
    const auto all = bench.e8Payloads();
    return {all.begin() + static_cast<std::ptrdiff_t>(first), all.end()};
}

} // namespace

TEST(ModelConnectTest, UnlocksIdentifiesReadsAndSendsEveryValueOnce) {
    Bench bench;
    // What the radio holds before Connect: the values it must get back, unchanged. (Compared
    // after the sends, an item read from the wrong byte would agree with the damage it did.)
    const auto memory = bench.radio().memory();
    bench.window().cmd00(0).click();
    // The task paces the sends: note the clock whenever a new E8 frame reaches the wire.
    std::vector<std::pair<std::int32_t, std::string>> sent;
    ASSERT_TRUE(bench.runUntil([&] {
        const auto payloads = bench.e8Payloads();
        for (std::size_t i = sent.size(); i < payloads.size(); ++i) {
            sent.emplace_back(platform::TickCount::now(), payloads[i]);
        }
        return gObjRigOp().RigProp_EditEnabled() && sent.size() >= 1 + 16 + 1 + 14;
    }));

    const auto frames = bench.framesWritten();
    ASSERT_GE(frames.size(), 3u);
    EXPECT_EQ(frames[0], frame("FEFEEEEFE873510001"
                               "0035526B39547A33577131"
                               "FD"));
    EXPECT_EQ(frames[1], frame("FEFEEEEFE073510000FD"));
    EXPECT_EQ(frames[2], frame("FEFEEEEFE273510001FD"));
    EXPECT_EQ(sent[0].second, UnlockPayload);

    // Every value item holds its byte of the radio's memory.
    for (const ValueItem& item : ValueItems) {
        EXPECT_EQ(gObjConsole().Value(item.index), memory[static_cast<std::size_t>(item.address)])
            << "item " << item.index;
    }
    // Readouts first (A/D twice, then D/A), then channel 0 and every value in console order.
    std::size_t next = 1;
    for (const char* parameter : {"30", "31", "32", "30", "31", "32"}) {
        EXPECT_EQ(sent[next++].second, std::string("0330") + parameter);
    }
    for (int entry = 0; entry <= 9; ++entry) {
        EXPECT_EQ(sent[next++].second, e8(3, entry + 3));
    }
    EXPECT_EQ(sent[next++].second, "01"
                                   "3134"
                                   "3530"
                                   "3030"
                                   "3030"); // 145.000 MHz
    for (const ValueItem& item : ValueItems) {
        const std::size_t at = next++;
        EXPECT_EQ(sent[at].second,
                  e8(item.command, memory[static_cast<std::size_t>(item.address)]));
        if (item.index != 1) {
            EXPECT_GE(sent[at].first - sent[at - 1].first, 200) << "item " << item.index;
        }
    }
    EXPECT_EQ(bench.radio().memory(), memory); // nothing changed in the radio
}

TEST(ModelConnectTest, SteppingAgainstAnEndStillResends) {
    Bench bench;
    ASSERT_TRUE(bench.connect());
    clsConsole& items = gObjConsole();
    for (const auto& [start, step, held] : {std::tuple{255, 1, 255}, std::tuple{0, -1, 0}}) {
        items.setValue(2, static_cast<std::int16_t>(start));
        bench.tick(10);
        const std::size_t before = bench.e8Payloads().size();
        items.UpDown(2, static_cast<std::int16_t>(step));
        ASSERT_TRUE(bench.runUntil([&] { return bench.e8Payloads().size() > before; }));
        EXPECT_EQ(items.Value(2), held);
        EXPECT_EQ(payloadsSince(bench, before).front(), e8(0x0B, held));
    }
}

TEST(ModelConnectTest, ChannelItemWrapsAndSendsOnlyShownChannels) {
    Bench bench;
    clsRig_Ch& ch2 = bench.window().ChUnit(2);
    ch2.setAppearCh(true);
    ch2.setFreqOp_Pure(14452500); // 144.525 MHz
    ASSERT_TRUE(bench.connect());
    clsConsole& items = gObjConsole();

    items.UpDown(0, -1);
    EXPECT_EQ(items.Value(0), 30);
    items.UpDown(0, 1);
    EXPECT_EQ(items.Value(0), 0);
    items.UpDown(0, -1); // channel 30 is not shown: nothing may go out for it
    std::size_t before = bench.e8Payloads().size();
    bench.tick(10);
    EXPECT_EQ(bench.e8Payloads().size(), before);
    EXPECT_EQ(items.Title(0) + ": 30", bench.window().lboConsole().item(0)->text().toStdString());

    items.setValue(0, 2);
    before = bench.e8Payloads().size();
    ASSERT_TRUE(bench.runUntil([&] { return bench.e8Payloads().size() > before; }));
    EXPECT_EQ(payloadsSince(bench, before).front(), "01"
                                                    "3134"
                                                    "3435"
                                                    "3235"
                                                    "3030");
    EXPECT_EQ(bench.radio().channelFrequency(), 14452500);
    EXPECT_EQ(bench.window().lboConsole().item(0)->text().toStdString(),
              "      CH No.: 02 (Frequency =  144.525000 )  RF Power: High");
}

TEST(ModelConnectTest, ConnectAgainStartsOverAndButtonsDoNothingWhileIdle) {
    Bench bench;
    bench.window().cmd00(1).click();
    bench.window().cmd00(2).click();
    bench.tick(3);
    EXPECT_EQ(gObjRigOp().taskPhaseNow(), 0);
    EXPECT_TRUE(bench.framesWritten().empty());
    ASSERT_TRUE(bench.connect());
    bench.clearWire();
    ASSERT_TRUE(bench.connect());
    EXPECT_EQ(bench.e8Payloads().front(), UnlockPayload);
    EXPECT_TRUE(bench.messages().messages().empty());
}

namespace {

struct FailureCase {
    const char* name;
    void (*fault)(vxk5sim::SimConfig&);
    std::string message;
};

const std::string CheckAll = "\r\n\r\nCheck the following:\r\n\r\n- The COM port settings.\r\n"
                             "- Cloning cable connections.\r\n- The VX-K5 power is ON.";

class ConnectFailureTest : public ::testing::TestWithParam<FailureCase> {};

} // namespace

TEST_P(ConnectFailureTest, EndsInOneMessageAndPhaseZero) {
    vxk5sim::SimConfig config;
    GetParam().fault(config);
    Bench bench(config);
    bench.window().cmd00(0).click();
    ASSERT_TRUE(bench.runUntil([&] { return !bench.messages().messages().empty(); }, 400));
    bench.tick(40);
    ASSERT_EQ(bench.messages().messages().size(), 1u);
    EXPECT_EQ(bench.messages().messages()[0].text, GetParam().message);
    EXPECT_EQ(bench.e8Payloads(), std::vector<std::string>{UnlockPayload}); // no value sent
    EXPECT_EQ(gObjRigOp().taskPhaseNow(), 0);
    EXPECT_FALSE(bench.com().comOpen());
    EXPECT_TRUE(bench.window().fra01(0).isVisibleTo(&bench.window()));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ConnectFailureTest,
    ::testing::Values(FailureCase{"WrongModel", [](vxk5sim::SimConfig& c) { c.wrongModel = true; },
                                  "Cannot Clone." + CheckAll},
                      FailureCase{"BadSubCode", [](vxk5sim::SimConfig& c) { c.badSubCode = true; },
                                  "Version number does not match\r\nfor this VX-K5."},
                      FailureCase{"NoEcho", [](vxk5sim::SimConfig& c) { c.noEcho = true; },
                                  "Cannot access COM port" + CheckAll},
                      FailureCase{"NoAnswer", [](vxk5sim::SimConfig& c) { c.noAnswer = true; },
                                  "No answer from VX-K5." + CheckAll},
                      FailureCase{"BadRecord",
                                  [](vxk5sim::SimConfig& c) { c.badChecksumRecord = 5; },
                                  "Illegal data." + CheckAll},
                      FailureCase{"LostRecord", [](vxk5sim::SimConfig& c) { c.dropRecord = 122; },
                                  "Illegal data." + CheckAll},
                      FailureCase{"SilentRadio",
                                  [](vxk5sim::SimConfig& c) { c.silenceAfterRecords = 10; },
                                  "No answer from VX-K5." + CheckAll}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST(ModelConnectTest, ARecordLostOutsideTheAdjustmentAreaDoesNotMatter) {
    vxk5sim::SimConfig config;
    config.dropRecord = 0;
    Bench bench(config);
    ASSERT_TRUE(bench.connect());
    EXPECT_TRUE(bench.messages().messages().empty());
}
