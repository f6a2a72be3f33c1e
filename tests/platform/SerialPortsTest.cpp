// SPDX-License-Identifier: GPL-3.0-or-later
// The by-id name of a serial port, found through the links in a by-id folder made for the test,
// and the name a [PORTS] mapping uses.
#include "platform/SerialPorts.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(SerialPortsTest, TheByIdLinkToTheDeviceIsFoundAndPreferredForTheMapping) {
    testsupport::TempDir dir;
    dir.writeFile("ttyUSB0", "");
    dir.writeFile("ttyUSB1", "");
    dir.makeFolder("by-id");
    dir.writeFile("by-id/not-a-link", "");
    const auto link = [&dir](const char* target, const char* name) {
        std::filesystem::create_symlink(target, dir.file(std::string("by-id/") + name));
    };
    link("../ttyUSB0", "usb-FTDI_B-if00-port0");
    link("../ttyUSB0", "usb-FTDI_A-if00-port0"); // two names: the first in name order
    link("../ttyUSB9", "usb-Unplugged-if00-port0");
    const std::string byId = dir.file("by-id");
    const std::pair<std::string, std::string> cases[] = {
        {dir.file("ttyUSB0"), dir.file("by-id/usb-FTDI_A-if00-port0")},
        {dir.file("ttyUSB1"), ""},          // a port without a by-id name
        {dir.file("ttyUSB9"), ""},          // a device that is not there
        {dir.file("by-id/not-a-link"), ""}, // a file in the folder is no name for itself
    };
    for (const auto& [device, expected] : cases) {
        EXPECT_EQ(platform::byIdPathOf(device, byId), expected) << device;
    }
    EXPECT_EQ(platform::byIdPathOf(dir.file("ttyUSB0"), dir.file("no-folder")), "");

    platform::SerialPortEntry port{dir.file("ttyUSB0"), "", "", "", ""};
    EXPECT_EQ(port.mappingPath(), dir.file("ttyUSB0"));
    port.byIdPath = platform::byIdPathOf(port.device, byId);
    EXPECT_EQ(port.mappingPath(), dir.file("by-id/usb-FTDI_A-if00-port0"));
}
