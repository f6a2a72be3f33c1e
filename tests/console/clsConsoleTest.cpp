// SPDX-License-Identifier: GPL-3.0-or-later
// The adjustment console: limits, stepping, line texts and bars, redraws, the memory binding,
// the Enter mark and the live command's hand-over.
#include "console/clsConsole.h"
#include "console/ConsoleEvents.h"
#include "console/ConsoleLines.h"
#include "link/clsCmcEeprom.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using I = std::int16_t;

// Its send event rebuilds the list, as a model handler may.
struct ClearingEvents : ConsoleEvents {
    std::string ConsEv_Disp(clsConsole&, I, I, I) override { return {}; }
    void ConsEv_SendE8(clsConsole& c, I, I, I) override { c.Clear(); }
    void ConsEv_Enter(clsConsole&, I, I, I) override {}
    void WaitE8Required(std::int32_t) override {}
};

// The lines as a list would show them.
struct Lines : ConsoleLines {
    void setLine(int i, const std::string& text) override {
        if (static_cast<std::size_t>(i) >= shown.size()) {
            shown.resize(static_cast<std::size_t>(i) + 1);
        }
        shown[static_cast<std::size_t>(i)] = text;
    }
    void clearLines() override { shown.clear(); }
    std::vector<std::string> shown;
};

class ConsoleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        console.myListBox = &list;
        console.myEventClass = &events;
        console.myEeprom = &eep;
    }
    // Appends an item titled "N" with the given limits and byte in the image.
    I add(I mn, I mx, std::int32_t adr = -1) {
        console.AddItem();
        const auto i = static_cast<I>(console.ListCount() - 1);
        console.setTitle(i, "N");
        console.setMin(i, mn);
        console.setMax(i, mx);
        console.setEeAdr(i, adr);
        return i;
    }
    std::string& line(int i) { return list.shown.at(static_cast<std::size_t>(i)); }

    Lines list;
    ClearingEvents events;
    clsCmcEeprom eep;
    clsConsole console;
};

// A line left as "old" was not redrawn.
TEST_F(ConsoleTest, ValueRedrawsOnlyOnAChangeButAlwaysFlags) {
    console.AddItem();
    EXPECT_EQ(line(0), ":   0"); // a new item's line
    console.setMax(0, 10);
    line(0) = "old";
    console.setValue(0, 0); // same value: no redraw, but flagged to be sent again
    EXPECT_EQ(line(0), "old");
    EXPECT_TRUE(console.flgChanged(0));
    console.setValue(0, 10);
    EXPECT_EQ(line(0), ":  10");
    console.setFlgChanged(0, false);
    line(0) = "old";
    console.UpDown(0, 1); // against Max without wrap: unchanged, not redrawn, sent again
    EXPECT_EQ(line(0), "old");
    EXPECT_TRUE(console.flgChanged(0));
    console.setMax(0, -5); // below Min: lowers Min and clamps the value
    EXPECT_EQ(console.Min(0), -5);
    EXPECT_EQ(console.Value(0), -5);
}

// Each item steps once from its value and is drawn again: the value right-aligned in four
// characters (its last four when longer) and a bar of n = (Value - Min) x 20 / (Max - Min)
// cells, rounded half to even.
TEST_F(ConsoleTest, StepWrapsOnlyFromAnEndAndTheLineShowsTheValue) {
    // clang-format off
    struct Case { I min, max; bool loop; I from, step; const char* line; } const cases[] = {
        {0, 3, true, 3, 1, "N:   0 [--------------------]"},
        {0, 3, true, 3, 5, "N:   0 [--------------------]"}, // a longer step wraps to Min too
        {-32768, 32767, false, 32765, 5, "N:2767 [####################]"}, // no 16-bit wrap round
        {0, 255, false, 128, 0, "N: 128 [##########----------]"}, // 10.04
        {0, 8, false, 1, 0, "N:   1 [##------------------]"},     // 2.5 -> 2
        {5, 5, false, 5, 0, "N:   5 [--------------------]"},     // no span: no division
        {0, 2000, false, 1900, 0, "N:1900 [###################-]"}}; // too wide for 16 bits
    // clang-format on
    for (const Case& c : cases) {
        const auto i = add(c.min, c.max);
        console.setBarExist(i, true);
        console.setLoopVal(i, c.loop);
        console.setValue(i, c.from);
        console.UpDown(i, c.step);
        console.Disp(i);
        EXPECT_EQ(line(i), c.line) << c.from << " + " << c.step;
    }
}

TEST_F(ConsoleTest, MemoryBindingAndTheLiveCommand) {
    eep.WriteByte(100, 0x80);
    const auto s = add(-128, 255, 100), clamped = add(0, 255, 100);
    for (auto i : {s, clamped}) {
        console.setEeDataSigned(i, true);
        console.ReadFromEe(i);
    }
    EXPECT_EQ(console.Value(s), -128);
    EXPECT_EQ(console.Value(clamped), 0); // held back by Min
    console.setValue(s, -1);
    console.SendE8(s); // no command: nothing sent, but the image written
    EXPECT_EQ(eep.ReadByte(100), 0xFF);
    console.setEvent_SendE8(s, 0); // a send event that empties the list
    console.setValue(s, 3);
    console.SendE8(s);
    EXPECT_EQ(eep.ReadByte(100), 0xFF); // the item was gone before its byte could be written
}

TEST_F(ConsoleTest, EnterMarksOnlyOneItemAndAnIndexOutsideTheListIsIgnored) {
    console.AddItem();
    console.AddItem();
    console.EnterPushed(0);
    console.EnterPushed(1);
    EXPECT_FALSE(console.flgEnterOn(0));
    EXPECT_TRUE(console.flgEnterOn(1));
    for (I bad : {-1, 2, 500}) {
        console.setValue(bad, 5);
        console.UpDown(bad, 1);
        console.SendE8(bad);
        console.EnterPushed(bad);
        EXPECT_EQ(console.Value(bad), 0);
    }
    EXPECT_TRUE(console.flgEnterOn(1));
    EXPECT_EQ(list.shown.size(), 2u);
}

} // namespace
