// SPDX-License-Identifier: GPL-3.0-or-later
// The port device dialog, fed with ports that need not exist: the port the COM number opens
// now is selected whichever name the mapping uses; OK maps the COM number to the chosen port by
// its by-id name where it has one, every other line of the settings file kept. (The menu entry
// that opens it is the main window's.)
#include "ui/frmPortDevice.h"

#include "common/clsCmcProfileIO.h"
#include "tests/support/TempDir.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

const std::string FtdiById = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1234567-if00-port0";

std::vector<platform::SerialPortEntry> ports() {
    return {{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A1234567", FtdiById},
            {"/dev/ttyS0", "", "", "", ""}};
}

int selectedRow(const frmPortDevice& dialog) {
    const auto selected = dialog.lstPorts->selectedItems();
    return selected.isEmpty() ? -1 : dialog.lstPorts->indexOfTopLevelItem(selected.front());
}

} // namespace

TEST(frmPortDeviceTest, ThePortTheComNumberOpensNowIsSelected) {
    const std::pair<std::string, int> cases[] = {
        {FtdiById, 0}, {"/dev/ttyUSB0", 0}, {"/dev/ttyS0", 1}, {"/dev/ttyACM3", -1}};
    for (const auto& [current, row] : cases) {
        frmPortDevice dialog(2, ports(), current);
        EXPECT_EQ(selectedRow(dialog), row) << current;
        EXPECT_EQ(dialog.cmdOk->isEnabled(), row >= 0) << current;
    }
    frmPortDevice dialog(2, ports(), "/dev/pts/4");
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Device for COM 2");
    EXPECT_EQ(dialog.lblPorts->text().toStdString(),
              "COM 2 now opens /dev/pts/4.\nChoose the port it is to open:");
    // Made current by the focus, not chosen: OK stays off and nothing would be mapped.
    dialog.lstPorts->setCurrentItem(dialog.lstPorts->topLevelItem(0), 0,
                                    QItemSelectionModel::NoUpdate);
    EXPECT_FALSE(dialog.cmdOk->isEnabled());
    EXPECT_EQ(dialog.chosenPath(), "");
    EXPECT_EQ(dialog.lstPorts->topLevelItem(0)->text(4).toStdString(), FtdiById);
    frmPortDevice none(1, {}, "/dev/ttyS0");
    EXPECT_EQ(none.lblPorts->text().toStdString(),
              "COM 1 now opens /dev/ttyS0.\nNo serial ports found.");
    EXPECT_FALSE(none.cmdOk->isEnabled());
}

TEST(frmPortDeviceTest, OkMapsTheComNumberByItsByIdNameAndKeepsTheRestOfTheFile) {
    testsupport::TempDir dir;
    dir.writeFile("VSK5ALN.ini",
                  "; bench 3\n[PORTS]\nCOM1=/dev/ttyACM0\nCOM2=/dev/ttyS1\n[OPTION]\nComPort=2\n");
    clsCmcProfileIO settings;
    settings.setPath(dir.path());
    settings.setName("VSK5ALN.ini");
    settings.setSection("OPTION");
    for (const auto& [row, mapped] :
         {std::pair(0, FtdiById), std::pair(1, std::string("/dev/ttyS0"))}) {
        frmPortDevice dialog(2, ports(), "/dev/ttyS1");
        dialog.lstPorts->setCurrentItem(dialog.lstPorts->topLevelItem(row));
        QTest::mouseClick(dialog.cmdOk, Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        ASSERT_TRUE(savePortMapping(settings, 2, dialog.chosenPath()));
        EXPECT_EQ(dir.readFile("VSK5ALN.ini"), "; bench 3\n[PORTS]\nCOM1=/dev/ttyACM0\nCOM2=" +
                                                   mapped + "\n[OPTION]\nComPort=2\n");
    }
    EXPECT_EQ(settings.Section(), "OPTION");
}
