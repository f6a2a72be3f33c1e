// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated radio on the master side of a pseudo-terminal, moved along by pump(): the real
// serial path (QSerialPort on the slave side) against the radio, in the same process.
//
// runUntil() moves the program's clock one tick at a time and only while the line is quiet:
// nothing on its way in either direction, in the terminal or in the port's send buffer. Every
// deadline is then the program's own, and a busy machine makes a run slower but never
// different. Quiet is asked with poll(), never FIONREAD: the terminal hands written bytes to the
// reading side later, from a kernel worker, and FIONREAD does not count them until it has run,
// while poll() (like read()) waits for that hand-over first.
#pragma once

#include "platform/Bytes.h"
#include "platform/SerialControl.h"
#include "platform/TickCount.h"
#include "sim/PseudoTerminal.h"
#include "sim/SimRadio.h"

#include <QCoreApplication>

#include <termios.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>

namespace testsupport {

struct PtyRadio {
    // The terminal is reached through a link at `node`, a name of the test's own that the port
    // opens: the port's lock file is named by the path it opens, and a terminal's number is
    // given again to the next terminal asked for, in any process.
    explicit PtyRadio(std::string node) : terminal(std::move(node)) {}
    // The far end goes away, and its node with it, as a pulled USB cable takes the device.
    void hangUp() { terminal.hangUp(); }
    // Hands what the computer wrote to the radio, and as much of its answer as the line takes;
    // what reaches a closed port (portOpen false) is lost, and so is what the radio sends to a
    // terminal that is gone.
    void pump(bool portOpen = true) {
        std::uint8_t in[512];
        for (ssize_t n = 0; (n = terminal.read(in, sizeof in)) > 0;) {
            heard.insert(heard.end(), in, in + n);
            radio.receive(Bytes(in, in + n), platform::TickCount::now());
        }
        const Bytes out = radio.transmit(platform::TickCount::now());
        pending.insert(pending.end(), out.begin(), out.end());
        const std::size_t take = std::min(pending.size(), linePerPump);
        const ssize_t n = terminal.write(pending.data(), take);
        pending.erase(pending.begin(), pending.begin() + std::max<ssize_t>(n, 0));
        if (terminal.master() < 0) {
            pending.clear();
        } else if (!portOpen) {
            tcflush(terminal.slave(), TCIFLUSH);
        }
    }

    // Nothing waits to be read at either end, nor to be written by the radio.
    bool settled() const {
        using vxk5sim::PseudoTerminal;
        return !PseudoTerminal::readable(terminal.master()) &&
               !PseudoTerminal::readable(terminal.slave()) && pending.empty() &&
               radio.pendingTransmit() == 0;
    }

    // Moves the line and the program's events along, and calls tick() (which moves the
    // program's clock) whenever the line and the port's send buffer are quiet, until done().
    // False when done() did not come within maxTicks; a line that never settles ends the run
    // too, after a bound on the turns between two ticks (no timing: a count).
    bool runUntil(const SerialControl& port, const std::function<bool()>& done,
                  const std::function<void()>& tick, int maxTicks) {
        constexpr int MaxTurnsPerTick = 1000000;
        for (int ticks = 0, turns = 0; ticks < maxTicks && turns < MaxTurnsPerTick; ++turns) {
            if (done()) {
                return true;
            }
            pump(port.portOpen());
            QCoreApplication::processEvents();
            if (settled() && port.outBufferCount() == 0) {
                tick();
                ++ticks;
                turns = 0;
            }
        }
        return done();
    }

    vxk5sim::PseudoTerminal terminal; // the port finds it at terminal.link()
    Bytes pending;
    Bytes heard;                        // every byte the computer wrote, in order
    std::size_t linePerPump = SIZE_MAX; // at most this much of the radio's answer per pump
    vxk5sim::SimRadio radio;
};

} // namespace testsupport
