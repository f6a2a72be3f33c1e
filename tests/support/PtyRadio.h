// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated radio on the master side of a pseudo-terminal, moved along by pump(): the real
// serial path (QSerialPort on the slave side) against the radio, in the same process. The
// slave side is held open too, so the master sees no hang-up between two openings by the port
// (which sets the terminal to raw mode itself, and back to what it found when it closes: raw
// from the start here, so a closed port never echoes the radio's bytes back to it). settled()
// tells when nothing is on its way in either direction, so a test can move the program's clock
// only while the line is quiet.
#pragma once

#include "platform/Bytes.h"
#include "sim/SimRadio.h"

#include <QElapsedTimer>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace testsupport {

struct PtyRadio {
    PtyRadio() {
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0 && ptsname(master)) {
            path = ptsname(master);
            slave = ::open(path.c_str(), O_RDWR | O_NOCTTY);
        }
        termios raw{};
        if (slave >= 0 && tcgetattr(slave, &raw) == 0) {
            cfmakeraw(&raw);
            tcsetattr(slave, TCSANOW, &raw);
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
    // Hands what the computer wrote to the radio, and as much of its answer as the line takes;
    // what reaches a closed port (portOpen false) is lost, and so is what the radio sends to a
    // terminal that is gone.
    void pump(bool portOpen = true) {
        std::uint8_t in[512];
        for (ssize_t n = 0; master >= 0 && (n = ::read(master, in, sizeof in)) > 0;) {
            heard.insert(heard.end(), in, in + n);
            radio.receive(Bytes(in, in + n), clock.elapsed());
        }
        const Bytes out = radio.transmit(clock.elapsed());
        pending.insert(pending.end(), out.begin(), out.end());
        const std::size_t take = std::min(pending.size(), linePerPump);
        const ssize_t n = master < 0 ? 0 : ::write(master, pending.data(), take);
        pending.erase(pending.begin(), pending.begin() + std::max<ssize_t>(n, 0));
        if (master < 0) {
            pending.clear();
        } else if (!portOpen) {
            tcflush(slave, TCIFLUSH);
        }
    }

    // Nothing waits to be read at either end, nor to be written by the radio.
    bool settled() const {
        return waiting(master) == 0 && waiting(slave) == 0 && pending.empty() &&
               radio.pendingTransmit() == 0;
    }
    static int waiting(int fd) {
        int count = 0;
        return fd >= 0 && ioctl(fd, FIONREAD, &count) == 0 ? count : 0;
    }

    int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    int slave = -1;
    std::string path;
    QElapsedTimer clock;
    Bytes pending;
    Bytes heard;                        // every byte the computer wrote, in order
    std::size_t linePerPump = SIZE_MAX; // at most this much of the radio's answer per pump
    vxk5sim::SimRadio radio;
};

} // namespace testsupport
