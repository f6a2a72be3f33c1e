// SPDX-License-Identifier: GPL-3.0-or-later
// Millisecond tick count: a signed 32-bit value that wraps, like the system tick count the
// link's deadlines were designed around. Tests switch to a test clock that only moves when
// they move it, so deadlines are exercised without sleeping.
#pragma once

#include <cstdint>

namespace platform {

class TickCount {
  public:
    // Milliseconds since an arbitrary start, wrapping from 2^31 - 1 to -2^31.
    static std::int32_t now();
    // Milliseconds from `from` (an earlier now()) to now, right across the wrap.
    static std::int32_t since(std::int32_t from) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(now()) -
                                         static_cast<std::uint32_t>(from));
    }

    // Test clock: once installed, now() returns the value set here until useSystemClock().
    static void useTestClock(std::int32_t start = 0);
    static void setTestClock(std::int32_t value);
    static void advanceTestClock(std::int32_t milliseconds);
    static void useSystemClock();
    static bool testClockActive();
};

} // namespace platform
