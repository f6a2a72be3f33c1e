// SPDX-License-Identifier: GPL-3.0-or-later
// The About box.
#include "ui/AboutBox.h"

#include "common/Product.h"
#include "ui/UiHooks.h"

#include <QMessageBox>
#include <QtGlobal>

std::string aboutText() {
    // The version is the build's project version; the Qt one is what the program runs on,
    // which may be newer than the one it was built with.
    return std::string(product::Title) + "\n" + product::Subtitle +
           "\nVersion " VSK5_VERSION "\nLicence: GPL-3.0-or-later\nQt " + qVersion();
}

void showAbout(QWidget& parent) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("About ") + product::Title,
                    QString::fromStdString(aboutText()), QMessageBox::Ok, &parent);
    ui::execModal(box);
}
