// SPDX-License-Identifier: GPL-3.0-or-later
// The bench's one clock and the line's one rate. Every moment the bench notes is read from the
// system's monotonic clock (the one std::chrono::steady_clock, CLOCK_MONOTONIC and a timerfd
// read), so that a child process's moments compare with ours and a timer can be armed for an
// exact moment. Nothing here is the program's tick count: the utility keeps its own.
#pragma once

#include <chrono>
#include <cstdint>

namespace vsk5bench {

// Nanoseconds on the monotonic clock.
inline std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

inline double msBetween(std::int64_t fromNs, std::int64_t toNs) {
    return static_cast<double>(toNs - fromNs) / 1e6;
}

// 9600 bit/s with 10 bits a byte (start, 8 data, stop): 1000/960 ms, 1.0417 ms, per byte.
inline constexpr double ByteMs = 1000.0 / 960.0;
inline constexpr double ByteNs = ByteMs * 1e6;

} // namespace vsk5bench
