// SPDX-License-Identifier: GPL-3.0-or-later
// The VX-K5's 23 adjustment items as the console lists them: titles (exact, blanks included),
// the memory byte and live command of each value item, and the procedure behind each
// procedure item.
//
//   index 1  "   Power(Hi)"   byte 0x7A9, command 0x0C, a bar       (a value item)
//   index 8  "BPF Low ALL "   BPF Low ALL: Enter 4, drawn by event 5 (a procedure item)
#pragma once

#include "model/Progress.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class clsConsole;

// Console indexes of the items the procedures and the events address. The three items after
// each band's ALL item are its T1, T2 and T3.
struct ItemIndexes {
    std::int16_t idxChNo = -1;
    std::int16_t idxDtcsStart = -1;
    std::int16_t idxDtcsStop = -1;
    std::int16_t idxModLevel = -1;
    std::int16_t idxBpfLowAll = -1;
    std::int16_t idxBpfMidAll = -1;
    std::int16_t idxBpfHighAll = -1;
    std::int16_t idxTxf = -1;
    std::int16_t idxSMeter = -1;

    // The ALL item of band 0 (low), 1 (middle) or 2 (high).
    std::int16_t bpfAll(int band) const {
        return band == 0 ? idxBpfLowAll : band == 1 ? idxBpfMidAll : idxBpfHighAll;
    }
};

inline constexpr int ItemCount = 23;

// Empties the console and adds the 23 items, each with its fields set in the order the console
// expects them; returns where the addressed items stand.
ItemIndexes buildItemTable(clsConsole& console);

// The title of the value item that holds the byte at address, without its leading blanks.
std::optional<std::string> itemTitleAt(std::int32_t address);

// The items whose byte `affected` picks take it from the memory image again; resend marks them
// to go to the radio once more, otherwise nothing is left for the task to send.
void reloadItems(clsConsole& console, const std::function<bool(std::int32_t address)>& affected,
                 bool resend);

// The values still marked to go to the radio: the items with a live command the task has not
// sent yet. The status bar counts a resend of every value by it.
int valuesToSend(const clsConsole& console);
// "Sending values", n of total: how many of the total values marked to go out have gone.
Progress sendingValues(const clsConsole& console, int total);
