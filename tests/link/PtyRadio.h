// The simulated radio served on a pseudo-terminal inside the test process: the test opens the
// terminal's device through the real serial path (QtSerialControl) while the radio answers on
// the master side from the event loop. The slave side is held open as well, so the master
// never sees a hang-up between two openings by the port.
#pragma once

#include "sim/SimRadio.h"

#include <QElapsedTimer>
#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace linktest {

class PtyRadio {
  public:
    explicit PtyRadio(vxk5sim::SimConfig config = {}) : radio(config) {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
            return;
        }
        const char* name = ptsname(master);
        if (name == nullptr) {
            return;
        }
        devicePath = name;
        slave = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY);
        if (slave < 0) {
            return;
        }
        termios tio{};
        tcgetattr(slave, &tio);
        cfmakeraw(&tio);
        tcsetattr(slave, TCSANOW, &tio);
        clock.start();
        reader = std::make_unique<QSocketNotifier>(master, QSocketNotifier::Read);
        QObject::connect(reader.get(), &QSocketNotifier::activated, [this] { onReadable(); });
        writer = std::make_unique<QSocketNotifier>(master, QSocketNotifier::Write);
        writer->setEnabled(false);
        QObject::connect(writer.get(), &QSocketNotifier::activated, [this] { flush(); });
    }

    ~PtyRadio() { hangUp(); }

    bool ok() const { return slave >= 0; }
    const std::string& path() const { return devicePath; }

    // The far end goes away, as a pulled USB cable takes the device with it.
    void hangUp() {
        reader.reset();
        writer.reset();
        if (slave >= 0) {
            ::close(slave);
            slave = -1;
        }
        if (master >= 0) {
            ::close(master);
            master = -1;
        }
    }

    vxk5sim::SimRadio radio;

  private:
    void onReadable() {
        std::uint8_t buffer[512];
        for (;;) {
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            radio.receive(vxk5sim::Bytes(buffer, buffer + n), clock.elapsed());
        }
        const vxk5sim::Bytes out = radio.transmit(clock.elapsed());
        pending.insert(pending.end(), out.begin(), out.end());
        flush();
    }

    void flush() {
        while (!pending.empty()) {
            const ssize_t n = ::write(master, pending.data(), pending.size());
            if (n <= 0) {
                break;
            }
            pending.erase(pending.begin(), pending.begin() + n);
        }
        if (writer) {
            writer->setEnabled(!pending.empty());
        }
    }

    int master = -1;
    int slave = -1;
    std::string devicePath;
    QElapsedTimer clock;
    vxk5sim::Bytes pending;
    std::unique_ptr<QSocketNotifier> reader;
    std::unique_ptr<QSocketNotifier> writer;
};

} // namespace linktest
