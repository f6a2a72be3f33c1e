// The settings file reader and writer: case-insensitive names, blanks around '=', creation of
// file, section and key, and every other line kept as it was.
#include "platform/IniFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using platform::IniFile;
using testsupport::TempDir;

namespace {

const char* const HandWritten = "; settings kept by hand\r\n"
                                "[Other]\r\n"
                                "ComPort=9\r\n"
                                "\r\n"
                                "[option]\r\n"
                                "  comport   =  3  \r\n"
                                "# a comment that must survive\r\n"
                                "MR-12(RF Power) = 1\r\n"
                                "Quoted=\"two words\"\r\n"
                                "\r\n"
                                "[Last]\r\n"
                                "x=y\r\n";

} // namespace

TEST(IniFileTest, ReadsNamesWithoutRegardToCaseAndBlanks) {
    TempDir dir;
    dir.writeFile("a.ini", HandWritten);
    const IniFile ini(dir.file("a.ini"));
    EXPECT_EQ(ini.read("OPTION", "ComPort", "d"), "3");
    EXPECT_EQ(ini.read("Option", "mr-12(rf power)", "d"), "1");
    EXPECT_EQ(ini.read("OPTION", "Quoted", "d"), "two words");
    EXPECT_EQ(ini.read("Other", "ComPort", "d"), "9");
    EXPECT_EQ(ini.read("OPTION", "Missing", "d"), "d");
    EXPECT_EQ(ini.read("Nowhere", "ComPort", "d"), "d");
    EXPECT_EQ(IniFile(dir.file("absent.ini")).read("OPTION", "ComPort", "dflt"), "dflt");
}

TEST(IniFileTest, ReplacingAKeyKeepsEveryOtherLine) {
    TempDir dir;
    dir.writeFile("a.ini", HandWritten);
    const IniFile ini(dir.file("a.ini"));
    ASSERT_TRUE(ini.write("OPTION", "ComPort", "4"));
    std::string expected = HandWritten;
    expected.replace(expected.find("  comport   =  3  "), 18, "ComPort=4");
    EXPECT_EQ(dir.readFile("a.ini"), expected);
}

TEST(IniFileTest, NewKeyGoesAtTheEndOfItsSection) {
    TempDir dir;
    dir.writeFile("a.ini", HandWritten);
    const IniFile ini(dir.file("a.ini"));
    ASSERT_TRUE(ini.write("Option", "MR-0(Appear)", "1"));
    std::string expected = HandWritten;
    expected.insert(expected.find("\r\n\r\n[Last]") + 2, "MR-0(Appear)=1\r\n");
    EXPECT_EQ(dir.readFile("a.ini"), expected);
    EXPECT_EQ(ini.read("OPTION", "MR-0(Appear)", ""), "1");
}

TEST(IniFileTest, CreatesFileAndSection) {
    TempDir dir;
    const IniFile ini(dir.file("new.ini"));
    ASSERT_TRUE(ini.write("OPTION", "ComPort", "1"));
    ASSERT_TRUE(ini.write("OPTION", "MR-12(RF Power)", "0"));
    ASSERT_TRUE(ini.write("PORTS", "COM1", "/dev/pts/3"));
    EXPECT_EQ(dir.readFile("new.ini"),
              "[OPTION]\nComPort=1\nMR-12(RF Power)=0\n[PORTS]\nCOM1=/dev/pts/3\n");
}

TEST(IniFileTest, FileWithoutFinalLineEndGetsNewSectionOnItsOwnLine) {
    TempDir dir;
    dir.writeFile("a.ini", "[A]\nk=v");
    const IniFile ini(dir.file("a.ini"));
    ASSERT_TRUE(ini.write("B", "k", "w"));
    EXPECT_EQ(dir.readFile("a.ini"), "[A]\nk=v\n[B]\nk=w\n");
}

TEST(IniFileTest, UnwritableFileReportsFalse) {
    const IniFile ini("/nonexistent-folder/sub/a.ini");
    EXPECT_FALSE(ini.write("OPTION", "ComPort", "1"));
}
