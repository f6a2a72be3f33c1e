// The adjustment console: limits, stepping, line texts and bars, redraws, the memory binding,
// the Enter mark and the live command's hand-over.
#include "console/clsConsole.h"
#include "console/ConsoleEvents.h"
#include "console/ConsoleGlobal.h"
#include "link/clsCmcEeprom.h"

#include <QListWidget>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// Records every event the console raises. Display events answer "<title>=<value>" so that a
// line drawn through the event can be told from the standard line.
class RecordingEvents : public ConsoleEvents {
  public:
    struct Call {
        std::int16_t index;
        std::int16_t evNo;
        std::int16_t val;
    };

    std::string ConsEv_Disp(clsConsole& objConsole, std::int16_t Index, std::int16_t evNo,
                            std::int16_t val) override {
        disp.push_back({Index, evNo, val});
        if (onDisp) {
            onDisp(objConsole, Index);
        }
        return objConsole.Title(Index) + "=" + std::to_string(val);
    }
    void ConsEv_SendE8(clsConsole& objConsole, std::int16_t Index, std::int16_t evNo,
                       std::int16_t val) override {
        sent.push_back({Index, evNo, val});
        if (onSend) {
            onSend(objConsole, Index);
        }
    }
    void ConsEv_Enter(clsConsole& objConsole, std::int16_t Index, std::int16_t evNo,
                      std::int16_t val) override {
        enter.push_back({Index, evNo, val});
        if (onEnter) {
            onEnter(objConsole, Index);
        }
    }
    void WaitE8Required(std::int32_t wt) override { waits.push_back(wt); }

    std::vector<Call> disp;
    std::vector<Call> sent;
    std::vector<Call> enter;
    std::vector<std::int32_t> waits;
    std::function<void(clsConsole&, std::int16_t)> onDisp;
    std::function<void(clsConsole&, std::int16_t)> onSend;
    std::function<void(clsConsole&, std::int16_t)> onEnter;
};

class ConsoleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        console.myListBox = &list;
        console.myEventClass = &events;
        console.myEeprom = &eep;
    }

    // A value item like the radio's: one byte of the image, a live command, a bar.
    std::int16_t addValueItem(const std::string& title, std::int32_t adr, std::int16_t cmd) {
        console.AddItem();
        const auto i = static_cast<std::int16_t>(console.ListCount() - 1);
        console.setTitle(i, title);
        console.setEeAdr(i, adr);
        console.setE8Command(i, cmd);
        console.setBarExist(i, true);
        return i;
    }

    // An item drawn through the display event, so every redraw is counted.
    std::int16_t addCountedItem(std::int16_t mn, std::int16_t mx) {
        console.AddItem();
        const auto i = static_cast<std::int16_t>(console.ListCount() - 1);
        console.setTitle(i, "N");
        console.setMin(i, mn);
        console.setMax(i, mx);
        console.setEvent_Disp(i, 9);
        events.disp.clear();
        return i;
    }

    std::string line(int i) const { return list.item(i)->text().toStdString(); }

    QListWidget list;
    RecordingEvents events;
    clsCmcEeprom eep;
    clsConsole console;
};

TEST_F(ConsoleTest, NewItemShowsAColonAndZero) {
    console.AddItem();
    ASSERT_EQ(console.ListCount(), 1);
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(line(0), ":   0");
    EXPECT_EQ(console.Min(0), 0);
    EXPECT_EQ(console.Max(0), 255);
    EXPECT_EQ(console.WaitAfterE8(0), 200);
    EXPECT_EQ(console.EeAdr(0), -1);
    EXPECT_EQ(console.E8Command(0), -1);
    EXPECT_EQ(console.Event_Disp(0), -1);
    EXPECT_EQ(console.Event_Changed(0), -1);
    EXPECT_EQ(console.Event_SendE8(0), -1);
    EXPECT_EQ(console.Event_Enter(0), -1);
    EXPECT_FALSE(console.BarExist(0));
    EXPECT_FALSE(console.LoopVal(0));
    EXPECT_FALSE(console.EeDataSigned(0));
    EXPECT_FALSE(console.flgChanged(0));
    EXPECT_FALSE(console.flgEnterOn(0));
    EXPECT_EQ(console.barWidth(), 20);
}

