// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated radio on the master side of a pseudo-terminal, moved along by pump(): the real
// serial path (QSerialPort on the slave side) against the radio, in the same process. The
// slave side is held open too, so the master sees no hang-up between two openings by the port
// (which sets the terminal to raw mode itself).
#pragma once

#include "platform/Bytes.h"
#include "sim/SimRadio.h"

#include <QElapsedTimer>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <string>

namespace testsupport {

struct PtyRadio {
    PtyRadio() {
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0 && ptsname(master)) {
            path = ptsname(master);
            slave = ::open(path.c_str(), O_RDWR | O_NOCTTY);
        }
        clock.start();
    }
    ~PtyRadio() { hangUp(); }
    // The far end goes away, as a pulled USB cable takes the device with it.
    void hangUp() {
        ::close(slave);
        ::close(master);
        slave = master = -1;
    }
    // Hands what the computer wrote to the radio, and as much of its answer as the line takes.
    void pump() {
        std::uint8_t in[512];
        for (ssize_t n = 0; master >= 0 && (n = ::read(master, in, sizeof in)) > 0;) {
            radio.receive(Bytes(in, in + n), clock.elapsed());
        }
        const Bytes out = radio.transmit(clock.elapsed());
        pending.insert(pending.end(), out.begin(), out.end());
        const ssize_t n = master < 0 ? 0 : ::write(master, pending.data(), pending.size());
        pending.erase(pending.begin(), pending.begin() + std::max<ssize_t>(n, 0));
    }

    int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    int slave = -1;
    std::string path;
    QElapsedTimer clock;
    Bytes pending;
    vxk5sim::SimRadio radio;
};

} // namespace testsupport
