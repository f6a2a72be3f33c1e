// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog that maps a COM number to one of the system's serial ports.
#include "ui/frmPortDevice.h"

#include "common/clsCmcProfileIO.h"
#include "platform/QtSerialControl.h"
#include "ui/UiHooks.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <filesystem>

namespace {

// The mapping may name the port by its device, by its by-id name, or by any other link to it.
bool isCurrent(const platform::SerialPortEntry& port, const std::string& current) {
    if (current == port.device || (!port.byIdPath.empty() && current == port.byIdPath)) {
        return true;
    }
    std::error_code error;
    return std::filesystem::equivalent(current, port.device, error);
}

QString comText(std::int16_t comNumber) {
    return QStringLiteral("COM %1").arg(comNumber);
}

} // namespace

frmPortDevice::frmPortDevice(std::int16_t comNumber, std::vector<platform::SerialPortEntry> list,
                             const std::string& currentDevice, QWidget* parent)
    : QDialog(parent), ports(std::move(list)) {
    setWindowTitle(QStringLiteral("Device for ") + comText(comNumber));
    lblPorts = new QLabel(this);
    lstPorts = new QTreeWidget(this);
    lstPorts->setRootIsDecorated(false);
    lstPorts->setAllColumnsShowFocus(true);
    lstPorts->setHeaderLabels({QStringLiteral("Device"), QStringLiteral("Description"),
                               QStringLiteral("Manufacturer"), QStringLiteral("Serial number"),
                               QStringLiteral("By-id path")});
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    cmdOk = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(lstPorts, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    // A selected row, not the current one: the list makes its first row current when it gets
    // the focus, and Enter must not map the COM number to a port nobody chose.
    connect(lstPorts, &QTreeWidget::itemSelectionChanged, this,
            [this] { cmdOk->setEnabled(!lstPorts->selectedItems().isEmpty()); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblPorts);
    layout->addWidget(lstPorts);
    layout->addWidget(buttons);
    lblPorts->setText(comText(comNumber) + QStringLiteral(" now opens ") +
                      QString::fromStdString(currentDevice) + QStringLiteral(".\n") +
                      (ports.empty() ? QStringLiteral("No serial ports found.")
                                     : QStringLiteral("Choose the port it is to open:")));
    fillList(currentDevice);
}

void frmPortDevice::fillList(const std::string& currentDevice) {
    for (const platform::SerialPortEntry& port : ports) {
        auto* item = new QTreeWidgetItem(lstPorts);
        const std::string* fields[] = {&port.device, &port.description, &port.manufacturer,
                                       &port.serialNumber, &port.byIdPath};
        for (int column = 0; column < 5; ++column) {
            item->setText(column, QString::fromStdString(*fields[column]));
        }
        if (lstPorts->currentItem() == nullptr && isCurrent(port, currentDevice)) {
            lstPorts->setCurrentItem(item);
        }
    }
    for (int column = 0; column < lstPorts->columnCount(); ++column) {
        lstPorts->resizeColumnToContents(column);
    }
    lstPorts->setMinimumWidth(lstPorts->header()->length() + 8);
    cmdOk->setEnabled(!lstPorts->selectedItems().isEmpty());
}

QString frmPortDevice::menuCaption(std::int16_t comNumber) {
    return QStringLiteral("&Device for ") + comText(comNumber) + QStringLiteral("…");
}

std::string frmPortDevice::chosenPath() const {
    const QList<QTreeWidgetItem*> selected = lstPorts->selectedItems();
    const int row = selected.isEmpty() ? -1 : lstPorts->indexOfTopLevelItem(selected.front());
    return row < 0 ? std::string() : ports[static_cast<std::size_t>(row)].mappingPath();
}

bool savePortMapping(const clsCmcProfileIO& settings, std::int16_t comNumber,
                     const std::string& path) {
    clsCmcProfileIO ports = settings; // the caller's section stays as it was
    ports.setSection(QtSerialControl::PortsSection);
    return ports.saveData(QtSerialControl::portsKey(comNumber), path);
}

void choosePortDevice(QWidget& parent, const clsCmcProfileIO& settings, std::int16_t comNumber) {
    const std::string current = QtSerialControl::deviceFor(settings.PortsProfiles(), comNumber);
    frmPortDevice dialog(comNumber, platform::systemSerialPorts(), current, &parent);
    if (ui::execModal(dialog) != QDialog::Accepted || dialog.chosenPath().empty()) {
        return;
    }
    if (!savePortMapping(settings, comNumber, dialog.chosenPath())) {
        MsgBoxProduct(settings.notSavedText());
    }
}
