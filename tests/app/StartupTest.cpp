// The start-up through runUtility: another copy running ends it at once, a lock that cannot be
// taken does not; a constants file that cannot be read (or holds a constant that is no number)
// ends it after the settings are saved; a readable one shows the window.
#include "tests/app/StartupFixture.h"

#include <QDir>
#include <QFile>
#include <QLockFile>

#include <functional>

namespace {

using StartupTest = testsupport::StartupFixture;

// How the lock cannot be had, set up in the test's folder; none of them is another copy.
struct LockFault {
    const char* name;
    std::function<void(const testsupport::TempDir&, StartupPlaces&)> arrange;
};

class LockUnavailableTest : public StartupTest, public ::testing::WithParamInterface<LockFault> {};

class ConstantNotANumberTest : public StartupTest,
                               public ::testing::WithParamInterface<const char*> {};

} // namespace

TEST_F(StartupTest, SecondCopyIsRefusedAndTouchesNothing) {
    QDir().mkpath(QString::fromStdString(places.lockFolder));
    QLockFile running(QString::fromStdString(places.lockFolder + "/" + places.lockName));
    ASSERT_TRUE(running.tryLock(0));
    dir.writeFile("Const.ini", "VS-K5 ALN Rev.1.0\n");
    EXPECT_EQ(run(), 1);
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(
        recorder.messages()[0].text,
        "Cannot execute VS-K5 ALN Rev.1.0 repeatedly.\r\nVS-K5 ALN Rev.1.0 is already executing.");
    EXPECT_EQ(recorder.messages()[0].title, "VS-K5 ALN Rev.1.0");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.file("VSK5ALN.ini"))));
}

// A lock that cannot be taken at all says nothing about another copy: the start goes on (to the
// missing constants file here), and the settings are kept as on any end.
TEST_P(LockUnavailableTest, LetsTheStartGoOn) {
    GetParam().arrange(dir, places);
    EXPECT_EQ(run(), 1);
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text, "Cannot read 'Const.ini'.");
    EXPECT_TRUE(QFile::exists(QString::fromStdString(dir.file("VSK5ALN.ini"))));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, LockUnavailableTest,
    ::testing::Values(LockFault{"FolderUnderAPlainFile",
                                [](const testsupport::TempDir& d, StartupPlaces& p) {
                                    d.writeFile("plain", "");
                                    p.lockFolder = d.file("plain/run");
                                }},
                      LockFault{"FolderIsAPlainFile",
                                [](const testsupport::TempDir& d, StartupPlaces& p) {
                                    d.writeFile("plain", "");
                                    p.lockFolder = d.file("plain");
                                }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartupTest, MissingConstantsFileEndsAfterSavingTheSettings) {
    dir.writeFile("VSK5ALN.ini", "[OPTION]\nComPort=2\n");
    EXPECT_EQ(run(), 1);
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text, "Cannot read 'Const.ini'.");
    const std::string saved = dir.readFile("VSK5ALN.ini");
    EXPECT_NE(saved.find("ComPort=2\n"), std::string::npos);
    EXPECT_NE(saved.find("MR-30(RF Power)=0\n"), std::string::npos);
}

TEST_F(StartupTest, ConstantsFileOfAnotherRevisionEndsTheSameWay) {
    dir.writeFile("Const.ini", "VS-K5 ALN Rev.1.1\n" + std::string(21, '\n'));
    EXPECT_EQ(run(), 1);
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text, "Cannot read 'Const.ini'.");
    EXPECT_NE(dir.readFile("VSK5ALN.ini").find("ComPort=1\n"), std::string::npos);
}

TEST_F(StartupTest, ReadableConstantsFileShowsTheWindowUntilExit) {
    dir.writeFile("Const.ini", constantsFile("-2.5e-3"));
    bool shown = false;
    EXPECT_EQ(run([&shown](frmMain& window) { shown = window.isVisible(); }), 0);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(recorder.messages().empty());
    EXPECT_NE(dir.readFile("VSK5ALN.ini").find("ComPort=1\n"), std::string::npos);
}

// A constant beyond single precision or reading as not-a-number would reach the radio through
// the TXF procedure: the start ends as for an unreadable file.
TEST_P(ConstantNotANumberTest, EndsTheStartLikeAnUnreadableFile) {
    dir.writeFile("Const.ini", constantsFile(GetParam()));
    EXPECT_EQ(run(), 1);
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text, "Cannot read 'Const.ini'.");
}

INSTANTIATE_TEST_SUITE_P(Lines, ConstantNotANumberTest,
                         ::testing::Values("1e40", "nan", "-3.5e38", "Infinity"));
