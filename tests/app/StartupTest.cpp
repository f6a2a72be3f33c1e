// The ways the start-up ends at once: another copy running, and a constants file that cannot
// be read (the settings are saved before the end).
#include "app/start.h"
#include "platform/InstanceLock.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>

namespace {

class StartupTest : public ::testing::Test {
  protected:
    StartupTest() {
        previous = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(dir.path()));
        places.lockName =
            "VSK5ALN-test-" + std::to_string(QCoreApplication::applicationPid()) + ".lock";
        places.settingsFolder = dir.path();
    }
    ~StartupTest() override { QDir::setCurrent(previous); }

    testsupport::TempDir dir;
    testsupport::MessageRecorder recorder;
    StartupPlaces places;
    QString previous;
};

} // namespace

TEST_F(StartupTest, SecondCopyIsRefusedAndTouchesNothing) {
    platform::InstanceLock running(places.lockName);
    ASSERT_TRUE(running.acquire());
    dir.writeFile("Const.ini", "VS-K5 ALN Rev.1.0\n");
    EXPECT_EQ(runUtility(places), 1);
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(
        recorder.messages()[0].text,
        "Cannot execute VS-K5 ALN Rev.1.0 repeatedly.\r\nVS-K5 ALN Rev.1.0 is already executing.");
    EXPECT_EQ(recorder.messages()[0].title, "VS-K5 ALN Rev.1.0");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.file("VSK5ALN.ini"))));
}

TEST_F(StartupTest, MissingConstantsFileEndsAfterSavingTheSettings) {
    dir.writeFile("VSK5ALN.ini", "[OPTION]\nComPort=2\n");
    EXPECT_EQ(runUtility(places), 1);
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text, "Cannot read 'Const.ini'.");
    const std::string saved = dir.readFile("VSK5ALN.ini");
    EXPECT_NE(saved.find("ComPort=2\n"), std::string::npos);
    EXPECT_NE(saved.find("MR-30(RF Power)=0\n"), std::string::npos);
}

TEST_F(StartupTest, ConstantsFileOfAnotherRevisionEndsTheSameWay) {
    dir.writeFile("Const.ini", "VS-K5 ALN Rev.1.1\n" + std::string(21, '\n'));
    EXPECT_EQ(runUtility(places), 1);
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text, "Cannot read 'Const.ini'.");
    EXPECT_NE(dir.readFile("VSK5ALN.ini").find("ComPort=1\n"), std::string::npos);
}
