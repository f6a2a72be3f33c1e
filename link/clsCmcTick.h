// SPDX-License-Identifier: GPL-3.0-or-later
// Millisecond countdown on the wrapping 32-bit tick count. Every deadline of the link (echo,
// answer, record gap, port release) and the model's wait after an E8 command is one of these.
// A read below 1 means the time is up; a countdown never set reads 0.
#pragma once

#include <cstdint>

class clsCmcTick {
  public:
    // Starts a countdown of the given milliseconds from now.
    void setCounter(std::int32_t milliseconds);
    // Milliseconds still to run (at least 1 while running); 0 once run out or never set.
    std::int32_t counter();

  private:
    std::int32_t tickStart = 0;
    std::int32_t tickPreset = 0;
    bool tickActive = false;
};
