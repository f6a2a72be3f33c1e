// Test entry point: an offscreen Qt application (widgets work, nothing appears on a screen),
// the test clock, so no test ever waits on the real time, and Qt's test folders in place of
// the user's own configuration folder, so no test can leave settings in it.
#include "platform/TickCount.h"

#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    platform::TickCount::useTestClock(0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
