// SPDX-License-Identifier: GPL-3.0-or-later
// Which live commands the model waits after. The console asks its event object (the model) for
// the wait right after it has handed an item's command to the port; for the bench's run this
// object stands in that place, passes every event on to the model unchanged and notes the wait
// in the line log, for the frame that ends with the last byte handed to the port so far. A
// procedure's own commands (a sweep's stage settings, the S-meter's points, TXF's values) ask
// for no wait, and the floor then counts none.
//
//   WaitWatch watch(utility.door().console(), log, [&] { return bytesHandedOver(); });
#pragma once

#include "console/ConsoleEvents.h"

#include <functional>

class clsConsole;

namespace vsk5bench {

class LineLog;

class WaitWatch : public ConsoleEvents {
  public:
    // handedOver: the computer's bytes handed to the port so far, on the line or not.
    WaitWatch(clsConsole& console, LineLog& log, std::function<std::int64_t()> handedOver);
    // The model takes its place again.
    ~WaitWatch() override;
    WaitWatch(const WaitWatch&) = delete;
    WaitWatch& operator=(const WaitWatch&) = delete;

    std::string ConsEv_Disp(clsConsole& objConsole, std::int16_t Index, std::int16_t evNo,
                            std::int16_t val) override;
    void ConsEv_SendE8(clsConsole& objConsole, std::int16_t Index, std::int16_t evNo,
                       std::int16_t val) override;
    void ConsEv_Enter(clsConsole& objConsole, std::int16_t Index, std::int16_t evNo,
                      std::int16_t val) override;
    void WaitE8Required(std::int32_t wt) override;

  private:
    clsConsole& console;
    LineLog& log;
    std::function<std::int64_t()> bytesHandedOver;
    ConsoleEvents* model;
};

} // namespace vsk5bench
