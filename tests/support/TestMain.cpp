// SPDX-License-Identifier: GPL-3.0-or-later
// Test entry point: the program on the test clock, so no test ever waits on the real time;
// for the windows an offscreen Qt application (widgets work, nothing appears on a screen).
#include "platform/TickCount.h"

#include <QStandardPaths>
#include <gtest/gtest.h>

#ifdef VSK5_TEST_GUI
#include <QApplication>
using Application = QApplication;
#else
#include <QCoreApplication>
using Application = QCoreApplication;
#endif

int main(int argc, char** argv) {
#ifdef VSK5_TEST_GUI
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    Application app(argc, argv);
    // Qt's test folders stand in for the user's own: no test leaves settings in them.
    QStandardPaths::setTestModeEnabled(true);
    platform::TickCount::useTestClock(0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
