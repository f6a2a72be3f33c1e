// SPDX-License-Identifier: GPL-3.0-or-later
// The adjustment console.
#include "console/clsConsole.h"

#include "common/CommonRoutines.h"
#include "console/ConsoleEvents.h"
#include "console/ConsoleLines.h"
#include "link/clsCmcCln3Sequence.h"
#include "link/clsCmcEeprom.h"

#include <algorithm>
#include <limits>

namespace {

const ConsoleItem DefaultItem{};

} // namespace

const ConsoleItem& clsConsole::item(std::int16_t Index) const {
    return validIndex(Index) ? items[static_cast<std::size_t>(Index)] : DefaultItem;
}

void clsConsole::Clear() {
    itemCount = 0;
    items.clear();
    if (myListBox != nullptr) {
        myListBox->clearLines();
    }
}

void clsConsole::AddItem() {
    if (itemCount == std::numeric_limits<std::int16_t>::max()) {
        return; // no index left to address another item
    }
    items.emplace_back();
    ++itemCount;
    Disp(static_cast<std::int16_t>(itemCount - 1));
}

void clsConsole::setTitle(std::int16_t Index, const std::string& t) {
    if (!validIndex(Index)) {
        return;
    }
    items[static_cast<std::size_t>(Index)].Title = t;
    Disp(Index);
}

void clsConsole::setValue(std::int16_t Index, std::int16_t v) {
    if (!validIndex(Index)) {
        return;
    }
    const std::int16_t old = items[static_cast<std::size_t>(Index)].Value;
    items[static_cast<std::size_t>(Index)].Value = v;
    LimitValue(Index);
    if (items[static_cast<std::size_t>(Index)].Value != old) {
        Disp(Index);
    }
    // Set even when the value stayed: a step against an end sends the value once more. (A
    // display handler may have rebuilt the list meanwhile.)
    if (validIndex(Index)) {
        items[static_cast<std::size_t>(Index)].flgChanged = true;
    }
}

void clsConsole::setMin(std::int16_t Index, std::int16_t v) {
    if (!validIndex(Index)) {
        return;
    }
    ConsoleItem& it = items[static_cast<std::size_t>(Index)];
    it.Min = v;
    if (it.Max < it.Min) {
        it.Max = it.Min;
    }
    LimitValue(Index);
    Disp(Index);
}

void clsConsole::setMax(std::int16_t Index, std::int16_t v) {
    if (!validIndex(Index)) {
        return;
    }
    ConsoleItem& it = items[static_cast<std::size_t>(Index)];
    it.Max = v;
    if (it.Max < it.Min) {
        it.Min = it.Max;
    }
    LimitValue(Index);
    Disp(Index);
}

void clsConsole::setBarExist(std::int16_t Index, bool v) {
    if (validIndex(Index)) {
        items[static_cast<std::size_t>(Index)].BarExist = v;
    }
}

void clsConsole::setLoopVal(std::int16_t Index, bool v) {
    if (validIndex(Index)) {
        items[static_cast<std::size_t>(Index)].LoopVal = v;
    }
}

void clsConsole::setWaitAfterE8(std::int16_t Index, std::int32_t v) {
    if (validIndex(Index)) {
        items[static_cast<std::size_t>(Index)].WaitAfterE8 = v;
    }
}

void clsConsole::setEeAdr(std::int16_t Index, std::int32_t v) {
    if (validIndex(Index)) {
        items[static_cast<std::size_t>(Index)].EeAdr = v;
    }
}

void clsConsole::setEeDataSigned(std::int16_t Index, bool v) {
    if (validIndex(Index)) {
        items[static_cast<std::size_t>(Index)].EeDataSigned = v;
    }
}

void clsConsole::setE8Command(std::int16_t Index, std::int16_t v) {
    if (validIndex(Index)) {
        items[static_cast<std::size_t>(Index)].E8Command = v;
    }
}

void clsConsole::setEvent_Disp(std::int16_t Index, std::int16_t v) {
    if (!validIndex(Index)) {
        return;
    }
    items[static_cast<std::size_t>(Index)].Event_Disp = v;
    Disp(Index);
}

void clsConsole::setEvent_Changed(std::int16_t Index, std::int16_t v) {
    if (validIndex(Index)) {
        items[static_cast<std::size_t>(Index)].Event_Changed = v;
    }
}

void clsConsole::setEvent_SendE8(std::int16_t Index, std::int16_t v) {
    if (validIndex(Index)) {
        items[static_cast<std::size_t>(Index)].Event_SendE8 = v;
    }
}

void clsConsole::setEvent_Enter(std::int16_t Index, std::int16_t v) {
    if (validIndex(Index)) {
        items[static_cast<std::size_t>(Index)].Event_Enter = v;
    }
}

void clsConsole::setFlgChanged(std::int16_t Index, bool v) {
    if (!validIndex(Index)) {
        return;
    }
    items[static_cast<std::size_t>(Index)].flgChanged = v;
    if (v) {
        LimitValue(Index);
        Disp(Index);
    }
}

void clsConsole::setFlgEnterOn(std::int16_t Index, bool v) {
    if (!validIndex(Index)) {
        return;
    }
    if (v) {
        for (ConsoleItem& it : items) {
            it.flgEnterOn = false;
        }
    }
    items[static_cast<std::size_t>(Index)].flgEnterOn = v;
}

