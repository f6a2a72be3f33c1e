// SPDX-License-Identifier: GPL-3.0-or-later
// The model's bench tests' common ground: a bench connected to the simulated radio with test
// channels 1 to 3 set up in the low, middle and high band, and short ways to press Enter, run
// a procedure to its end and read what went out.
#pragma once

#include "common/CommonRoutines.h"
#include "tests/support/Bench.h"

#include <gtest/gtest.h>

#include <QListWidget>

#include <string>
#include <vector>

namespace proceduretest {

using testsupport::Bench;

inline constexpr std::int16_t ItemChannel = 0, ItemDtcsStart = 3, ItemDtcsStop = 4,
                              ItemModLevel = 6, ItemBpfLowAll = 8, ItemBpfMidAll = 12,
                              ItemBpfHighAll = 16, ItemTxf = 20, ItemSMeter = 21;

inline std::string e8(int command, int value) {
    return IntToHex2(command) + IntToAsciiHex2(value);
}

inline const std::string SweepChannels = "[OPTION]\n"
                                         "MR-1(Appear)=1\nMR-1(Frequency)=14600000\n"
                                         "MR-2(Appear)=1\nMR-2(Frequency)=15500000\n"
                                         "MR-3(Appear)=1\nMR-3(Frequency)=16600000\n";

// A bench with test channels 1 to 3 in the low, middle and high band, connected.
struct Connected {
    explicit Connected(const vxk5sim::SimConfig& config = {}) : bench(config, SweepChannels) {
        EXPECT_TRUE(bench.connect());
        bench.clearWire();
    }

    clsConsole& items() { return bench.console(); }
    std::int16_t step() { return bench.model().adjStepNow(); }
    int imageByte(std::int32_t address) { return bench.image().ReadByte(address); }

    // Enter on an item, then ticks until its procedure has started.
    bool enter(std::int16_t item) {
        items().EnterPushed(item);
        return bench.runUntil([this] { return step() != 0; }, 200);
    }
    bool runToEnd(int maxTicks = 4000) {
        return bench.runUntil([this] { return step() == 0; }, maxTicks);
    }
    bool atStep(std::int16_t wanted, int maxTicks = 2000) {
        return bench.runUntil([this, wanted] { return step() == wanted; }, maxTicks);
    }
    // The E8 payloads of one command, consecutive repeats (the task resending a changed item
    // with the same value) folded into one.
    std::vector<int> valuesOf(int command) const {
        std::vector<int> values;
        const std::string prefix = IntToHex2(command);
        for (const std::string& p : bench.e8Payloads()) {
            if (p.size() == 6 && p.compare(0, 2, prefix) == 0) {
                const int value = HexAsciiToInt(HexToByteStr(p.substr(2))) & 0xFF;
                if (values.empty() || values.back() != value) {
                    values.push_back(value);
                }
            }
        }
        return values;
    }
    std::string line(std::int16_t item) {
        return bench.window().lboConsole().item(item)->text().toStdString();
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
            items().UpDown(ItemTxf, static_cast<std::int16_t>(change));
            bench.tick(20);
            items().EnterPushed(ItemTxf);
            if (change == 4 && !atStep(54, 200)) {
                return false;
            }
        }
        return true;
    }
    std::string message() {
        const auto& shown = bench.messages().messages();
        return shown.size() == 1 ? shown[0].text
                                 : "(" + std::to_string(shown.size()) + " messages)";
    }

    Bench bench;
};

} // namespace proceduretest
