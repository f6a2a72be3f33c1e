// SPDX-License-Identifier: GPL-3.0-or-later
// The events that the adjustment console hands to the model object. The console calls them by
// their fixed names; an item takes part only when its event number is 0 or more (drawing,
// sending, Enter), and every live command the console sends itself asks for a wait afterwards.
#pragma once

#include <cstdint>
#include <string>

class clsConsole;

class ConsoleEvents {
  public:
    virtual ~ConsoleEvents() = default;

    // The line text for item Index (its Event_Disp is evNo, its Value is val).
    virtual std::string ConsEv_Disp(clsConsole& objConsole, std::int16_t Index, std::int16_t evNo,
                                    std::int16_t val) = 0;
    // Sends the value of item Index in the model's own way (its Event_SendE8 is evNo).
    virtual void ConsEv_SendE8(clsConsole& objConsole, std::int16_t Index, std::int16_t evNo,
                               std::int16_t val) = 0;
    // Carries out Enter on item Index (its Event_Enter is evNo).
    virtual void ConsEv_Enter(clsConsole& objConsole, std::int16_t Index, std::int16_t evNo,
                              std::int16_t val) = 0;
    // Milliseconds the model is to pause after the live command just sent.
    virtual void WaitE8Required(std::int32_t wt) = 0;
};
