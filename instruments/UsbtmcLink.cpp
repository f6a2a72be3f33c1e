// SPDX-License-Identifier: GPL-3.0-or-later
// The usbtmc link.
#include "instruments/UsbtmcLink.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/usb/tmc.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace instruments {
namespace {

// One read takes at most this much; an answer that ends without a line end after this many
// reads is taken as it is.
constexpr std::size_t kReadChunk = 1024;
constexpr int kMostReads = 64;

std::string sysValue(const QString& folder, const char* name) {
    QFile file(folder + "/" + name);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll().trimmed().toStdString();
}

// "0x1AB1" and "1ab1" name the same id.
bool sameId(const std::string& given, const std::string& listed) {
    try {
        return std::stoul(given, nullptr, 16) == std::stoul(listed, nullptr, 16);
    } catch (...) {
        return false;
    }
}

std::string systemError(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

} // namespace

std::string findUsbtmcDevice(const Resource& resource) {
    const QDir devices(QStringLiteral("/sys/class/usbmisc"));
    for (const QString& name : devices.entryList({QStringLiteral("usbtmc*")})) {
        // device is the USB interface; its parent carries the ids.
        const QString usb = devices.filePath(name) + QStringLiteral("/device/..");
        if (sameId(resource.usbVendor, sysValue(usb, "idVendor")) &&
            sameId(resource.usbProduct, sysValue(usb, "idProduct")) &&
            (resource.usbSerial.empty() || resource.usbSerial == sysValue(usb, "serial"))) {
            return "/dev/" + name.toStdString();
        }
    }
    return {};
}

UsbtmcLink::UsbtmcLink(Resource r, int timeout) : resource(std::move(r)), timeoutMs(timeout) {}

std::string UsbtmcLink::open() {
    std::string device = resource.device;
    if (device.empty()) {
        device = findUsbtmcDevice(resource);
        if (device.empty()) {
            return "no USBTMC instrument with these ids is plugged in";
        }
    }
    fd = ::open(device.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return systemError(device.c_str());
    }
    // The driver's own timeout bounds every call; a device that is not usbtmc refuses the
    // request, and then the device's own behaviour stands.
    unsigned int timeout = static_cast<unsigned int>(timeoutMs);
    (void)::ioctl(fd, USBTMC_IOCTL_SET_TIMEOUT, &timeout);
    return {};
}

std::string UsbtmcLink::write(const std::string& command) {
    const std::string line = command + "\n";
    const ssize_t n = ::write(fd, line.data(), line.size());
    return n == static_cast<ssize_t>(line.size()) ? std::string() : systemError("write");
}

std::string UsbtmcLink::read(std::string& answer) {
    answer.clear();
    char buffer[kReadChunk];
    for (int i = 0; i < kMostReads; ++i) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n == 0 ? std::string("the instrument closed the connection")
                          : systemError("read");
        }
        answer.append(buffer, static_cast<std::size_t>(n));
        if (answer.back() == '\n') {
            break;
        }
    }
    while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r')) {
        answer.pop_back();
    }
    return {};
}

void UsbtmcLink::close() {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

} // namespace instruments
