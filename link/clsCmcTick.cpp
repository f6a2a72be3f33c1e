// SPDX-License-Identifier: GPL-3.0-or-later
// The countdown, including the reading across the wrap of the 32-bit tick count.
#include "link/clsCmcTick.h"

#include "platform/TickCount.h"

namespace {

constexpr std::int64_t TwoTo30 = std::int64_t{1} << 30;
constexpr std::int64_t TwoTo31 = std::int64_t{1} << 31;

// Halved and rounded down, also for negative counts.
std::int64_t halfDown(std::int32_t value) {
    return static_cast<std::int64_t>(value) >> 1;
}

} // namespace

void clsCmcTick::setCounter(std::int32_t milliseconds) {
    tickStart = platform::TickCount::now();
    tickActive = true;
    tickPreset = milliseconds;
}

std::int32_t clsCmcTick::counter() {
    if (!tickActive) {
        return 0;
    }
    const std::int32_t now = platform::TickCount::now();
    std::int64_t elapsed = 0;
    if (tickStart <= now) {
        // Over half the count's range apart means the start lies a full wrap back: long over.
        if (halfDown(now) - halfDown(tickStart) < TwoTo30) {
            elapsed = static_cast<std::int64_t>(now) - tickStart;
        } else {
            tickActive = false;
        }
    } else if (now <= -TwoTo30 && tickStart >= TwoTo30) {
        // The count wrapped from 2^31 - 1 to -2^31 since the start.
        elapsed = (now + TwoTo31) + (TwoTo31 - 1 - tickStart);
    } else {
        tickActive = false;
    }
    if (tickActive && tickPreset > elapsed) {
        return static_cast<std::int32_t>(tickPreset - elapsed);
    }
    tickActive = false;
    return 0;
}
