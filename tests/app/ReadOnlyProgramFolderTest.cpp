// The settings through whole runs of the utility when the program's own folder or settings file
// is read-only: they go to the user's folder and come back from there, the PORTS mapping and
// the comments go with them, the read-only file stays as it was, and when no place takes them
// the technician hears of it once.
#include "app/frmMain.h"
#include "link/LinkGlobals.h"
#include "link/frmCom.h"
#include "model/clsRig_Ch.h"
#include "platform/QtSerialControl.h"
#include "tests/app/StartupFixture.h"

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
        places.settingsFolder = dir.file("prog/");
    }

    static std::string deviceFor(std::int16_t port) {
        return dynamic_cast<QtSerialControl&>(gObjCom()->MsCom()).deviceName(port);
    }
};

struct ProgramPlace {
    const char* name;
    unsigned folderMode;
    unsigned fileMode;
    bool programWritten; // else the user's folder takes the settings
};

class ProgramPlaceTest : public ReadOnlyProgramFolderTest,
                         public ::testing::WithParamInterface<ProgramPlace> {};

struct UserFault {
    const char* name;
    std::function<void(const TempDir&, StartupPlaces&)> arrange;
};

class NowhereToSaveTest : public ReadOnlyProgramFolderTest,
                          public ::testing::WithParamInterface<UserFault> {};

} // namespace

TEST_F(ReadOnlyProgramFolderTest, SettingsOfOneRunComeBackInTheNext) {
    installProgram(0555, 0444);
    dir.writeFile("Const.ini", constantsFile());
    std::int16_t portAtStart = 0;
    std::string device;
    EXPECT_EQ(run([&](frmMain& window) {
                  portAtStart = window.ComPortNo(); // read beside the program
                  window.mnuOptSelCom(3).trigger();
                  clsRig_Ch& ch = window.ChUnit(12);
                  ch.setAppearCh(true);
                  ch.setFreqOp_Pure(14500625);
                  ch.setFreqOpRef_Pure(1);
                  ch.setRFPower_Pure(1);
                  device = deviceFor(3);
              }),
              0);
    EXPECT_EQ(portAtStart, 2);
    EXPECT_EQ(device, "/dev/ttyACM9");
    EXPECT_TRUE(recorder.messages().empty());
    // The file beside the program is exactly as it was, still read-only.
    EXPECT_EQ(dir.readFile("prog/VSK5ALN.ini"), HandWritten);
    EXPECT_EQ(dir.mode("prog/VSK5ALN.ini"), fs::perms(0444));
    EXPECT_EQ(dir.mode("prog"), fs::perms(0555));
    const std::string saved = dir.readFile("user/VSK5ALN/VSK5ALN.ini");
    EXPECT_EQ(saved.rfind("; kept by hand\n[PORTS]\nCOM3=/dev/ttyACM9\nCOM4=/dev/ttyACM4\n", 0),
              0u);
    EXPECT_NE(saved.find("ComPort=3\n"), std::string::npos);
    EXPECT_NE(saved.find("MR-12(Frequency)=14500625\n"), std::string::npos);

    // The technician maps COM 3 anew in the copy; COM 4 is still only mapped beside the program.
    std::string remapped = saved;
    remapped.replace(remapped.find("COM3=/dev/ttyACM9\nCOM4=/dev/ttyACM4\n"), 36,
                     "COM3=/dev/ttyACM5\n");
    dir.writeFile("user/VSK5ALN/VSK5ALN.ini", remapped);

    std::int16_t port = 0;
    bool appear = false;
    std::int32_t frequency = 0;
    std::string device3;
    std::string device4;
    EXPECT_EQ(run([&](frmMain& window) {
                  port = window.ComPortNo();
                  appear = window.ChUnit(12).AppearCh();
                  frequency = window.ChUnit(12).FreqOp_Pure();
                  device3 = deviceFor(3);
                  device4 = deviceFor(4);
              }),
              0);
    EXPECT_EQ(port, 3);
    EXPECT_TRUE(appear);
    EXPECT_EQ(frequency, 14500625);
    EXPECT_EQ(device3, "/dev/ttyACM5");
    EXPECT_EQ(device4, "/dev/ttyACM4");
    EXPECT_EQ(dir.readFile("prog/VSK5ALN.ini"), HandWritten);
    EXPECT_TRUE(recorder.messages().empty());
}

