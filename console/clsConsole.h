// SPDX-License-Identifier: GPL-3.0-or-later
// The adjustment console: the list of adjustment items the technician steps through in the
// main window's list box, one line per item (line i always belongs to item i). An item has a
// title, a value kept within its limits, an optional bar graph, the address of its byte in the
// memory image, an optional live command (E8) that carries a new value to the radio, and event
// numbers that hand its drawing, sending and Enter key to the model object.
//
// The console has no timing of its own: a new value or an Enter only raises the item's
// flgChanged or flgEnterOn, and the model's task polls them and calls SendE8 or EnterExec.
//
//   item "   Power(Hi)", E8Command 0x0C, EeAdr 0x7A9, value 128:
//   SendE8 -> myCln3Seq->easySendE8NoAnswer("0C3830")   (0C, then the characters '8' '0')
//          -> myEventClass->WaitE8Required(200)
//          -> byte 0x80 written at 0x7A9 of myEeprom
//
// An index outside the list is ignored: getters answer the defaults of a new item, setters
// and operations do nothing. Event handlers may call back into the console (set values, redraw
// lines, even rebuild the list) while they run; the console re-checks the index afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ConsoleEvents;
class ConsoleLines;
class clsCmcCln3Sequence;
class clsCmcEeprom;

struct ConsoleItem {
    std::string Title;
    std::int16_t Value = 0;
    std::int16_t Min = 0;
    std::int16_t Max = 255;
    bool BarExist = false;
    bool LoopVal = false;            // stepping past one end continues at the other
    std::int32_t WaitAfterE8 = 200;  // milliseconds the model pauses after the live command
    std::int32_t EeAdr = -1;         // negative: no byte in the memory image
    bool EeDataSigned = false;       // the byte is read as two's complement
    std::int16_t E8Command = -1;     // 0 to 255; negative: no live command
    std::int16_t Event_Disp = -1;    // negative: the standard line
    std::int16_t Event_Changed = -1; // kept with the item; the console raises nothing with it
    std::int16_t Event_SendE8 = -1;  // negative: the standard live command
    std::int16_t Event_Enter = -1;   // negative: Enter has no effect
    bool flgChanged = false;         // set and not yet sent
    bool flgEnterOn = false;         // Enter pressed and not yet executed
};

class clsConsole {
  public:
    explicit clsConsole(ConsoleLines* lines = nullptr) : myListBox(lines) {}

    static constexpr std::int16_t BarWidth = 20; // cells of a bar graph

    // Set by the owner before the first item is added; none is owned by the console. Without
    // a list box nothing is drawn (display events still run); without an event object the
    // standard line stands for a display event and events are not raised; without a
    // sequencer or an image the live command or the memory access is left out.
    ConsoleLines* myListBox = nullptr;
    ConsoleEvents* myEventClass = nullptr;
    clsCmcCln3Sequence* myCln3Seq = nullptr;
    clsCmcEeprom* myEeprom = nullptr;

    // No items, and an empty list box.
    void Clear();
    // Appends an item with the defaults and draws its line.
    void AddItem();
    std::int16_t ListCount() const { return itemCount; }

