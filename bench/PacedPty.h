// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated radio on the master side of a pseudo-terminal, paced at 9600 bit/s, for the
// utility's real serial port to open on the slave side. It runs on the event loop: a socket
// notifier on the master hands what the computer wrote to the radio, and a timer armed for the
// exact moment the radio's next byte is due (a timerfd on the monotonic clock, so not rounded
// to whole milliseconds from now) puts that byte on the pseudo-terminal. Both sides go into the
// line log with their moments.
//
// The computer's bytes count as sent from the moment the port was handed them (handOver), as a
// UART starts on them then: the notifier shares the event loop with the utility and may run
// only after the utility's own work (a repaint) is done.
//
// The radio counts time in whole milliseconds (SimRadio's own clock): it hears the computer's
// bytes at the millisecond they were handed over in and lets a byte out at the first
// millisecond it is due by. Each of these roundings is under a millisecond and goes either way;
// they do not add up to a drift.
//
// The slave side is held open as well (PseudoTerminal), so that the master sees no hang-up
// while the port is closed.
//
//   PacedPty line(config, log);
//   settings "[PORTS] COM1=" + line.devicePath();   // the utility opens it as COM 1
#pragma once

#include "platform/Bytes.h"
#include "sim/PseudoTerminal.h"
#include "sim/SimRadio.h"

#include <QObject>
#include <QSocketNotifier>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vsk5bench {

class LineLog;

class PacedPty : public QObject {
  public:
    // The radio paces the line whatever config says.
    PacedPty(vxk5sim::SimConfig config, LineLog& log);
    ~PacedPty() override;
    PacedPty(const PacedPty&) = delete;
    PacedPty& operator=(const PacedPty&) = delete;

    // False when no pseudo-terminal could be had.
    bool ok() const { return terminal.ok() && timer >= 0; }
    const std::string& devicePath() const { return terminal.path(); }
    vxk5sim::SimRadio& radio() { return sim; }
    // When the port was handed the computer's byte number n (from 1); 0 when not known, and
    // then the moment it is read counts.
    void setHandOver(std::function<std::int64_t(std::int64_t n)> handedAt) {
        handOver = std::move(handedAt);
    }

  private:
    std::int64_t radioMs() const;
    void onReadable();
    // One chunk read at readNs, in runs of bytes handed over together.
    void fromComputer(const Bytes& chunk, std::int64_t readNs);
    void onTimer();
    // The radio's bytes that are due by now onto the pseudo-terminal, then the timer armed for
    // the next one.
    void sendDue();
    void flushPending();
    void armTimer();

    LineLog& log;
    vxk5sim::SimRadio sim;
    vxk5sim::PseudoTerminal terminal;
    int timer = -1;
    std::int64_t originNs = 0; // the radio's millisecond 0
    Bytes pending;             // due, but the pseudo-terminal took it not yet
    std::function<std::int64_t(std::int64_t)> handOver;
    std::unique_ptr<QSocketNotifier> readable;
    std::unique_ptr<QSocketNotifier> timerFired;
    std::unique_ptr<QSocketNotifier> writable;
};

} // namespace vsk5bench
