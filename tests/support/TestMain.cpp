// Test entry point: an offscreen Qt application (widgets work, nothing appears on a screen)
// and the test clock, so no test ever waits on the real time.
#include "platform/TickCount.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::TickCount::useTestClock(0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
