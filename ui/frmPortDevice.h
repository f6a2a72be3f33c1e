// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog behind "Option → Port → Device for COM n…": the serial ports the system has (device,
// description, manufacturer, serial number, and the /dev/serial/by-id name where there is one),
// with the one the COM number opens now selected (and that device named above the list, also
// when it is not among them). OK maps the COM number to the chosen port
// in the [PORTS] section of the settings file in use, by its by-id name where it has one, so the
// mapping survives replugging; every other line of the file stays as it was.
//
//   [PORTS]
//   COM2=/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1234567-if00-port0
//
// The list is handed in, so the dialog can be shown for ports that need not exist.
#pragma once

#include "platform/SerialPorts.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;
class clsCmcProfileIO;

class frmPortDevice : public QDialog {
  public:
    // currentDevice: what the COM number opens now (a device or a by-id name).
    frmPortDevice(std::int16_t comNumber, std::vector<platform::SerialPortEntry> ports,
                  const std::string& currentDevice, QWidget* parent = nullptr);

    // The menu entry's caption for a COM number.
    static QString menuCaption(std::int16_t comNumber);
    // The name the selected port is to be mapped by; empty when none is selected.
    std::string chosenPath() const;

    QLabel* lblPorts;
    QTreeWidget* lstPorts;
    QPushButton* cmdOk;

  private:
    void fillList(const std::string& currentDevice);

    std::vector<platform::SerialPortEntry> ports;
};

// Writes COM<comNumber>=path into the [PORTS] section through the settings object; false when
// neither the file beside the program nor the user's copy could be written.
bool savePortMapping(const clsCmcProfileIO& settings, std::int16_t comNumber,
                     const std::string& path);

// Shows the dialog over parent for the system's ports and, on OK, saves the mapping; a mapping
// that cannot be saved is reported as the settings are at exit.
void choosePortDevice(QWidget& parent, const clsCmcProfileIO& settings, std::int16_t comNumber);
