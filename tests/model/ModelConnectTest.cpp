// SPDX-License-Identifier: GPL-3.0-or-later
// "Connect" end to end against the simulated radio: the unlock, the identity check and the
// clone read, then every item loaded from the radio's memory and sent back to it unchanged.
#include "tests/model/ConnectedBench.h"

#include "platform/TickCount.h"

#include <QPushButton>

using namespace proceduretest;

namespace {

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

} // namespace

TEST(ModelConnectTest, EveryValueComesFromTheRadioAndGoesBackUnchanged) {
    Bench bench;
    // What the radio holds before Connect: the values it must get back, unchanged. (Compared
    // after the sends, an item read from the wrong byte would agree with the damage it did.)
    const auto memory = bench.radio().memory();
    bench.window().cmd00(0).click();
    std::vector<std::pair<std::int32_t, std::string>> sent; // when each E8 frame went out
    ASSERT_TRUE(bench.runUntil([&] {
        const auto payloads = bench.e8Payloads();
        for (std::size_t i = sent.size(); i < payloads.size(); ++i) {
            sent.emplace_back(platform::TickCount::now(), payloads[i]);
        }
        return bench.model().RigProp_EditEnabled() && sent.size() >= 1 + 16 + 1 + 14;
    }));
    const auto frames = bench.framesWritten();
    ASSERT_GE(frames.size(), 3u);
    EXPECT_EQ(frames[0], HexToByteStr("FEFEEEEFE873510001"
                                      "0035526B39547A33577131"
                                      "FD"));
    EXPECT_EQ(frames[1], HexToByteStr("FEFEEEEFE073510000FD"));
    EXPECT_EQ(frames[2], HexToByteStr("FEFEEEEFE273510001FD"));
    // After the unlock, 16 readouts and the channel, every value in console order, each after
    // the 200 ms wait of the one before.
    std::size_t next = 1 + 16 + 1;
    for (const ValueItem& item : ValueItems) {
        const int held = memory[static_cast<std::size_t>(item.address)];
        EXPECT_EQ(bench.console().Value(item.index), held) << "item " << item.index;
        const std::size_t at = next++;
        EXPECT_EQ(sent[at].second, e8(item.command, held)) << "item " << item.index;
        if (item.index != 1) {
            EXPECT_GE(sent[at].first - sent[at - 1].first, 200) << "item " << item.index;
        }
    }
    EXPECT_EQ(bench.radio().memory(), memory); // nothing changed in the radio
}

TEST(ModelConnectTest, ARecordLostOutsideTheAdjustmentAreaDoesNotMatter) {
    vxk5sim::SimConfig config;
    config.dropRecord = 0;
    Bench bench(config);
    ASSERT_TRUE(bench.connect());
    EXPECT_TRUE(bench.messages().messages().empty());
}
