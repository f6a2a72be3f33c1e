// SPDX-License-Identifier: GPL-3.0-or-later
// The serial ports the system has, as the technician chooses among them: each with what the
// system says of it and, on Linux, its stable name under /dev/serial/by-id.
//
//   device        /dev/ttyUSB0
//   byIdPath      /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1234567-if00-port0
//   mappingPath() the by-id path: what a [PORTS] line should name
#pragma once

#include <string>
#include <vector>

namespace platform {

inline constexpr const char* SerialByIdFolder = "/dev/serial/by-id";

struct SerialPortEntry {
    std::string device;
    std::string description;
    std::string manufacturer;
    std::string serialNumber;
    std::string byIdPath; // empty when the system names none

    // The by-id name follows the cable's adapter, not the order the adapters were plugged in:
    // a mapping to it survives replugging. A port without one is named by its device.
    std::string mappingPath() const { return byIdPath.empty() ? device : byIdPath; }
};

// The first link (in name order) in byIdFolder that leads to device; empty when none does.
std::string byIdPathOf(const std::string& device, const std::string& byIdFolder = SerialByIdFolder);

// What QSerialPortInfo lists, with the by-id names from byIdFolder.
std::vector<SerialPortEntry> systemSerialPorts(const std::string& byIdFolder = SerialByIdFolder);

} // namespace platform
