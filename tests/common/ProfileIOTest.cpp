// SPDX-License-Identifier: GPL-3.0-or-later
// Typed settings values: round trips, defaults, empty values, trailing blanks, values that do
// not convert and the length limit; and the user's folder taking them when the program's
// folder is read-only.
#include "common/clsCmcProfileIO.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

// Values saved and loaded again under one key (so a save that did not happen shows), then
// values as they stand in a hand-edited file: a value that is empty or does not convert
// leaves the variable as it was.
TEST(ProfileIOTest, ValuesRoundTripAndReadAsTheyStandInTheFile) {
    testsupport::TempDir dir;
    clsCmcProfileIO profile;
    profile.setPath(dir.path());
    profile.setName("VSK5ALN.ini");
    profile.setSection("OPTION");
    const auto roundTrip = [&profile](auto value) {
        EXPECT_TRUE(profile.saveData("k", value));
        decltype(value) loaded{};
        EXPECT_TRUE(profile.loadData("k", loaded));
        return loaded;
    };
    EXPECT_EQ(roundTrip(std::int16_t{-32768}), -32768);
    EXPECT_EQ(roundTrip(std::int32_t{14452500}), 14452500);
    EXPECT_EQ(roundTrip(0.015f), 0.015f);
    EXPECT_EQ(roundTrip(1.0 / 3.0), 1.0 / 3.0);
    EXPECT_EQ(roundTrip(std::uint8_t{255}), 255);
    EXPECT_EQ(roundTrip(std::string("COM text")), "COM text");
    EXPECT_TRUE(roundTrip(true));
    EXPECT_FALSE(roundTrip(false));
    const QDateTime when(QDate(2026, 12, 6), QTime(8, 5, 9));
    EXPECT_EQ(roundTrip(when), when);
    EXPECT_NE(dir.readFile("VSK5ALN.ini").find("k=2026.12.06-08:05:09"), std::string::npos);
    dir.writeFile("VSK5ALN.ini", "[OPTION]\nEmpty=\nBlanks=42   \nWord=abc\nBig=70000\nByte=256\n"
                                 "Date=2026.13.01-00:00:00\nLong=" +
                                     std::string(300, 'x') + "\n");
    // clang-format off
    struct Case { const char* key; bool loaded; int value; } const cases[] = {{"ComPort", true, 1},
        {"Empty", false, 5}, {"Blanks", true, 42}, {"Word", false, 5}, {"Big", false, 5}};
    // clang-format on
    for (const Case& c : cases) {
        std::int16_t n = 5; // 1 is the default for a missing key
        EXPECT_EQ(profile.loadData(c.key, n, std::int16_t{1}), c.loaded) << c.key;
        EXPECT_EQ(n, c.value) << c.key;
    }
    std::uint8_t byte = 6;
    QDateTime date(QDate(2000, 1, 1), QTime(0, 0));
    EXPECT_FALSE(profile.loadData("Byte", byte));
    EXPECT_FALSE(profile.loadData("Date", date)); // month 13
    EXPECT_EQ(byte, 6);
    EXPECT_EQ(date, QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
    std::string text;
    EXPECT_TRUE(profile.loadData("Long", text));
    EXPECT_EQ(text, std::string(254, 'x'));
    EXPECT_EQ(clsCmcProfileIO::StripTerminator(std::string("abc\0def", 7)), "abc");
}

// With the folder beside the program read-only, values go to the user's folder (given here
// without its closing separator) and are read back from there; the file beside the program
// stays as it was and is named no more.
TEST(ProfileIOTest, ReadOnlyProgramFolderSendsTheValuesToTheUserFolder) {
    namespace fs = std::filesystem;
    testsupport::TempDir dir;
    dir.makeFolder("prog");
    dir.writeFile("prog/VSK5ALN.ini", "[OPTION]\nComPort=2\n");
    dir.setMode("prog", fs::perms::owner_read | fs::perms::owner_exec);
    clsCmcProfileIO profile;
    profile.setPath(dir.file("prog/"));
    profile.setName("VSK5ALN.ini");
    profile.setSection("OPTION");
    profile.setUserPath(dir.file("user"));
    EXPECT_EQ(profile.UserPath(), dir.file("user/"));
    EXPECT_EQ(profile.ProfileInUse(), dir.file("prog/VSK5ALN.ini"));
    EXPECT_EQ(profile.ProfileToSave(), dir.file("user/VSK5ALN.ini"));

    std::int16_t port = 0;
    EXPECT_TRUE(profile.loadData("ComPort", port, std::int16_t{1}));
    EXPECT_EQ(port, 2);
    EXPECT_TRUE(profile.saveData("ComPort", std::int16_t{3}));
    EXPECT_EQ(profile.ProfileInUse(), dir.file("user/VSK5ALN.ini"));
    EXPECT_TRUE(profile.loadData("ComPort", port, std::int16_t{1}));
    EXPECT_EQ(port, 3);
    EXPECT_EQ(dir.readFile("prog/VSK5ALN.ini"), "[OPTION]\nComPort=2\n");
    EXPECT_EQ(dir.readFile("user/VSK5ALN.ini"), "[OPTION]\nComPort=3\n");

    profile.setUserPath("");
    EXPECT_FALSE(profile.saveData("ComPort", std::int16_t{4})); // no second place to go to
}

// Saves between beginSaving and commitSaving reach the file at the commit; a save after the
// commit goes to the file at once, not into a save of its own that never comes.
TEST(ProfileIOTest, ASaveAfterTheCommitReachesTheFileAtOnce) {
    testsupport::TempDir dir;
    dir.writeFile("VSK5ALN.ini", "[OPTION]\nComPort=1\n");
    clsCmcProfileIO profile;
    profile.setPath(dir.path());
    profile.setName("VSK5ALN.ini");
    profile.setSection("OPTION");
    profile.beginSaving();
    EXPECT_TRUE(profile.saveData("ComPort", std::int16_t{3}));
    EXPECT_TRUE(profile.saveData("ComAutoRelease", std::int16_t{2}));
    EXPECT_TRUE(profile.commitSaving());
    EXPECT_TRUE(profile.saveData("ComPort", std::int16_t{4})) << "after the commit: at once";
    EXPECT_EQ(dir.readFile("VSK5ALN.ini"), "[OPTION]\nComPort=4\nComAutoRelease=2\n");
}
