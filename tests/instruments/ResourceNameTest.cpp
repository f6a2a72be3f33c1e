// SPDX-License-Identifier: GPL-3.0-or-later
// The VISA resource names a technician types: each form lands on its connection, keywords in any
// case, and anything else is refused with the reason.
#include "instruments/ResourceName.h"

#include <gtest/gtest.h>

using instruments::ConnectionKind;
using instruments::parseResource;

namespace {

struct NameCase {
    const char* name;
    const char* text;
    ConnectionKind kind;
    const char* host;
    int port;
    const char* device; // or "vendor:product:serial" for a USB name
    const char* error;  // empty when the name is taken
};

class ResourceNameTest : public ::testing::TestWithParam<NameCase> {};

const ConnectionKind Socket = ConnectionKind::Socket, Serial = ConnectionKind::Serial,
                     Usbtmc = ConnectionKind::Usbtmc, Vxi11 = ConnectionKind::Vxi11;

} // namespace

TEST_P(ResourceNameTest, NamesTheConnection) {
    const NameCase& c = GetParam();
    const auto parsed = parseResource(c.text);
    ASSERT_EQ(parsed.error, c.error);
    if (!parsed.ok()) {
        return;
    }
    const auto& r = parsed.resource;
    const std::string device =
        r.usbVendor.empty() ? r.device : r.usbVendor + ":" + r.usbProduct + ":" + r.usbSerial;
    EXPECT_EQ(std::tuple(r.kind, r.host, r.port, device),
              std::tuple(c.kind, std::string(c.host), c.port, std::string(c.device)));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Names, ResourceNameTest, ::testing::Values(
    NameCase{"Socket", "TCPIP0::192.168.1.20::5025::SOCKET", Socket, "192.168.1.20", 5025, "", ""},
    NameCase{"SocketOtherPort", "tcpip::sg.lab::5555::socket", Socket, "sg.lab", 5555, "", ""},
    NameCase{"SocketDefaultPort", "TCPIP::10.0.0.7::SOCKET", Socket, "10.0.0.7", 5025, "", ""},
    NameCase{"Vxi11", "TCPIP0::10.0.0.7::inst0::INSTR", Vxi11, "10.0.0.7", 0, "inst0", ""},
    NameCase{"Vxi11DefaultDevice", " TCPIP::sg.lab::INSTR ", Vxi11, "sg.lab", 0, "inst0", ""},
    NameCase{"Vxi11OtherDevice", "TCPIP2::sg.lab::gpib0,5::instr", Vxi11, "sg.lab", 0, "gpib0,5", ""},
    NameCase{"SerialPath", "ASRL/dev/ttyUSB0::INSTR", Serial, "", 0, "/dev/ttyUSB0", ""},
    NameCase{"SerialNumber", "asrl3::instr", Serial, "", 0, "/dev/ttyS2", ""},
    NameCase{"UsbtmcPath", "/dev/usbtmc1", Usbtmc, "", 0, "/dev/usbtmc1", ""},
    NameCase{"UsbIds", "USB0::0x1AB1::0x0641::DG4E1234::INSTR", Usbtmc, "", 0,
             "0x1AB1:0x0641:DG4E1234", ""},
    NameCase{"UsbIdsNoSerial", "usb::0x0957::0x1F01::INSTR", Usbtmc, "", 0, "0x0957:0x1F01:", ""},
    NameCase{"Empty", "  ", Socket, "", 0, "", "No instrument address is set."},
    NameCase{"UnknownKind", "GPIB0::19::INSTR", Socket, "", 0, "",
             "'GPIB0::19::INSTR' is not an instrument address this program knows: it starts "
             "with neither TCPIP, ASRL nor USB."},
    NameCase{"PortNotANumber", "TCPIP::sg::50x::SOCKET", Socket, "", 0, "",
             "'TCPIP::sg::50x::SOCKET' is not an instrument address this program knows: the "
             "port must be a number from 1 to 65535."},
    NameCase{"PortOutOfRange", "TCPIP::sg::65536::SOCKET", Socket, "", 0, "",
             "'TCPIP::sg::65536::SOCKET' is not an instrument address this program knows: the "
             "port must be a number from 1 to 65535."},
    NameCase{"NoHost", "TCPIP0::::SOCKET", Socket, "", 0, "",
             "'TCPIP0::::SOCKET' is not an instrument address this program knows: the host is "
             "missing."},
    NameCase{"NoEnding", "TCPIP0::sg::5025", Socket, "", 0, "",
             "'TCPIP0::sg::5025' is not an instrument address this program knows: a network "
             "instrument ends in ::SOCKET or ::INSTR."},
    NameCase{"BoardNotANumber", "TCPIPx::sg::SOCKET", Socket, "", 0, "",
             "'TCPIPx::sg::SOCKET' is not an instrument address this program knows: it starts "
             "with neither TCPIP, ASRL nor USB."},
    NameCase{"SerialWithoutInstr", "ASRL1", Socket, "", 0, "",
             "'ASRL1' is not an instrument address this program knows: a serial instrument is "
             "ASRL<device>::INSTR."},
    NameCase{"UsbtmcNotANumber", "/dev/usbtmcA", Socket, "", 0, "",
             "'/dev/usbtmcA' is not an instrument address this program knows: a USBTMC device "
             "is /dev/usbtmc<n>."},
    NameCase{"UsbWithoutIds", "USB0::INSTR", Socket, "", 0, "",
             "'USB0::INSTR' is not an instrument address this program knows: a USB instrument "
             "is USB::vendor::model[::serial]::INSTR."}),
    [](const ::testing::TestParamInfo<NameCase>& info) { return info.param.name; });
// clang-format on
