// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file reader and writer: case-insensitive names, blanks around '=', creation of
// file and section, and every other line kept as it was.
#include "platform/IniFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using platform::IniFile;
using testsupport::TempDir;

TEST(IniFileTest, ReadsWithoutRegardToCaseAndWritesKeepingEveryOtherLine) {
    // clang-format off
    const std::string handWritten = "; settings kept by hand\r\n[Other]\r\nComPort=9\r\n\r\n"
        "[option]\r\n  comport   =  3  \r\n# a comment that must survive\r\nMR-12(RF Power) = 1\r\n"
        "\r\n[Last]\r\nx=y\r\n";
    // clang-format on
    TempDir dir;
    dir.writeFile("a.ini", handWritten);
    const IniFile ini(dir.file("a.ini"));
    EXPECT_EQ(ini.read("OPTION", "ComPort", "d"), "3");
    EXPECT_EQ(ini.read("Option", "mr-12(rf power)", "d"), "1");
    EXPECT_EQ(ini.read("Other", "ComPort", "d"), "9");
    EXPECT_EQ(ini.read("OPTION", "Missing", "d"), "d");
    ASSERT_TRUE(ini.write("OPTION", "ComPort", "4"));      // replaced where it stands
    ASSERT_TRUE(ini.write("Option", "MR-0(Appear)", "1")); // added at the end of its section
    std::string expected = handWritten;
    expected.replace(expected.find("  comport   =  3  "), 18, "ComPort=4");
    expected.insert(expected.find("\r\n\r\n[Last]") + 2, "MR-0(Appear)=1\r\n");
    EXPECT_EQ(dir.readFile("a.ini"), expected);
}

TEST(IniFileTest, CreatesFileAndSectionOrReportsFalse) {
    TempDir dir;
    ASSERT_TRUE(IniFile(dir.file("new.ini")).write("OPTION", "ComPort", "1"));
    ASSERT_TRUE(IniFile(dir.file("new.ini")).write("PORTS", "COM1", "/dev/pts/3"));
    EXPECT_EQ(dir.readFile("new.ini"), "[OPTION]\nComPort=1\n[PORTS]\nCOM1=/dev/pts/3\n");
    dir.writeFile("a.ini", "[A]\nk=v"); // no line end after the last line
    ASSERT_TRUE(IniFile(dir.file("a.ini")).write("B", "k", "w"));
    EXPECT_EQ(dir.readFile("a.ini"), "[A]\nk=v\n[B]\nk=w\n");
    EXPECT_FALSE(IniFile("/nonexistent-folder/sub/a.ini").write("OPTION", "ComPort", "1"));
}

// Many keys in one write land as they would one at a time, and the file is replaced once (or
// not at all when nothing changes): a settings file of megabytes costs one read and one write.
TEST(IniFileTest, ManyKeysInOneWriteLandAsOneAtATimeAndTheFileIsReplacedOnce) {
    const std::string start = "[A]\r\nk=1\r\n  same = 2 \r\n[B]\r\nx=y";
    const std::vector<IniFile::Entry> entries = {
        {"A", "k", "5"}, {"A", "new", "6"}, {"C", "c", "7"}, {"A", "same", "2"}, {"a", "K", "8"}};
    TempDir dir;
    dir.writeFile("one.ini", start);
    dir.writeFile("all.ini", start);
    for (const IniFile::Entry& e : entries) {
        ASSERT_TRUE(IniFile(dir.file("one.ini")).write(e.section, e.key, e.value));
    }
    struct stat before {};
    ::stat(dir.file("all.ini").c_str(), &before);
    ASSERT_TRUE(IniFile(dir.file("all.ini")).write(entries));
    struct stat after {};
    ::stat(dir.file("all.ini").c_str(), &after);
    EXPECT_EQ(dir.readFile("all.ini"), dir.readFile("one.ini"));
    EXPECT_NE(after.st_ino, before.st_ino) << "replaced by the rename";
    ASSERT_TRUE(IniFile(dir.file("all.ini")).write(entries)); // every key holds its value now
    struct stat unchanged {};
    ::stat(dir.file("all.ini").c_str(), &unchanged);
    EXPECT_EQ(unchanged.st_ino, after.st_ino) << "nothing to change: not written";
}
