// SPDX-License-Identifier: GPL-3.0-or-later
// The periodic tick and the tick of a wait that falls due.
#include "app/TickTimers.h"

TickTimers::TickTimers(const std::function<void()>& tick) {
    timer.setInterval(IntervalMs);
    connect(&timer, &QTimer::timeout, this, tick);
    dueTimer.setSingleShot(true);
    dueTimer.setTimerType(Qt::PreciseTimer);
    connect(&dueTimer, &QTimer::timeout, this, tick);
}

void TickTimers::stop() {
    timer.stop();
    dueTimer.stop();
}

void TickTimers::armFor(std::int32_t dueMs) {
    if (dueMs > 0 && timer.isActive() && dueMs < timer.remainingTime()) {
        dueTimer.start(dueMs);
    } else {
        dueTimer.stop();
    }
}
