// SPDX-License-Identifier: GPL-3.0-or-later
// The settings through whole runs of the utility when the program's own folder or settings file
// is read-only: they go to the user's folder and come back from there, the PORTS mapping and
// the comments go with them, the read-only file stays as it was, and when no place takes them
// the technician hears of it once.
#include "model/TestChannels.h"
#include "platform/QtSerialControl.h"
#include "tests/app/StartupFixture.h"
#include "ui/frmMain.h"

#include <QAction>

using testsupport::TempDir;
namespace fs = std::filesystem;

namespace {

const std::string HandWritten = "; kept by hand\n[PORTS]\nCOM3=/dev/ttyACM9\nCOM4=/dev/ttyACM4\n"
                                "[OPTION]\nComPort=2\n";

class ReadOnlyProgramFolderTest : public testsupport::StartupFixture {
  protected:
    // The "program" folder holds the hand-written settings, with the modes given.
    void installProgram(unsigned folderMode, unsigned fileMode) {
        dir.makeFolder("prog");
        dir.writeFile("prog/VSK5ALN.ini", HandWritten);
        dir.setMode("prog/VSK5ALN.ini", fs::perms(fileMode));
        dir.setMode("prog", fs::perms(folderMode));
        places.utility.settingsFolder = dir.file("prog/");
    }
    static std::string deviceFor(Utility& utility, std::int16_t port) {
        return dynamic_cast<QtSerialControl&>(utility.door().portManager().MsCom())
            .deviceName(port);
    }
};

} // namespace

// Two runs built as the program builds itself, on the real serial control and settings file.
TEST_F(ReadOnlyProgramFolderTest, SettingsOfOneRunComeBackInTheNext) {
    installProgram(0555, 0444);
    dir.writeFile("Const.ini", constantsFile());
    {
        Utility first(places.utility);
        ASSERT_TRUE(first.startUp(false));
        EXPECT_EQ(first.window().ComPortNo(), 2); // read beside the program
        first.window().mnuOptSelCom(3).trigger();
        first.door().channels().ChUnit(12).setAppearCh(true);
        first.door().channels().ChUnit(12).setFreqOp_Pure(14500625);
        EXPECT_EQ(deviceFor(first, 3), "/dev/ttyACM9");
    } // shut down: the settings are saved
    EXPECT_TRUE(recorder.messages().empty());
    EXPECT_EQ(dir.readFile("prog/VSK5ALN.ini"), HandWritten); // untouched, still read-only
    EXPECT_EQ(dir.mode("prog/VSK5ALN.ini"), fs::perms(0444));
    std::string saved = dir.readFile("user/VSK5ALN/VSK5ALN.ini");
    EXPECT_EQ(saved.rfind("; kept by hand\n[PORTS]\nCOM3=/dev/ttyACM9\nCOM4=/dev/ttyACM4\n", 0),
              0u);
    // The technician maps COM 3 anew in the copy; COM 4 is still only mapped beside the program.
    saved.replace(saved.find("COM3=/dev/ttyACM9\nCOM4=/dev/ttyACM4\n"), 36, "COM3=/dev/ttyACM5\n");
    dir.writeFile("user/VSK5ALN/VSK5ALN.ini", saved);

    Utility second(places.utility);
    ASSERT_TRUE(second.startUp(false));
    EXPECT_EQ(second.window().ComPortNo(), 3);
    EXPECT_TRUE(second.door().channels().ChUnit(12).AppearCh());
    EXPECT_EQ(second.door().channels().ChUnit(12).FreqOp_Pure(), 14500625);
    EXPECT_EQ(deviceFor(second, 3), "/dev/ttyACM5");
    EXPECT_EQ(deviceFor(second, 4), "/dev/ttyACM4");
}

TEST_F(ReadOnlyProgramFolderTest, NowhereToSaveTellsTheTechnicianOnce) {
    installProgram(0555, 0444);
    dir.makeFolder("user");
    dir.setMode("user", fs::perms(0555));
    places.utility.userSettingsFolder = dir.file("user/");
    EXPECT_EQ(run(), 1);
    ASSERT_EQ(recorder.messages().size(), 2u);
    EXPECT_EQ(recorder.messages()[0].text, notFoundText("user"));
    EXPECT_EQ(recorder.messages()[1].text,
              "Cannot save the settings to '" + dir.file("user/") + "VSK5ALN.ini'.");
    EXPECT_EQ(dir.readFile("prog/VSK5ALN.ini"), HandWritten);
}
