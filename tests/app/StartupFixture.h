// The start-up run through runUtility in a scratch folder that is also the current directory
// (where "Const.ini" is looked for): the lock, the settings beside the "program" and the
// user's settings folder all point into it, and message boxes are recorded.
#pragma once

#include "app/frmMain.h"
#include "app/start.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QString>
#include <QTimer>

#include <functional>
#include <string>

namespace testsupport {

class StartupFixture : public ::testing::Test {
  protected:
    StartupFixture() {
        previous = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(dir.path()));
        places.lockFolder = dir.file("run");
        places.settingsFolder = dir.path();
        places.userSettingsFolder = dir.file("user/VSK5ALN/");
    }
    ~StartupFixture() override { QDir::setCurrent(previous); }

    // Runs the utility. Should its window come up, the event loop first hands it to
    // whileRunning and then chooses "E&xit", so a start that ought to have ended early fails
    // the test instead of waiting for a technician. The timer goes with this call, so nothing
    // of it reaches a later test's event loop.
    int run(const std::function<void(frmMain&)>& whileRunning = {}) {
        QTimer driver;
        driver.setSingleShot(true);
        QObject::connect(&driver, &QTimer::timeout, [&whileRunning] {
            if (mainWindowExists()) {
                if (whileRunning) {
                    whileRunning(mainWindow());
                }
                mainWindow().mnuFileExit().trigger();
            }
        });
        driver.start(0);
        return runUtility(places);
    }

    // A constants file the utility accepts, with constant 7 as given.
    static std::string constantsFile(const std::string& constant = "1.5") {
        std::string text = "VS-K5 ALN Rev.1.0\n";
        for (int i = 0; i <= 20; ++i) {
            text += (i == 7 ? constant : "1.5") + "\n";
        }
        return text;
    }

    TempDir dir;
    MessageRecorder recorder;
    StartupPlaces places;
    QString previous;
};

} // namespace testsupport