// Keeps the value within Min..Max. It draws nothing itself: every caller redraws the line
// when it has to, so a step against an end (value unchanged) leaves the line alone.
void clsConsole::LimitValue(std::int16_t Index) {
    if (!validIndex(Index)) {
        return;
    }
    ConsoleItem& it = items[static_cast<std::size_t>(Index)];
    if (it.Value < it.Min) {
        it.Value = it.Min;
    }
    if (it.Value > it.Max) {
        it.Value = it.Max;
    }
}

void clsConsole::UpDown(std::int16_t Index, std::int16_t stp) {
    if (!validIndex(Index)) {
        return;
    }
    const ConsoleItem& it = items[static_cast<std::size_t>(Index)];
    std::int32_t next = 0;
    if (it.LoopVal && it.Value >= it.Max && stp > 0) {
        next = it.Min;
    } else if (it.LoopVal && it.Value <= it.Min && stp < 0) {
        next = it.Max;
    } else {
        // Summed wide and held to the 16-bit range, so a step past the largest number stops
        // at the end instead of wrapping round to the far end.
        next = std::clamp<std::int32_t>(std::int32_t{it.Value} + stp,
                                        std::numeric_limits<std::int16_t>::min(),
                                        std::numeric_limits<std::int16_t>::max());
    }
    setValue(Index, static_cast<std::int16_t>(next));
}

std::string clsConsole::DefaultString(std::int16_t Index) const {
    const ConsoleItem& it = item(Index);
    std::string line = it.Title + ":" + rightField(std::to_string(it.Value), 4);
    if (it.BarExist) {
        line += BarString(Index);
    }
    return line;
}

std::string clsConsole::BarString(std::int16_t Index) const {
    const ConsoleItem& it = item(Index);
    const std::int32_t width = BarWidth;
    std::int32_t n = 0;
    if (it.Max > it.Min) {
        // Worked out in 32 bits: the same cells as the 16-bit product wherever that fits, and
        // a sound bar for a span too wide for it.
        const std::int32_t product = (std::int32_t{it.Value} - it.Min) * width;
        const std::int32_t span = std::int32_t{it.Max} - it.Min;
        n = static_cast<std::int32_t>(
            roundHalfEven(static_cast<double>(product) / static_cast<double>(span)));
        n = std::clamp<std::int32_t>(n, 0, width);
    }
    return " [" + std::string(static_cast<std::size_t>(n), '#') +
           std::string(static_cast<std::size_t>(width - n), '-') + "]";
}

void clsConsole::setLine(std::int16_t Index, const std::string& text) {
    if (myListBox != nullptr && Index >= 0) {
        myListBox->setLine(Index, text);
    }
}

void clsConsole::Disp(std::int16_t Index) {
    if (!validIndex(Index)) {
        return;
    }
    const ConsoleItem& it = items[static_cast<std::size_t>(Index)];
    if (it.Event_Disp < 0 || myEventClass == nullptr) {
        setLine(Index, DefaultString(Index));
        return;
    }
    std::string text = myEventClass->ConsEv_Disp(*this, Index, it.Event_Disp, it.Value);
    // The handler may have rebuilt the list; a line that no longer exists is not drawn.
    if (validIndex(Index)) {
        setLine(Index, text);
    }
}

void clsConsole::ReadFromEe(std::int16_t Index) {
    if (!validIndex(Index) || myEeprom == nullptr) {
        return;
    }
    const ConsoleItem& it = items[static_cast<std::size_t>(Index)];
    if (it.EeAdr < 0) {
        return;
    }
    std::int16_t b = myEeprom->ReadByte(it.EeAdr);
    if (it.EeDataSigned && b >= 128) {
        b = static_cast<std::int16_t>(b - 256);
    }
    setValue(Index, b);
}

void clsConsole::WriteToEe(std::int16_t Index) {
    if (!validIndex(Index) || myEeprom == nullptr) {
        return;
    }
    const ConsoleItem& it = items[static_cast<std::size_t>(Index)];
    if (it.EeAdr < 0) {
        return;
    }
    // The low byte, as the live command carries it: -1 becomes 0xFF and reads back as -1 on
    // a signed item, so the image always holds what the radio was sent.
    myEeprom->WriteByte(it.EeAdr, static_cast<std::uint8_t>(it.Value & 0xFF));
}

void clsConsole::SendE8(std::int16_t Index) {
    if (!validIndex(Index)) {
        return;
    }
    const ConsoleItem& it = items[static_cast<std::size_t>(Index)];
    if (it.Event_SendE8 >= 0) {
        if (myEventClass != nullptr) {
            myEventClass->ConsEv_SendE8(*this, Index, it.Event_SendE8, it.Value);
        }
    } else if (it.E8Command >= 0) {
        const std::string e8Text = liveCommandText(it.E8Command, it.Value);
        const std::int32_t wait = it.WaitAfterE8;
        // Why a command did not go out shows in the link's error state, which the task
        // reports; the image keeps what the radio has, so it is not written then.
        const bool sent = myCln3Seq == nullptr || myCln3Seq->easySendE8NoAnswer(e8Text);
        if (myEventClass != nullptr) {
            myEventClass->WaitE8Required(wait);
        }
        if (!sent) {
            return;
        }
    }
    WriteToEe(Index);
}

void clsConsole::EnterPushed(std::int16_t Index) {
    setFlgEnterOn(Index, true);
}

void clsConsole::EnterExec(std::int16_t Index) {
    if (!validIndex(Index)) {
        return;
    }
    const ConsoleItem& it = items[static_cast<std::size_t>(Index)];
    if (it.Event_Enter < 0 || myEventClass == nullptr) {
        return;
    }
    myEventClass->ConsEv_Enter(*this, Index, it.Event_Enter, it.Value);
    Disp(Index);
}
