// SPDX-License-Identifier: GPL-3.0-or-later
// A long session at the bench, on the test clock: thousands of steps, the readouts again and
// again, and band-pass sweeps in every band. At every checkpoint the radio's memory, the
// program's image of it and the dump shown agree byte for byte, and the memory the
// process holds stays flat (outside the sanitizer build, whose allocator keeps freed blocks
// aside on purpose).
#include "tests/support/ConnectedBench.h"

#include "model/clsIndEep_RigK5.h"

#include <fstream>
#include <random>
#include <unistd.h>

using namespace proceduretest;

namespace {

constexpr std::int16_t SessionProcedures[] = {ItemBpfLowAll, ItemSMeter,     ItemBpfMidAll,
                                              ItemDtcsStart, ItemBpfHighAll, ItemDtcsStop};
constexpr int Rounds = 200, StepsPerRound = 20, ReadoutsPerReload = 16;
constexpr long FlatKiB = 2048; // what a session may grow by after its first checkpoint

long residentKiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool Sanitized = true;
#else
constexpr bool Sanitized = false;
#endif

std::string withoutCr(std::string text) {
    std::erase(text, '\r');
    return text;
}

struct Session {
    Connected c;
    std::mt19937 random{11};
    int steps = 0, readouts = 0, procedures = 0;

    void step() {
        const std::int16_t item = ValueItems[random() % std::size(ValueItems)];
        const auto size = static_cast<std::int16_t>(random() % 4 == 0 ? 5 : 1);
        c.items().UpDown(item, random() % 2 == 0 ? size : static_cast<std::int16_t>(-size));
        ++steps;
    }
    bool reload() {
        const auto asked = [this] {
            const auto& log = c.bench.radio().e8Log();
            return std::count_if(log.begin(), log.end(),
                                 [](const auto& e) { return e.command == 3; });
        };
        const auto before = asked();
        c.bench.door().click(RigDoor::Reload);
        readouts += ReadoutsPerReload;
        return c.bench.runUntil([&] { return asked() == before + ReadoutsPerReload; });
    }
    // A procedure from Enter to its end, Enter pressed again wherever it waits for the
    // technician (the sweeps run through alone).
    bool procedure(std::int16_t item) {
        ++procedures;
        if (!c.enter(item)) {
            return false;
        }
        for (int presses = 0; presses < 200 && c.step() != 0; ++presses) {
            const std::int16_t at = c.step();
            if (!c.bench.runUntil([&] { return c.step() != at; }, 400)) {
                c.items().EnterPushed(item);
            }
        }
        return c.step() == 0;
    }
    // The dump as the view is given it, "Disp para" clicked on and off again.
    std::string dump() {
        c.bench.door().click(RigDoor::DispPara);
        EXPECT_TRUE(c.bench.runUntil([this] { return c.bench.door().dumpShown(); }));
        const std::string shown = c.bench.view().dump;
        c.bench.door().click(RigDoor::DispPara);
        EXPECT_TRUE(c.bench.runUntil([this] { return c.bench.door().editEnabled(); }));
        return shown;
    }
    void checkpoint() {
        const auto& memory = c.bench.radio().memory();
        clsCmcEeprom radio;
        for (std::int32_t adr = 0; adr < radio.eeSize(); ++adr) {
            std::ignore = radio.WriteByte(adr, memory[static_cast<std::size_t>(adr)]);
        }
        EXPECT_EQ(c.bench.image().ReadBlock(0, 2048), radio.ReadBlock(0, 2048));
        EXPECT_EQ(withoutCr(dump()),
                  withoutCr(clsIndEep_RigK5::RigEep_Text(radio, c.bench.model().txfTable())));
        c.bench.clearWire(); // the bench's own records of the session, not the program's
        c.bench.radio().clearE8Log();
    }
};

} // namespace

TEST(LongSessionTest, RadioImageAndDumpAgreeAndMemoryStaysFlat) {
    Session s;
    std::vector<long> resident;
    for (int round = 1; round <= Rounds; ++round) {
        for (int i = 0; i < StepsPerRound; ++i) {
            s.step();
            ASSERT_TRUE(s.c.bench.allSent());
        }
        ASSERT_TRUE(s.reload());
        if (round % 2 == 0) {
            const std::int16_t item = SessionProcedures[(round / 2) % std::size(SessionProcedures)];
            ASSERT_TRUE(s.procedure(item)) << item;
        }
        if (round % 20 == 0) {
            s.checkpoint();
            resident.push_back(residentKiB());
        }
    }
    EXPECT_GE(s.steps, 2000);
    EXPECT_GE(s.readouts, 900);
    EXPECT_GE(s.procedures, 100);
    // Every step and readout reached the radio as a frame of its own.
    EXPECT_GE(s.c.bench.radio().framesSeen(0xE8), s.steps + s.readouts);
    EXPECT_TRUE(s.c.bench.view().messages.empty());
    if (!Sanitized) {
        EXPECT_LE(*std::max_element(resident.begin(), resident.end()) - resident.front(), FlatKiB)
            << "resident KiB at the checkpoints: " << testing::PrintToString(resident);
    }
    RecordProperty("steps", s.steps);
    RecordProperty("readouts", s.readouts);
    RecordProperty("procedures", s.procedures);
    RecordProperty("frames", s.c.bench.radio().framesSeen(0xE8));
    RecordProperty("residentKiB", testing::PrintToString(resident));
}
