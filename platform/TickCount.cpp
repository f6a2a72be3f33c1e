// SPDX-License-Identifier: GPL-3.0-or-later
// Tick count backed by std::chrono::steady_clock, or by the test clock.
#include "platform/TickCount.h"

#include <chrono>

namespace platform {
namespace {

bool testClockOn = false;
std::uint32_t testClockValue = 0; // unsigned, so advancing past 2^31 - 1 wraps without overflow

std::int32_t toSigned(std::uint32_t value) {
    return static_cast<std::int32_t>(value);
}

} // namespace

std::int32_t TickCount::now() {
    if (testClockOn) {
        return toSigned(testClockValue);
    }
    const auto elapsed = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
    return toSigned(static_cast<std::uint32_t>(ms));
}

void TickCount::useTestClock(std::int32_t start) {
    testClockOn = true;
    setTestClock(start);
}

void TickCount::setTestClock(std::int32_t value) {
    testClockValue = static_cast<std::uint32_t>(value);
}

void TickCount::advanceTestClock(std::int32_t milliseconds) {
    testClockValue += static_cast<std::uint32_t>(milliseconds);
}

void TickCount::useSystemClock() {
    testClockOn = false;
}

bool TickCount::testClockActive() {
    return testClockOn;
}

} // namespace platform