TEST_F(ConsoleTest, ClearAndRebuildKeepLineIEqualToItemI) {
    addValueItem("   Power(Hi)", 0x7A9, 0x0C);
    addValueItem("   Power(Lo)", 0x7A8, 0x0B);
    console.Clear();
    EXPECT_EQ(console.ListCount(), 0);
    EXPECT_EQ(list.count(), 0);
    addValueItem("A", 1, 1);
    EXPECT_EQ(console.ListCount(), 1);
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(line(0), "A:   0"); // storing BarExist does not redraw
    console.Disp(0);
    EXPECT_EQ(line(0), "A:   0 [--------------------]");
}

TEST_F(ConsoleTest, LinesAreRecreatedWhenTheListBoxWasEmptiedBehindTheConsole) {
    console.AddItem();
    console.AddItem();
    list.clear();
    console.setTitle(1, "B");
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(line(1), "B:   0");
}

TEST_F(ConsoleTest, ValueIsLimitedAndFlagged) {
    const auto i = addValueItem("X", -1, -1);
    console.setMin(i, 10);
    EXPECT_EQ(console.Value(i), 10); // raised with the new Min
    console.setValue(i, 300);
    EXPECT_EQ(console.Value(i), 255);
    EXPECT_TRUE(console.flgChanged(i));
    console.setValue(i, -7);
    EXPECT_EQ(console.Value(i), 10);
}

TEST_F(ConsoleTest, RedrawOnlyWhenTheValueChanges) {
    const auto i = addCountedItem(0, 10);
    console.setValue(i, 4);
    EXPECT_EQ(events.disp.size(), 1u);
    EXPECT_EQ(line(i), "N=4");

    events.disp.clear();
    console.setFlgChanged(i, false);
    console.setValue(i, 4); // same value: no redraw, but flagged for sending again
    EXPECT_TRUE(events.disp.empty());
    EXPECT_TRUE(console.flgChanged(i));

    console.setValue(i, 10);
    events.disp.clear();
    console.setFlgChanged(i, false);
    console.UpDown(i, 1); // at Max without wrap: unchanged, not redrawn, still flagged
    EXPECT_EQ(console.Value(i), 10);
    EXPECT_TRUE(events.disp.empty());
    EXPECT_TRUE(console.flgChanged(i));
}

TEST_F(ConsoleTest, FlagChangedTrueLimitsAndRedraws) {
    const auto i = addCountedItem(0, 10);
    console.setFlgChanged(i, false);
    EXPECT_TRUE(events.disp.empty());
    console.setFlgChanged(i, true);
    EXPECT_EQ(events.disp.size(), 1u);
    EXPECT_TRUE(console.flgChanged(i));
}

TEST_F(ConsoleTest, TitleAndDisplayEventRedraw) {
    console.AddItem();
    console.setTitle(0, "RX");
    EXPECT_EQ(line(0), "RX:   0");
    console.setEvent_Disp(0, 3);
    ASSERT_EQ(events.disp.size(), 1u);
    EXPECT_EQ(events.disp[0].evNo, 3);
    EXPECT_EQ(line(0), "RX=0");
    // Storing the other fields draws nothing.
    events.disp.clear();
    console.setLoopVal(0, true);
    console.setBarExist(0, true);
    console.setWaitAfterE8(0, 10);
    console.setEeAdr(0, 5);
    console.setEeDataSigned(0, true);
    console.setE8Command(0, 1);
    console.setEvent_Changed(0, 1);
    console.setEvent_SendE8(0, 1);
    console.setEvent_Enter(0, 1);
    EXPECT_TRUE(events.disp.empty());
}

TEST_F(ConsoleTest, MaxBelowMinLowersMinAndClampsTheValue) {
    const auto i = addValueItem("X", -1, -1);
    console.setMin(i, 50);
    console.setValue(i, 80);
    console.setMax(i, 20);
    EXPECT_EQ(console.Max(i), 20);
    EXPECT_EQ(console.Min(i), 20);
    EXPECT_EQ(console.Value(i), 20);
    // And the other way round: the later setter wins.
    console.setMin(i, 40);
    EXPECT_EQ(console.Min(i), 40);
    EXPECT_EQ(console.Max(i), 40);
    EXPECT_EQ(console.Value(i), 40);
}

