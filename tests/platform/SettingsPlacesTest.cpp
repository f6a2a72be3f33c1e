// SPDX-License-Identifier: GPL-3.0-or-later
// Where the settings are read and written as the place beside the program and the user's
// folder allow: one table of situations, each followed through read, write and read again.
#include "platform/SettingsPlaces.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <optional>

using platform::SettingsPlaces;
using testsupport::TempDir;
namespace fs = std::filesystem;

namespace {

const std::string ProgramText = "; kept by hand\n[PORTS]\nCOM3=/dev/ttyACM9\n[OPTION]\nComPort=2\n";
const std::string UserText = "[OPTION]\nComPort=1\n";

enum class Place { Program, User, Nowhere };

struct PlaceCase {
    const char* name;
    unsigned programFolderMode;
    unsigned programFileMode; // 0: no file beside the program
    unsigned userFolderMode;  // 0: the user's folder is not there yet
    unsigned userFileMode;    // 0: no user's file yet
    Place readBefore;
    Place written;
    Place readAfter;
};

class SettingsPlacesTest : public ::testing::TestWithParam<PlaceCase> {
  protected:
    void SetUp() override {
        const PlaceCase& c = GetParam();
        dir.makeFolder("prog");
        if (c.programFileMode != 0) {
            dir.writeFile("prog/VSK5ALN.ini", ProgramText);
            dir.setMode("prog/VSK5ALN.ini", fs::perms(c.programFileMode));
        }
        dir.setMode("prog", fs::perms(c.programFolderMode));
        if (c.userFolderMode != 0) {
            dir.makeFolder("user");
            if (c.userFileMode != 0) {
                dir.writeFile("user/VSK5ALN.ini", UserText);
                dir.setMode("user/VSK5ALN.ini", fs::perms(c.userFileMode));
            }
            dir.setMode("user", fs::perms(c.userFolderMode));
        }
    }

    std::string fileOf(Place place) const {
        return dir.file(place == Place::Program ? "prog/VSK5ALN.ini" : "user/VSK5ALN.ini");
    }

    TempDir dir;
    SettingsPlaces places{dir.file("prog/VSK5ALN.ini"), dir.file("user/VSK5ALN.ini")};
};

} // namespace

TEST_P(SettingsPlacesTest, ReadsAndWritesWhereTheFoldersAllow) {
    const PlaceCase& c = GetParam();
    const std::string programBefore = dir.readFile("prog/VSK5ALN.ini");
    const std::string userBefore = dir.readFile("user/VSK5ALN.ini");
    EXPECT_EQ(places.fileToRead(), fileOf(c.readBefore));

    EXPECT_EQ(places.write("OPTION", "ComPort", "3"), c.written != Place::Nowhere);
    // Named when the write fails: the user's file, the last place tried.
    EXPECT_EQ(places.fileToWrite(), fileOf(c.written == Place::Nowhere ? Place::User : c.written));
    EXPECT_EQ(places.fileToRead(), fileOf(c.readAfter));

    const std::string program = dir.readFile("prog/VSK5ALN.ini");
    const std::string user = dir.readFile("user/VSK5ALN.ini");
    if (c.written == Place::Program) {
        EXPECT_NE(program.find("ComPort=3\n"), std::string::npos);
    } else {
        EXPECT_EQ(program, programBefore); // left exactly as it was, no new file beside it
        EXPECT_EQ(dir.mode("prog"), fs::perms(c.programFolderMode));
        EXPECT_FALSE(dir.exists("prog/VSK5ALN.ini.new"));
    }
    if (c.written == Place::User && userBefore.empty()) {
        // Started as a copy of the file beside the program: its comments and ports stay.
        const std::string seed = c.programFileMode != 0 ? "; kept by hand\n[PORTS]\n"
                                                          "COM3=/dev/ttyACM9\n[OPTION]\n"
                                                        : "[OPTION]\n";
        EXPECT_EQ(user, seed + "ComPort=3\n");
    } else if (c.written == Place::User) {
        EXPECT_EQ(user, "[OPTION]\nComPort=3\n"); // an existing copy is not started afresh
    } else {
        EXPECT_EQ(user, userBefore);
    }
    if (c.programFileMode != 0 && c.written != Place::Program) {
        EXPECT_EQ(dir.mode("prog/VSK5ALN.ini"), fs::perms(c.programFileMode));
    }
}

// Program, user, nowhere: short names so that each situation fits one line of the table.
constexpr Place P = Place::Program;
constexpr Place U = Place::User;
constexpr Place N = Place::Nowhere;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Situations, SettingsPlacesTest, ::testing::Values(
    //        name                          prog  file  user  file  read  write  read after
    PlaceCase{"ProgramPlaceWritable",       0755, 0644, 0,    0,    P,    P,     P},
    PlaceCase{"ProgramFolderReadOnly",      0555, 0644, 0,    0,    P,    U,     U},
    PlaceCase{"ProgramFileReadOnly",        0755, 0444, 0,    0,    P,    U,     U},
    PlaceCase{"BothReadOnly",               0555, 0444, 0,    0,    P,    U,     U},
    PlaceCase{"ReadOnlyFolderWithoutFile",  0555, 0,    0,    0,    P,    U,     U},
    PlaceCase{"UserCopyThereAlready",       0555, 0644, 0755, 0644, U,    U,     U},
    PlaceCase{"WritableProgramPlaceWins",   0755, 0644, 0755, 0644, P,    P,     P},
    PlaceCase{"UserFolderReadOnly",         0555, 0644, 0555, 0,    P,    N,     P},
    PlaceCase{"UserFileReadOnly",           0555, 0644, 0755, 0444, U,    N,     U}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(SettingsPlacesPortsTest, PortsAreLookedUpInTheFileInUseThenBesideTheProgram) {
    TempDir dir;
    dir.makeFolder("prog");
    dir.writeFile("prog/VSK5ALN.ini", ProgramText);
    const SettingsPlaces places(dir.file("prog/VSK5ALN.ini"), dir.file("user/VSK5ALN.ini"));
    EXPECT_EQ(places.portsFiles(), std::vector<std::string>{dir.file("prog/VSK5ALN.ini")});
    dir.setMode("prog", fs::perms(0555));
    EXPECT_EQ(places.portsFiles(), std::vector<std::string>{dir.file("prog/VSK5ALN.ini")});
    ASSERT_TRUE(places.write("OPTION", "ComPort", "3"));
    EXPECT_EQ(places.portsFiles(), (std::vector<std::string>{dir.file("user/VSK5ALN.ini"),
                                                             dir.file("prog/VSK5ALN.ini")}));
}

TEST(SettingsPlacesPortsTest, WithoutAUserFolderOnlyTheProgramPlaceIsTried) {
    TempDir dir;
    dir.makeFolder("prog");
    dir.setMode("prog", fs::perms(0555));
    const SettingsPlaces places(dir.file("prog/VSK5ALN.ini"), "");
    EXPECT_FALSE(places.write("OPTION", "ComPort", "3"));
    EXPECT_EQ(places.fileToRead(), dir.file("prog/VSK5ALN.ini"));
    EXPECT_EQ(places.fileToWrite(), dir.file("prog/VSK5ALN.ini"));
}
