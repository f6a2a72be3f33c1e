// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up run through runUtility in a scratch folder that is also the current directory
// (where "Const.ini" is looked for first): the lock, the settings beside the "program", the
// user's settings folder and the installed data folder all point into it, and message boxes
// are recorded.
#pragma once

#include "app/start.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QString>
#include <QTimer>

#include <functional>
#include <string>

namespace testsupport {

class StartupFixture : public ::testing::Test {
  public:
    // A constants file the utility accepts, with constant 7 as given.
    static std::string constantsFile(const std::string& constant = "1.5") {
        std::string text = "VS-K5 ALN Rev.1.0\n";
        for (int i = 0; i <= 20; ++i) {
            text += (i == 7 ? constant : "1.5") + "\n";
        }
        return text;
    }

  protected:
    StartupFixture() {
        previous = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(dir.path()));
        places.lockFolder = dir.file("run");
        places.utility.settingsFolder = dir.path();
        places.utility.userSettingsFolder = dir.file("user/VSK5ALN/");
        places.utility.dataFolder = dir.file("share");
    }
    ~StartupFixture() override { QDir::setCurrent(previous); }

    // Runs the utility. Should its window come up, the event loop hands it to whileRunning and
    // then closes it, so a start that ought to have ended early fails the test instead of
    // waiting for a technician.
    int run(const std::function<void(frmMain&)>& whileRunning = {}) {
        QTimer driver;
        driver.setSingleShot(true);
        QObject::connect(&driver, &QTimer::timeout, [&whileRunning] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* window = dynamic_cast<frmMain*>(widget); window && window->isVisible()) {
                    if (whileRunning) {
                        whileRunning(*window);
                    }
                    window->close();
                }
            }
        });
        driver.start(0);
        return runUtility(places);
    }

    // What the technician is told when no place has "Const.ini", and when the one found was
    // refused.
    std::string notFoundText(const std::string& userFolder = "user/VSK5ALN") const {
        return "Cannot read 'Const.ini'.\r\nNot found in " + QDir::currentPath().toStdString() +
               ", " + dir.file(userFolder) + " or " + dir.file("share") + ".";
    }
    static std::string refusedText(const std::string& file) {
        return "Cannot read 'Const.ini'.\r\n'" + file + "' is not a valid constants file.";
    }
    std::string refusedHere() const {
        return refusedText(QDir::currentPath().toStdString() + "/Const.ini");
    }

    TempDir dir;
    MessageRecorder recorder;
    StartupPlaces places;
    QString previous;
};

} // namespace testsupport
