// SPDX-License-Identifier: GPL-3.0-or-later
// The paced simulated radio on a pseudo-terminal.
#include "bench/PacedPty.h"

#include "bench/Clock.h"
#include "bench/LineLog.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>

namespace vsk5bench {

namespace {

vxk5sim::SimConfig paced(vxk5sim::SimConfig config) {
    config.pacing = true;
    return config;
}

} // namespace

PacedPty::PacedPty(vxk5sim::SimConfig config, LineLog& lineLog)
    : log(lineLog), sim(paced(config)), originNs(nowNs()) {
    timer = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (!ok()) {
        return;
    }
    readable = std::make_unique<QSocketNotifier>(terminal.master(), QSocketNotifier::Read);
    connect(readable.get(), &QSocketNotifier::activated, this, [this] { onReadable(); });
    timerFired = std::make_unique<QSocketNotifier>(timer, QSocketNotifier::Read);
    connect(timerFired.get(), &QSocketNotifier::activated, this, [this] { onTimer(); });
    writable = std::make_unique<QSocketNotifier>(terminal.master(), QSocketNotifier::Write);
    writable->setEnabled(false);
    connect(writable.get(), &QSocketNotifier::activated, this, [this] { flushPending(); });
}

PacedPty::~PacedPty() {
    readable.reset();
    timerFired.reset();
    writable.reset();
    if (timer >= 0) {
        ::close(timer);
    }
}

std::int64_t PacedPty::radioMs() const {
    return (nowNs() - originNs) / 1'000'000;
}

void PacedPty::onReadable() {
    std::uint8_t in[512];
    for (ssize_t n = 0; (n = terminal.read(in, sizeof in)) > 0;) {
        fromComputer(Bytes(in, in + n), nowNs());
    }
    sendDue();
}

void PacedPty::fromComputer(const Bytes& chunk, std::int64_t readNs) {
    // The moment the byte i places after those in the log so far was handed over.
    const auto sentAt = [&](std::size_t i) {
        const std::int64_t handed =
            handOver ? handOver(log.bytesRead() + static_cast<std::int64_t>(i) + 1) : 0;
        return handed > 0 ? std::min(handed, readNs) : readNs;
    };
    for (std::size_t first = 0; first < chunk.size();) {
        const std::int64_t sent = sentAt(0);
        std::size_t end = first + 1;
        while (end < chunk.size() && sentAt(end - first) == sent) {
            ++end;
        }
        const Bytes run(chunk.begin() + static_cast<std::ptrdiff_t>(first),
                        chunk.begin() + static_cast<std::ptrdiff_t>(end));
        log.computerBytes(run, sent, readNs);
        sim.receive(run, (sent - originNs) / 1'000'000);
        first = end;
    }
}

void PacedPty::onTimer() {
    // Emptied so that the notifier rests until the next expiry; a read that finds nothing (an
    // expiry another event has served already) is as good.
    std::uint64_t expirations = 0;
    [[maybe_unused]] const ssize_t n = ::read(timer, &expirations, sizeof expirations);
    sendDue();
}

void PacedPty::sendDue() {
    const Bytes out = sim.transmit(radioMs());
    if (!out.empty()) {
        log.radioBytes(out, nowNs());
        pending.insert(pending.end(), out.begin(), out.end());
        flushPending();
    }
    armTimer();
}

void PacedPty::flushPending() {
    const ssize_t n = pending.empty() ? 0 : terminal.write(pending.data(), pending.size());
    pending.erase(pending.begin(), pending.begin() + std::max<ssize_t>(n, 0));
    // A full pseudo-terminal takes the rest when it has room again.
    writable->setEnabled(!pending.empty());
}

void PacedPty::armTimer() {
    const std::int64_t next = sim.nextTransmitMs();
    itimerspec when{};
    if (next >= 0) {
        // The first moment the radio's clock reads `next`; a moment already past fires at once.
        const std::int64_t at = std::max<std::int64_t>(originNs + next * 1'000'000, 1);
        when.it_value.tv_sec = static_cast<time_t>(at / 1'000'000'000);
        when.it_value.tv_nsec = static_cast<long>(at % 1'000'000'000);
    }
    // An all-zero value disarms the timer: nothing is on its way.
    timerfd_settime(timer, TFD_TIMER_ABSTIME, &when, nullptr);
}

} // namespace vsk5bench