struct StepCase {
    bool loop;
    std::int16_t from;
    std::int16_t step;
    std::int16_t to;
};

class UpDownTest : public ConsoleTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(UpDownTest, WrapsOnlyFromAnEnd) {
    const StepCase& c = GetParam();
    console.AddItem();
    console.setMax(0, 3);
    console.setLoopVal(0, c.loop);
    console.setValue(0, c.from);
    console.UpDown(0, c.step);
    EXPECT_EQ(console.Value(0), c.to) << "from " << c.from << " step " << c.step;
}

INSTANTIATE_TEST_SUITE_P(Steps, UpDownTest,
                         ::testing::Values(StepCase{true, 3, 1, 0},  // from Max up: wraps to Min
                                           StepCase{true, 0, -1, 3}, // from Min down: wraps to Max
                                           StepCase{true, 2, 5, 3},  // overshoot stops at the end
                                           StepCase{true, 3, 5,
                                                    0}, // the next step wraps, whatever its size
                                           StepCase{true, 1, -5, 0}, StepCase{true, 0, -5, 3},
                                           StepCase{true, 1, 1, 2}, StepCase{false, 3, 1, 3},
                                           StepCase{false, 0, -1, 0}, StepCase{false, 2, 5, 3}));

TEST_F(ConsoleTest, StepPastTheLargestNumberStopsThere) {
    console.AddItem();
    console.setMin(0, -32768);
    console.setMax(0, 32767);
    console.setValue(0, 32765);
    console.UpDown(0, 5);
    EXPECT_EQ(console.Value(0), 32767);
    console.setValue(0, -32767);
    console.UpDown(0, -5);
    EXPECT_EQ(console.Value(0), -32768);
}

struct LineCase {
    std::int16_t min;
    std::int16_t value;
    const char* text;
};

