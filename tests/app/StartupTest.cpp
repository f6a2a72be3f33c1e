// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up through runUtility: another copy running ends it at once, a lock that cannot be
// taken does not (InstanceLockTest has the ways it cannot be); the constants file is taken from
// the first of its places that has one; none ends it after the settings are saved
// (FileFaultsTest has the files refused); a readable one shows the window until exit.
#include "tests/app/StartupFixture.h"

#include "ui/frmMain.h"

#include <QDir>
#include <QFile>
#include <QLockFile>

namespace {

using StartupTest = testsupport::StartupFixture;

// What each place holds: "good" a file the model takes, "bad" one of another revision, "" none.
struct ConstantsPlaces {
    const char* name;
    const char* here;
    const char* user;
    const char* data;
    const char* refused; // the place named in the message: "here", "user", or "" (no message)
};

class ConstantsPlacesTest : public StartupTest,
                            public ::testing::WithParamInterface<ConstantsPlaces> {};

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

// A lock that cannot be taken at all (a folder in its place) says nothing about another copy:
// the start goes on, to the missing constants file here, which ends it after the settings are
// saved.
TEST_F(StartupTest, UnavailableLockAndMissingConstantsEndAfterSavingTheSettings) {
    QDir().mkpath(QString::fromStdString(dir.file("run/") + places.lockName));
    dir.writeFile("VSK5ALN.ini", "[OPTION]\nComPort=2\n");
    EXPECT_EQ(run(), 1);
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text, notFoundText());
    const std::string saved = dir.readFile("VSK5ALN.ini");
    EXPECT_NE(saved.find("ComPort=2\n"), std::string::npos);
    EXPECT_NE(saved.find("MR-30(RF Power)=0\n"), std::string::npos);
}

// Accepted, the window shows until it is closed, which ends the program as "E&xit" does:
// settings saved, nothing running. Refused, the settings are saved all the same.
TEST_P(ConstantsPlacesTest, TheFirstPlaceWithAFileDecides) {
    const ConstantsPlaces& p = GetParam();
    dir.makeFolder("user/VSK5ALN");
    dir.makeFolder("share");
    const std::pair<const char*, const char*> files[] = {
        {p.here, "Const.ini"}, {p.user, "user/VSK5ALN/Const.ini"}, {p.data, "share/Const.ini"}};
    for (const auto& [what, file] : files) {
        if (*what != '\0') {
            dir.writeFile(file, std::string(what) == "good"
                                    ? constantsFile()
                                    : "VS-K5 ALN Rev.1.1\n" + std::string(21, '\n'));
        }
    }
    const std::string refused = p.refused;
    bool shown = false;
    const int exit = run([&shown](frmMain& window) { shown = window.isVisible(); });
    EXPECT_EQ(exit, refused.empty() ? 0 : 1);
    EXPECT_EQ(shown, refused.empty());
    EXPECT_NE(dir.readFile("VSK5ALN.ini").find("ComPort=1\n"), std::string::npos);
    if (refused.empty()) {
        EXPECT_TRUE(recorder.messages().empty());
    } else {
        ASSERT_EQ(recorder.messages().size(), 1u);
        EXPECT_EQ(recorder.messages()[0].text,
                  refused == "here" ? refusedHere()
                                    : refusedText(dir.file("user/VSK5ALN/Const.ini")));
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Places, ConstantsPlacesTest, ::testing::Values(
    ConstantsPlaces{"CurrentFolderWins",       "good", "bad",  "bad",  ""},
    ConstantsPlaces{"UserFolderNext",          "",     "good", "bad",  ""},
    ConstantsPlaces{"InstalledDataFolderLast", "",     "",     "good", ""},
    ConstantsPlaces{"RefusedHereIsNamed",      "bad",  "good", "good", "here"},
    ConstantsPlaces{"RefusedInUserFolderStops", "",    "bad",  "good", "user"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on