    const std::string& Title(std::int16_t Index) const { return item(Index).Title; }
    void setTitle(std::int16_t Index, const std::string& t);
    std::int16_t Value(std::int16_t Index) const { return item(Index).Value; }
    // Kept within the limits; redrawn when it changed; flgChanged is set in every case.
    void setValue(std::int16_t Index, std::int16_t v);
    std::int16_t Min(std::int16_t Index) const { return item(Index).Min; }
    // A Min above Max raises Max to it (the later of the two setters wins).
    void setMin(std::int16_t Index, std::int16_t v);
    std::int16_t Max(std::int16_t Index) const { return item(Index).Max; }
    // A Max below Min lowers Min to it.
    void setMax(std::int16_t Index, std::int16_t v);
    bool BarExist(std::int16_t Index) const { return item(Index).BarExist; }
    void setBarExist(std::int16_t Index, bool v);
    bool LoopVal(std::int16_t Index) const { return item(Index).LoopVal; }
    void setLoopVal(std::int16_t Index, bool v);
    std::int32_t WaitAfterE8(std::int16_t Index) const { return item(Index).WaitAfterE8; }
    void setWaitAfterE8(std::int16_t Index, std::int32_t v);
    std::int32_t EeAdr(std::int16_t Index) const { return item(Index).EeAdr; }
    void setEeAdr(std::int16_t Index, std::int32_t v);
    bool EeDataSigned(std::int16_t Index) const { return item(Index).EeDataSigned; }
    void setEeDataSigned(std::int16_t Index, bool v);
    std::int16_t E8Command(std::int16_t Index) const { return item(Index).E8Command; }
    void setE8Command(std::int16_t Index, std::int16_t v);
    std::int16_t Event_Disp(std::int16_t Index) const { return item(Index).Event_Disp; }
    void setEvent_Disp(std::int16_t Index, std::int16_t v); // redraws
    std::int16_t Event_Changed(std::int16_t Index) const { return item(Index).Event_Changed; }
    void setEvent_Changed(std::int16_t Index, std::int16_t v);
    std::int16_t Event_SendE8(std::int16_t Index) const { return item(Index).Event_SendE8; }
    void setEvent_SendE8(std::int16_t Index, std::int16_t v);
    std::int16_t Event_Enter(std::int16_t Index) const { return item(Index).Event_Enter; }
    void setEvent_Enter(std::int16_t Index, std::int16_t v);
    bool flgChanged(std::int16_t Index) const { return item(Index).flgChanged; }
    // Setting it true also re-applies the limits and redraws.
    void setFlgChanged(std::int16_t Index, bool v);
    bool flgEnterOn(std::int16_t Index) const { return item(Index).flgEnterOn; }
    // At most one item is marked: marking one clears the mark on every other.
    void setFlgEnterOn(std::int16_t Index, bool v);

    // Title, ":", the value right-aligned in 4 characters (its last 4 when longer), and the
    // bar when the item has one.
    std::string DefaultString(std::int16_t Index) const;
    // " [" + n x "#" + (20 - n) x "-" + "]", n = (Value - Min) x 20 / (Max - Min) rounded
    // half to even. An item whose Max equals Min shows an empty bar; a span too wide for the
    // 16-bit product (more than 1638) is drawn to the same scale, never overflowing.
    std::string BarString(std::int16_t Index) const;
    // Steps the value by stp; with LoopVal, a step beyond an end taken from that end wraps to
    // the other end, otherwise the value stops at the end.
    void UpDown(std::int16_t Index, std::int16_t stp);
    // Redraws the item's line.
    void Disp(std::int16_t Index);
    // Value := the item's byte in the image (signed items read 0x80..0xFF as -128..-1).
    void ReadFromEe(std::int16_t Index);
    // The item's byte := the low byte of the value (a negative value as its two's complement).
    void WriteToEe(std::int16_t Index);
    // Sends the value to the radio (the item's send event, or its own live command followed by
    // the wait request) and writes it into the image, unless its live command could not be
    // sent: the image holds what the radio was sent.
    void SendE8(std::int16_t Index);
    void EnterPushed(std::int16_t Index);
    // Raises the item's Enter event and redraws its line; nothing without an Enter event.
    void EnterExec(std::int16_t Index);

  private:
    bool validIndex(std::int16_t Index) const {
        return Index >= 0 && Index < itemCount && static_cast<std::size_t>(Index) < items.size();
    }
    const ConsoleItem& item(std::int16_t Index) const;
    void LimitValue(std::int16_t Index);
    void setLine(std::int16_t Index, const std::string& text);

    std::int16_t itemCount = 0;
    std::vector<ConsoleItem> items;
};
