// SPDX-License-Identifier: GPL-3.0-or-later
// The tests' in-process serial line, joined to the simulated radio or to nothing.
#include "tests/support/SimSerialControl.h"

#include "platform/TickCount.h"

#include <algorithm>

namespace testsupport {

std::int64_t SimSerialControl::nowMs() {
    const std::int32_t tick = platform::TickCount::now();
    if (!clockStarted_) {
        clockStarted_ = true;
        lastTick_ = tick;
        monotonic_ = 0;
        return monotonic_;
    }
    // The difference of two wrapping 32-bit counts, taken modulo 2^32, is the time that
    // passed even across the wrap. A clock set back (only a test does that) does not run the
    // radio's time backwards.
    const auto diff = static_cast<std::int32_t>(static_cast<std::uint32_t>(tick) -
                                                static_cast<std::uint32_t>(lastTick_));
    lastTick_ = tick;
    if (diff > 0) {
        monotonic_ += diff;
    }
    return monotonic_;
}

bool SimSerialControl::setPortOpen(bool open) {
    if (!open) {
        if (open_) {
            pull(); // what was still on its way is lost with the closed port
        }
        open_ = false;
        rx_.clear();
        return true;
    }
    if (open_) {
        return true;
    }
    if (openFails_ || unplugged_) {
        return false;
    }
    // Bytes that reached the line while the port was closed were never received.
    if (simRadio) {
        simRadio->transmit(nowMs());
    }
    open_ = true;
    return true;
}

void SimSerialControl::pull() {
    if (!simRadio) {
        return;
    }
    const Bytes arrived = simRadio->transmit(nowMs());
    if (!open_) {
        return;
    }
    rx_.insert(rx_.end(), arrived.begin(), arrived.end());
}

void SimSerialControl::arrive(const Bytes& bytes, bool event) {
    if (!open_) {
        return;
    }
    rx_.insert(rx_.end(), bytes.begin(), bytes.end());
    if (event) {
        raiseEvent(comEvReceive);
    }
}

int SimSerialControl::inBufferCount() {
    pull();
    return static_cast<int>(rx_.size());
}

Bytes SimSerialControl::input() {
    pull();
    Bytes out;
    out.swap(rx_);
    return out;
}

bool SimSerialControl::output(const Bytes& block) {
    ++blocks_; // every block offered counts toward a buffer set to fill up
    if (!open_) {
        return false;
    }
    if (writeFails_) {
        open_ = false;
        rx_.clear();
        raiseEvent(comEvPortLost);
        return false;
    }
    written_.insert(written_.end(), block.begin(), block.end());
    const std::int64_t now = nowMs();
    writes_.push_back({now, block});
    if (simRadio) {
        simRadio->receive(block, now);
    }
    return true;
}

void SimSerialControl::unplug() {
    unplugged_ = true;
    if (open_) {
        setPortOpen(false);
        raiseEvent(comEvPortLost);
    }
}

std::int64_t SimSerialControl::msUntilArrival() {
    if (!simRadio || !open_ || !simRadio->config().pacing) {
        return 0;
    }
    const std::int64_t next = simRadio->nextTransmitMs();
    return next < 0 ? 0 : std::max<std::int64_t>(next - nowMs(), 0);
}

void SimSerialControl::notifyReceived() {
    if (open_ && inBufferCount() > 0) {
        raiseEvent(comEvReceive);
    }
}

} // namespace testsupport
