// SPDX-License-Identifier: GPL-3.0-or-later
// The periodic tick a composition root owns: a 50 ms timer, and a single shot for a wait that
// falls due between two of its ticks, so that no wait of the link or the model lasts longer
// than it is meant to. Both roots, the window's and the command line's, tick through one.
//
//   TickTimers timers([this] { tick(); });
//   timers.start();
//   after each tick: timers.armFor(door.msUntilDue());   // 20 ms left: a tick in 20 ms
#pragma once

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>

class TickTimers : public QObject {
    Q_OBJECT

  public:
    static constexpr int IntervalMs = 50;

    explicit TickTimers(const std::function<void()>& tick);

    void start() { timer.start(); }
    void stop();
    // A wait due in dueMs (0: none) that ends before the next timer tick gets a tick of its own.
    void armFor(std::int32_t dueMs);

  private:
    QTimer timer;
    QTimer dueTimer;
};