class DefaultStringTest : public ConsoleTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(DefaultStringTest, ValueRightAlignedInFour) {
    console.AddItem();
    console.setTitle(0, "RX");
    console.setMin(0, GetParam().min);
    console.setMax(0, 32767);
    console.setValue(0, GetParam().value);
    EXPECT_EQ(console.DefaultString(0), GetParam().text);
    EXPECT_EQ(line(0), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, DefaultStringTest,
                         ::testing::Values(LineCase{0, 7, "RX:   7"}, LineCase{0, 255, "RX: 255"},
                                           LineCase{-10, -5, "RX:  -5"},
                                           LineCase{-999, -999, "RX:-999"},
                                           LineCase{-1000, -1000, "RX:1000"}, // last four
                                           LineCase{0, 12345, "RX:2345"}));

struct BarCase {
    std::int16_t min;
    std::int16_t max;
    std::int16_t value;
    int cells;
};

class BarStringTest : public ConsoleTest, public ::testing::WithParamInterface<BarCase> {};

TEST_P(BarStringTest, CellsRoundHalfToEven) {
    const BarCase& c = GetParam();
    console.AddItem();
    console.setMin(0, c.min);
    console.setMax(0, c.max);
    console.setValue(0, c.value);
    const std::string expected =
        " [" + std::string(c.cells, '#') + std::string(20 - c.cells, '-') + "]";
    EXPECT_EQ(console.BarString(0), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Bars, BarStringTest,
    ::testing::Values(BarCase{0, 255, 128, 10}, // 10.04
                      BarCase{0, 8, 1, 2},      // 2.5 -> 2
                      BarCase{0, 8, 3, 8},      // 7.5 -> 8
                      BarCase{0, 255, 0, 0}, BarCase{0, 255, 255, 20},
                      BarCase{-128, 127, 0, 10},  // 10.04 with a negative Min
                      BarCase{5, 5, 5, 0},        // no span: empty bar, no division
                      BarCase{0, 1638, 1638, 20}, // widest span the 16-bit product allows
                      BarCase{0, 2000, 1000, 10}, // wider: same scale, no overflow
                      BarCase{-32768, 32767, 32767, 20}, BarCase{-32768, 32767, -32768, 0}));

TEST_F(ConsoleTest, LineWithBar) {
    const auto i = addValueItem("   Power(Hi)", 0x7A9, 0x0C);
    console.setValue(i, 128);
    EXPECT_EQ(line(i), "   Power(Hi): 128 [##########----------]");
}

TEST_F(ConsoleTest, ReadFromEeSignedAndUnsigned) {
    eep.WriteByte(100, 0xFF);
    eep.WriteByte(101, 0x80);
    const auto u = addValueItem("U", 100, -1);
    const auto s = addValueItem("S", 100, -1);
    const auto m = addValueItem("M", 101, -1);
    const auto clamped = addValueItem("C", 100, -1);
    const auto none = addValueItem("N", -1, -1);
    for (auto i : {s, m}) {
        console.setEeDataSigned(i, true);
        console.setMin(i, -128);
    }
    console.setEeDataSigned(clamped, true); // Min stays 0
    console.setValue(none, 9);
    console.setFlgChanged(none, false);

    for (std::int16_t i = 0; i < console.ListCount(); ++i) {
        console.ReadFromEe(i);
    }
    EXPECT_EQ(console.Value(u), 255);
    EXPECT_EQ(console.Value(s), -1);
    EXPECT_EQ(console.Value(m), -128);
    EXPECT_EQ(console.Value(clamped), 0);
    EXPECT_TRUE(console.flgChanged(s));
    EXPECT_EQ(console.Value(none), 9); // no address: untouched
    EXPECT_FALSE(console.flgChanged(none));
}

TEST_F(ConsoleTest, WriteToEeStoresTwosComplementByte) {
    const auto s = addValueItem("S", 200, -1);
    console.setEeDataSigned(s, true);
    console.setMin(s, -128);
    for (std::int16_t v : {-1, -128, 127, 0}) {
        console.setValue(s, v);
        console.WriteToEe(s);
        console.ReadFromEe(s);
        EXPECT_EQ(console.Value(s), v);
    }
    console.setValue(s, -1);
    console.WriteToEe(s);
    EXPECT_EQ(eep.ReadByte(200), 0xFF);
    console.setValue(s, -128);
    console.WriteToEe(s);
    EXPECT_EQ(eep.ReadByte(200), 0x80);

    // No address: the image stays as it was.
    const auto none = addValueItem("N", -1, -1);
    console.setValue(none, 77);
    const Bytes before = eep.ReadBlock(0, eep.eeSize());
    console.WriteToEe(none);
    EXPECT_EQ(eep.ReadBlock(0, eep.eeSize()), before);
}

TEST_F(ConsoleTest, SendE8WithoutCommandOrEventStillWritesTheImage) {
    const auto i = addValueItem("X", 300, -1);
    console.setValue(i, 42);
    console.SendE8(i);
    EXPECT_EQ(eep.ReadByte(300), 42);
    EXPECT_TRUE(events.waits.empty()); // nothing sent, so no wait asked for
    EXPECT_TRUE(events.sent.empty());
}

TEST_F(ConsoleTest, SendE8WithItsOwnCommandAsksForTheWaitAndWritesTheImage) {
    const auto i = addValueItem("   Power(Hi)", 0x7A9, 0x0C);
    console.setWaitAfterE8(i, 120);
    console.setValue(i, 128);
    console.SendE8(i);
    ASSERT_EQ(events.waits.size(), 1u);
    EXPECT_EQ(events.waits[0], 120);
    EXPECT_EQ(eep.ReadByte(0x7A9), 128);
    EXPECT_TRUE(events.sent.empty());
}

TEST_F(ConsoleTest, SendE8ThroughTheSendEvent) {
    const auto i = addValueItem("CH", 0x10, 1);
    console.setEvent_SendE8(i, 0);
    console.setValue(i, 7);
    console.SendE8(i);
    ASSERT_EQ(events.sent.size(), 1u);
    EXPECT_EQ(events.sent[0].index, i);
    EXPECT_EQ(events.sent[0].evNo, 0);
    EXPECT_EQ(events.sent[0].val, 7);
    EXPECT_TRUE(events.waits.empty()); // the event sends in its own way, without the wait
    EXPECT_EQ(eep.ReadByte(0x10), 7);
}

TEST_F(ConsoleTest, EnterMarksOnlyOneItem) {
    for (int k = 0; k < 3; ++k) {
        console.AddItem();
    }
    console.EnterPushed(0);
    console.EnterPushed(2);
    EXPECT_FALSE(console.flgEnterOn(0));
    EXPECT_FALSE(console.flgEnterOn(1));
    EXPECT_TRUE(console.flgEnterOn(2));
    console.setFlgEnterOn(1, false); // clearing one leaves the others alone
    EXPECT_TRUE(console.flgEnterOn(2));
}

TEST_F(ConsoleTest, EnterExecRaisesTheEventThenRedraws) {
    console.AddItem();
    console.AddItem();
    console.setEvent_Enter(1, 4);
    console.setEvent_Disp(1, 2);
    console.setValue(1, 9);
    events.disp.clear();
    events.onEnter = [](clsConsole& c, std::int16_t idx) { c.setTitle(idx, "Running"); };

    console.EnterExec(0); // no Enter event: nothing
    EXPECT_TRUE(events.enter.empty());

    console.EnterExec(1);
    ASSERT_EQ(events.enter.size(), 1u);
    EXPECT_EQ(events.enter[0].evNo, 4);
    EXPECT_EQ(events.enter[0].val, 9);
    EXPECT_EQ(line(1), "Running=9");
    EXPECT_FALSE(events.disp.empty());
}

TEST_F(ConsoleTest, HandlersMayRebuildTheListWhileTheyRun) {
    console.AddItem();
    console.AddItem();
    console.setEvent_Enter(1, 0);
    console.setEvent_SendE8(1, 0);
    console.setEeAdr(1, 5);
    console.setEvent_Disp(1, 0);
    events.onEnter = [](clsConsole& c, std::int16_t) { c.Clear(); };
    events.onSend = [](clsConsole& c, std::int16_t) { c.Clear(); };
    console.EnterExec(1);
    EXPECT_EQ(console.ListCount(), 0);
    EXPECT_EQ(list.count(), 0);

    console.AddItem();
    console.AddItem();
    console.setEvent_SendE8(1, 0);
    console.setEeAdr(1, 5);
    console.setValue(1, 3);
    console.SendE8(1);
    EXPECT_EQ(console.ListCount(), 0);
    EXPECT_EQ(eep.ReadByte(5), 0); // the item was gone before its byte could be written
}

TEST_F(ConsoleTest, IndexOutsideTheListIsIgnored) {
    console.AddItem();
    for (std::int16_t bad : {std::int16_t{-1}, std::int16_t{1}, std::int16_t{500}}) {
        console.setValue(bad, 5);
        console.setTitle(bad, "X");
        console.setMin(bad, 3);
        console.setMax(bad, 2);
        console.setFlgChanged(bad, true);
        console.EnterPushed(bad);
        console.UpDown(bad, 1);
        console.Disp(bad);
        console.ReadFromEe(bad);
        console.WriteToEe(bad);
        console.SendE8(bad);
        console.EnterExec(bad);
        EXPECT_EQ(console.Value(bad), 0);
        EXPECT_EQ(console.Max(bad), 255);
        EXPECT_EQ(console.EeAdr(bad), -1);
        EXPECT_EQ(console.Title(bad), "");
        EXPECT_FALSE(console.flgEnterOn(bad));
    }
    EXPECT_EQ(console.ListCount(), 1);
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(line(0), ":   0");
    EXPECT_TRUE(events.disp.empty());
}

TEST(ConsoleWithoutWidgetsTest, WorksWithoutListBoxOrEventObject) {
    clsConsole console;
    console.AddItem();
    console.setEvent_Disp(0, 1); // no event object: the standard line stands in
    console.setValue(0, 12);
    EXPECT_EQ(console.DefaultString(0), ":  12");
    console.setE8Command(0, 5);
    console.SendE8(0); // no sequencer, no image, no event object: nothing to do, no crash
    console.setEvent_Enter(0, 1);
    console.EnterExec(0);
    EXPECT_EQ(console.Value(0), 12);
}

TEST(ConsoleGlobalTest, OneConsoleUntilReset) {
    resetConsoleGlobal();
    clsConsole& first = gObjConsole();
    first.AddItem();
    EXPECT_EQ(&gObjConsole(), &first);
    EXPECT_EQ(gObjConsole().ListCount(), 1);
    resetConsoleGlobal();
    EXPECT_EQ(gObjConsole().ListCount(), 0);
    resetConsoleGlobal();
}

} // namespace
