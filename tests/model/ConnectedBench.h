// The procedures' tests' common ground: a bench connected to the simulated radio with test
// channels 1 to 3 set up in the low, middle and high band, and short ways to press Enter, run
// a procedure to its end and read what went out.
#pragma once

#include "app/common/CommonRoutines.h"
#include "app/frmMain.h"
#include "console/ConsoleGlobal.h"
#include "console/clsConsole.h"
#include "link/LinkGlobals.h"
#include "link/clsCmcRadio.h"
#include "model/clsIndOp_RigK5.h"
#include "model/clsRig_Ch.h"
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
inline clsConsole& items() {
    return gObjConsole();
}
inline std::int16_t step() {
    return gObjRigOp().adjStepNow();
}
inline int imageByte(std::int32_t address) {
    return gObjRadio().objEep().ReadByte(address);
}

// A bench with test channels 1 to 3 in the low, middle and high band, connected.
struct Connected {
    explicit Connected(const vxk5sim::SimConfig& config = {}) : bench(config) {
        const std::int32_t frequencies[] = {14600000, 15500000, 16600000};
        for (int c = 1; c <= 3; ++c) {
            clsRig_Ch& ch = bench.window().ChUnit(static_cast<std::int16_t>(c));
            ch.setAppearCh(true);
            ch.setFreqOp_Pure(frequencies[c - 1]);
        }
        EXPECT_TRUE(bench.connect());
        bench.clearWire();
    }

    // Enter on an item, then ticks until its procedure has started (and, when asked, ended).
    bool enter(std::int16_t item) {
        items().EnterPushed(item);
        return bench.runUntil([] { return step() != 0; }, 200);
    }
    bool runToEnd(int maxTicks = 4000) {
        return bench.runUntil([] { return step() == 0; }, maxTicks);
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

    Bench bench;
};

} // namespace proceduretest
