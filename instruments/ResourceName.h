// SPDX-License-Identifier: GPL-3.0-or-later
// The VISA resource name a technician gives for an instrument, taken apart into the connection
// it names. Pure: text in, a connection (or why not) out.
//
//   parseResource("TCPIP0::192.168.1.20::5025::SOCKET") -> Socket, host 192.168.1.20, port 5025
//   parseResource("ASRL/dev/ttyUSB1::INSTR")            -> Serial, device /dev/ttyUSB1
//   parseResource("TCPIP::sg.lab::INSTR")               -> Vxi11, host sg.lab, device inst0
//   parseResource("/dev/usbtmc0")                       -> Usbtmc, device /dev/usbtmc0
#pragma once

#include <string>

namespace instruments {

enum class ConnectionKind { Socket, Serial, Usbtmc, Vxi11 };

struct Resource {
    ConnectionKind kind = ConnectionKind::Socket;
    std::string host;       // Socket and Vxi11
    int port = 0;           // Socket
    std::string device;     // Serial: a path or port name; Usbtmc: the character device;
                            // Vxi11: the instrument's device name (inst0 unless given)
    std::string usbVendor;  // Usbtmc named by USB ids: vendor and model code as written
    std::string usbProduct; // ("0x1AB1"), the serial number (empty when not given); the
    std::string usbSerial;  // device is then found among /dev/usbtmc<n> when it is opened
    std::string text;       // the name as the technician wrote it
};

struct ParsedResource {
    Resource resource;
    std::string error; // empty when the name was understood
    bool ok() const { return error.empty(); }
};

// The raw socket's port when the name gives none (TCPIP::host::SOCKET).
inline constexpr int kDefaultScpiPort = 5025;

// Keywords are compared without regard to case, as VISA does; host and device are kept as
// written. A serial device given as a number (ASRL1::INSTR) is the first serial port,
// /dev/ttyS0; the USB form (USB0::0x1234::0x5678::SERIAL::INSTR) is served by the kernel's
// usbtmc driver, so its ids are kept and the device is looked up when the connection opens.
ParsedResource parseResource(const std::string& name);

} // namespace instruments
