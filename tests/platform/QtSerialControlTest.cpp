// SPDX-License-Identifier: GPL-3.0-or-later
// The serial control over QSerialPort: line settings texts, and a COM number to its device
// name, from the settings file's [PORTS] section or the system's default names.
#include "platform/QtSerialControl.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QFileInfo>

using Q = QSerialPort;

static auto fields(const QtSerialControl::LineSettings& s) {
    return std::tuple(s.baud, s.parity, s.dataBits, s.stopBits);
}

TEST(QtSerialControlTest, LineSettingsTexts) {
    const std::pair<const char*, QtSerialControl::LineSettings> valid[] = {
        {"9600,N,8,1", {9600, Q::NoParity, Q::Data8, Q::OneStop}},
        {"19200,E,7,2", {19200, Q::EvenParity, Q::Data7, Q::TwoStop}},
        {"1200,o,5,1.5", {1200, Q::OddParity, Q::Data5, Q::OneAndHalfStop}},
        {"4800,M,6,1", {4800, Q::MarkParity, Q::Data6, Q::OneStop}},
        {"4800,S,8,1", {4800, Q::SpaceParity, Q::Data8, Q::OneStop}}};
    for (const auto& [text, settings] : valid) {
        const auto parsed = QtSerialControl::parseSettings(text);
        ASSERT_TRUE(parsed.has_value()) << text;
        EXPECT_EQ(fields(*parsed), fields(settings)) << text;
    }
    for (const char* bad : {"9600,N,8", "9600,X,8,1", "9600,N,9,1", "9600,N,4,1", "9600,N,8,3",
                            "fast,N,8,1", "0,N,8,1", "", "9600,N,8,1,1"}) {
        EXPECT_FALSE(QtSerialControl::parseSettings(bad).has_value()) << bad;
    }
}

TEST(QtSerialControlTest, PortsSectionMapsComNumbersAndAnAbsentDeviceCannotBeOpened) {
    testsupport::TempDir dir;
    const std::string absent = dir.file("no-such-device");
    dir.writeFile("VSK5ALN.ini",
                  "[OPTION]\nComPort=2\n[ports]\ncom2 = /dev/ttyACM7\nCOM1=" + absent);
    QtSerialControl control(dir.file("VSK5ALN.ini"));
    EXPECT_EQ(control.deviceName(2), "/dev/ttyACM7");
    // Unmapped numbers: the USB adapter's name when that device exists, else the built-in port.
    EXPECT_EQ(control.deviceName(3),
              QFileInfo::exists("/dev/ttyUSB2") ? "/dev/ttyUSB2" : "/dev/ttyS2");
    control.setCommPort(1);
    control.setSettings("9600,N,8,1");
    EXPECT_FALSE(control.setPortOpen(true));
    EXPECT_FALSE(control.portOpen());
    EXPECT_FALSE(control.output({0xE0}));
}