// A run that ends at the missing constants file still loads and saves the settings.
TEST_P(ProgramPlaceTest, SettingsAreSavedWhereTheyMayBe) {
    const ProgramPlace& p = GetParam();
    installProgram(p.folderMode, p.fileMode);
    EXPECT_EQ(run(), 1);
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text, "Cannot read 'Const.ini'.");
    const std::string program = dir.readFile("prog/VSK5ALN.ini");
    const std::string user = dir.readFile("user/VSK5ALN/VSK5ALN.ini");
    const std::string saved = p.programWritten ? program : user;
    EXPECT_EQ(saved.rfind("; kept by hand\n[PORTS]\n", 0), 0u);
    EXPECT_NE(saved.find("ComPort=2\n"), std::string::npos);
    EXPECT_NE(saved.find("MR-30(RF Power)=0\n"), std::string::npos);
    if (p.programWritten) {
        EXPECT_FALSE(dir.exists("user/VSK5ALN/VSK5ALN.ini"));
    } else {
        EXPECT_EQ(program, HandWritten);
        EXPECT_EQ(dir.mode("prog/VSK5ALN.ini"), fs::perms(p.fileMode));
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Modes, ProgramPlaceTest, ::testing::Values(
    ProgramPlace{"Writable",       0755, 0644, true},
    ProgramPlace{"FolderReadOnly", 0555, 0644, false},
    ProgramPlace{"FileReadOnly",   0755, 0444, false},
    ProgramPlace{"BothReadOnly",   0555, 0444, false}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_P(NowhereToSaveTest, TellsTheTechnicianOnce) {
    installProgram(0555, 0444);
    GetParam().arrange(dir, places);
    EXPECT_EQ(run(), 1);
    ASSERT_EQ(recorder.messages().size(), 2u);
    EXPECT_EQ(recorder.messages()[0].text, "Cannot read 'Const.ini'.");
    EXPECT_EQ(recorder.messages()[1].text,
              "Cannot save the settings to '" + places.userSettingsFolder + "VSK5ALN.ini'.");
    EXPECT_EQ(recorder.messages()[1].title, "VS-K5 ALN Rev.1.0");
    EXPECT_EQ(dir.readFile("prog/VSK5ALN.ini"), HandWritten);
}

INSTANTIATE_TEST_SUITE_P(Faults, NowhereToSaveTest,
                         ::testing::Values(UserFault{"UserFolderReadOnly",
                                                     [](const TempDir& d, StartupPlaces& p) {
                                                         d.makeFolder("user");
                                                         d.setMode("user", fs::perms(0555));
                                                         p.userSettingsFolder = d.file("user/");
                                                     }},
                                           UserFault{"UserFolderUnderAPlainFile",
                                                     [](const TempDir& d, StartupPlaces& p) {
                                                         d.writeFile("plain", "");
                                                         p.userSettingsFolder =
                                                             d.file("plain/VSK5ALN/");
                                                     }},
                                           UserFault{"UserFileReadOnly",
                                                     [](const TempDir& d, StartupPlaces& p) {
                                                         d.makeFolder("user");
                                                         d.writeFile("user/VSK5ALN.ini",
                                                                     "[OPTION]\nComPort=4\n");
                                                         d.setMode("user/VSK5ALN.ini",
                                                                   fs::perms(0444));
                                                         p.userSettingsFolder = d.file("user/");
                                                     }}),
                         [](const auto& info) { return std::string(info.param.name); });
