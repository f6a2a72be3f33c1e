// SPDX-License-Identifier: GPL-3.0-or-later
// The system's serial ports through QSerialPortInfo, and their by-id names.
#include "platform/SerialPorts.h"

#include <QSerialPortInfo>

#include <algorithm>
#include <filesystem>

namespace platform {

namespace fs = std::filesystem;

std::string byIdPathOf(const std::string& device, const std::string& byIdFolder) {
    std::error_code error;
    const fs::path target = fs::canonical(device, error);
    if (error) {
        return {};
    }
    std::vector<std::string> links;
    for (fs::directory_iterator it(byIdFolder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code ignored;
        if (it->is_symlink(ignored) && fs::canonical(it->path(), ignored) == target) {
            links.push_back(it->path().string());
        }
    }
    return links.empty() ? std::string() : *std::min_element(links.begin(), links.end());
}

std::vector<SerialPortEntry> systemSerialPorts(const std::string& byIdFolder) {
    std::vector<SerialPortEntry> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialPortEntry port;
        port.device = info.systemLocation().toStdString();
        port.description = info.description().toStdString();
        port.manufacturer = info.manufacturer().toStdString();
        port.serialNumber = info.serialNumber().toStdString();
        port.byIdPath = byIdPathOf(port.device, byIdFolder);
        ports.push_back(port);
    }
    return ports;
}

} // namespace platform
