// SPDX-License-Identifier: GPL-3.0-or-later
// The common ground of the tests of a connected session, on the model's bench (DoorBench) or
// the window's (Bench): test channels 1 to 3 set up in the low, middle and high band, and short
// ways to press Enter, run a procedure to its end and read what went out.
#pragma once

#include "common/CommonRoutines.h"
#include "tests/support/DoorBench.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace proceduretest {

inline constexpr std::int16_t ItemChannel = 0, ItemDtcsStart = 3, ItemDtcsStop = 4,
                              ItemModLevel = 6, ItemBpfLowAll = 8, ItemBpfMidAll = 12,
                              ItemBpfHighAll = 16, ItemTxf = 20, ItemSMeter = 21;
inline constexpr std::int16_t ValueItems[] = {1, 2, 5, 7, 9, 10, 11, 13, 14, 15, 17, 18, 19, 22};

inline std::string e8(int command, int value) {
    return IntToHex2(command) + IntToAsciiHex2(value);
}

inline const std::string SweepChannels = "[OPTION]\n"
                                         "MR-1(Appear)=1\nMR-1(Frequency)=14600000\n"
                                         "MR-2(Appear)=1\nMR-2(Frequency)=15500000\n"
                                         "MR-3(Appear)=1\nMR-3(Frequency)=16600000\n";

// A bench with test channels 1 to 3 in the low, middle and high band, connected.
template <class BenchType> struct ConnectedOn {
    explicit ConnectedOn(const vxk5sim::SimConfig& config = {}) : bench(config, SweepChannels) {
        EXPECT_TRUE(bench.connect());
        bench.clearWire();
    }

    clsConsole& items() { return bench.console(); }
    std::int16_t step() { return bench.door().procedureStep(); }
    int imageByte(std::int32_t address) { return bench.image().ReadByte(address); }

    // Enter on an item, then ticks until its procedure has started.
    bool enter(std::int16_t item) {
        bench.door().pressEnter(item);
        return bench.runUntil([this] { return step() != 0; }, 200);
    }
    bool runToEnd(int maxTicks = 4000) {
        return bench.runUntil([this] { return step() == 0; }, maxTicks);
    }
    bool atStep(std::int16_t wanted, int maxTicks = 2000) {
        return bench.runUntil([this, wanted] { return step() == wanted; }, maxTicks);
    }
    // TXF through both of its Enters (the item stepped before each): the full write of its 40
    // values has begun.
    bool txfThroughBothEnters() {
        const auto following = [&] {
            return bench.runUntil(
                [&] { return !bench.seq().OpRunning() && (step() == 56 || step() == 58); }, 400);
        };
        for (const int change : {4, 5}) {
            if (!following()) {
                return false;
            }
            bench.door().stepItem(ItemTxf, change);
            bench.tick(20);
            bench.door().pressEnter(ItemTxf);
            if (change == 4 && !atStep(54, 200)) {
                return false;
            }
        }
        return true;
    }
    std::string message() { return bench.messages().message(); }

    BenchType bench;
};

using testsupport::DoorBench;
using Connected = ConnectedOn<DoorBench>;

} // namespace proceduretest
