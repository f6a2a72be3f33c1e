// SPDX-License-Identifier: GPL-3.0-or-later
// Damaged and odd files through whole runs of the utility, built as the program builds itself:
// a settings file with binary junk, very long lines, 10 MB of text, mixed line ends or hand
// formatting, or in a folder that is missing; a constants file that is empty, binary, UTF-16,
// behind a byte-order mark, or holds a huge number. Each run gets the documented value or
// default, the documented message, or the per-user place, and whatever the technician wrote
// stays as it was, line ends included. (Which place takes the settings when one is read-only
// is SettingsPlacesTest's; the rule of a constant's number is ConstantNumberTest's.)
#include "model/TestChannels.h"
#include "tests/app/StartupFixture.h"
#include "ui/UiHooks.h"
#include "ui/frmInstruments.h"
#include "ui/frmMain.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <random>

namespace fs = std::filesystem;

namespace {

// Bytes of every kind, line ends of every kind among them, a broken section header, NULs; its
// first line ends in LF and a CR LF follows, so a file holding it has CR LF as its own.
std::string junk() {
    std::mt19937 random(7);
    std::string text = "\x01\x02\n[OPT\r\n";
    for (int i = 0; i < 4000; ++i) {
        text += static_cast<char>(random() % 256);
    }
    return text + "\n";
}

// What a run saves besides "ComPort" (every key, in the order saved), each line ended as given.
std::string otherKeys(const std::string& newline) {
    std::string text = "ComAutoRelease=0" + newline;
    for (int c = 0; c < TestChannels::Count; ++c) {
        const std::string ch = "MR-" + std::to_string(c);
        text += ch + "(Appear)=" + (c == 0 ? "1" : "0") + newline + ch + "(Frequency)=14500000" +
                newline + ch + "(Ref)=0" + newline + ch + "(RF Power)=0" + newline;
    }
    return text;
}

struct SettingsCase {
    const char* name;
    std::string before; // the settings file beside the program
    int comPort;        // what the run reads
    std::string after;  // the file that takes the settings after COM 2 was chosen
    // What both files begin with, when it runs to megabytes: made only when its case runs, not
    // at the start of every test process (which holds each row several times over).
    std::string (*lead)() = nullptr;
    bool missingFolder = false; // the program's folder: then the user's takes the settings
};

const std::string LongValue = "4" + std::string(300, ' ') + "; the rest is past the buffer";
// Notes of 1000 characters a line: the sanitizer build reads a file of 10 MB some 250 times
// in a run (once per key) in seconds; in 60-character lines it takes it most of a minute
// (the program itself, optimised, about three seconds).
std::string tenMegabytes() {
    std::string text;
    while (text.size() < 10'000'000) {
        text += "; a technician's notes kept beside the settings" + std::string(952, '.') + "\n";
    }
    return text;
}
std::string aMillionSemicolons() {
    return std::string(1'000'000, ';') + "\n";
}

// clang-format off
const SettingsCase settingsCases[] = {
    {"BinaryJunk", junk() + "[OPTION]\nComPort=3\n", 3,
     junk() + "[OPTION]\nComPort=2\n" + otherKeys("\r\n")},
    {"VeryLongLines", "[OPTION]\nComPort=" + LongValue + "\n", 4,
     "[OPTION]\nComPort=2\n" + otherKeys("\n"), aMillionSemicolons},
    {"TenMegabytes", "[OPTION]\nComPort=3\n", 3, "[OPTION]\nComPort=2\n" + otherKeys("\n"),
     tenMegabytes},
    {"MixedLineEnds", "; by hand\r\n[OPTION]\nComPort=3\r\n\n[PORTS]\r\nCOM1=/dev/ttyUSB0\n", 3,
     "; by hand\r\n[OPTION]\nComPort=2\r\n" + otherKeys("\r\n") +
         "\n[PORTS]\r\nCOM1=/dev/ttyUSB0\n"},
    {"LoneCarriageReturnAtTheEnd", "[OPTION]\nComPort=3\n[Notes]\n; end\r", 3,
     "[OPTION]\nComPort=2\n" + otherKeys("\n") + "[Notes]\n; end\r"},
    {"MissingFolder", "", 1, "[OPTION]\nComPort=2\n" + otherKeys("\n"), nullptr, true},
};
// clang-format on

class SettingsFileTest : public testsupport::StartupFixture,
                         public ::testing::WithParamInterface<SettingsCase> {};

} // namespace

TEST_P(SettingsFileTest, ReadsWhatItCanAndKeepsEveryOtherByte) {
    const SettingsCase& c = GetParam();
    const std::string lead = c.lead ? c.lead() : "";
    if (!c.missingFolder) {
        dir.makeFolder("prog");
        dir.writeFile("prog/VSK5ALN.ini", lead + c.before);
    }
    places.utility.settingsFolder = dir.file("prog/");
    dir.writeFile("Const.ini", constantsFile());
    {
        Utility utility(places.utility);
        ASSERT_TRUE(utility.startUp(false));
        EXPECT_EQ(utility.window().ComPortNo(), c.comPort);
        utility.window().mnuOptSelCom(2).trigger();
    } // shut down: the settings are saved
    EXPECT_TRUE(recorder.messages().empty());
    const std::string saved =
        dir.readFile(c.missingFolder ? "user/VSK5ALN/VSK5ALN.ini" : "prog/VSK5ALN.ini");
    EXPECT_TRUE(saved == lead + c.after) << saved.substr(0, 200);
}

INSTANTIATE_TEST_SUITE_P(Files, SettingsFileTest, ::testing::ValuesIn(settingsCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A value written by hand and not changed in the run stays as the technician wrote it.
TEST_F(SettingsFileTest, AnUnchangedValueKeepsItsHandWrittenLine) {
    dir.writeFile("VSK5ALN.ini", "[OPTION]\n  ComPort =  3 \nComAutoRelease=\"2\"\n");
    dir.writeFile("Const.ini", constantsFile());
    {
        Utility utility(places.utility);
        ASSERT_TRUE(utility.startUp(false));
        EXPECT_EQ(utility.window().ComAutoRelease(), 2);
    }
    EXPECT_EQ(
        dir.readFile("VSK5ALN.ini").rfind("[OPTION]\n  ComPort =  3 \nComAutoRelease=\"2\"\n", 0),
        0u);
}

namespace {

using testsupport::StartupFixture;

struct ConstantsCase {
    const char* name;
    std::string text;
    bool accepted;
    float constant7 = 0; // when accepted
};

std::string utf16(const std::string& text) {
    std::string wide = "\xFF\xFE";
    for (char c : text) {
        wide += c;
        wide += '\0';
    }
    return wide;
}

// clang-format off
const ConstantsCase constantsCases[] = {
    {"Empty", "", false},
    {"TitleOnlyWithoutLineEnd", "VS-K5 ALN Rev.1.0", false},
    {"Binary", junk(), false},
    {"Utf16", utf16(StartupFixture::constantsFile("2.5")), false},
    {"ByteOrderMark", "\xEF\xBB\xBF" + StartupFixture::constantsFile("2.5"), false},
    {"HugeNumber", StartupFixture::constantsFile("1" + std::string(400, '0')), false},
    {"HugeHexadecimal", StartupFixture::constantsFile("&HFFFFFFFF"), true, 4294967296.0f},
};
// clang-format on

class ConstantsFileTest : public testsupport::StartupFixture,
                          public ::testing::WithParamInterface<ConstantsCase> {};

} // namespace

TEST_P(ConstantsFileTest, IsTakenOrRefusedWithTheMessageAndTheSettingsAreKept) {
    const ConstantsCase& c = GetParam();
    dir.writeFile("VSK5ALN.ini", "[OPTION]\nComPort=3\n");
    dir.writeFile("Const.ini", c.text);
    {
        Utility utility(places.utility);
        EXPECT_EQ(utility.startUp(false), c.accepted);
        if (c.accepted) {
            EXPECT_FLOAT_EQ(utility.door().model().txfTable().constant(7), c.constant7);
        }
    }
    if (c.accepted) {
        EXPECT_TRUE(recorder.messages().empty());
    } else {
        ASSERT_EQ(recorder.messages().size(), 1u);
        EXPECT_EQ(recorder.messages()[0].text, refusedText(dir.file("Const.ini")));
    }
    EXPECT_EQ(dir.readFile("VSK5ALN.ini"), "[OPTION]\nComPort=3\n" + otherKeys("\n"));
}

INSTANTIATE_TEST_SUITE_P(Files, ConstantsFileTest, ::testing::ValuesIn(constantsCases),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

struct InstrumentsCase {
    const char* name;
    std::string before; // the section as the technician left it
    std::string shown;  // the dialog's fields: generator|profile|settle time|maximum level
    std::string after;  // the section once OK was clicked; empty: the file as it was
    void (*type)(frmInstruments&) = nullptr;
    bool nowhereToSave = false;
};

const std::string Tcp = "TCPIP::127.0.0.1::9::SOCKET";
const std::string Good = "Generator=" + Tcp + "\nGeneratorProfile=sg.ini\nPlan=a.plan\n" +
                         "SettleTime=0\nMaximumLevel=-33.5\n";

// clang-format off
const InstrumentsCase instrumentsCases[] = {
    {"Missing", "", "||300|-20.0",
     "Generator=\nGeneratorProfile=\nPlan=\nSettleTime=300\nMaximumLevel=-20\n"},
    {"NotNumbers", "SettleTime=soon\nMaximumLevel=low\n", "||300|-20.0",
     "SettleTime=300\nMaximumLevel=-20\nGenerator=\nGeneratorProfile=\nPlan=\n"},
    {"OutOfRange", "SettleTime=60001\nMaximumLevel=30.5\n", "||300|-20.0",
     "SettleTime=300\nMaximumLevel=-20\nGenerator=\nGeneratorProfile=\nPlan=\n"},
    {"BelowTheRange", "SettleTime=-1\nMaximumLevel=-141\n", "||300|-20.0",
     "SettleTime=300\nMaximumLevel=-20\nGenerator=\nGeneratorProfile=\nPlan=\n"},
    {"GoodValuesKept", Good, Tcp + "|sg.ini|0|-33.5", Good},
    {"TypedValuesSaved", "Plan=a.plan\n", "||300|-20.0",
     "Plan=a.plan\nGenerator=ASRL/dev/ttyUSB1::INSTR\nGeneratorProfile=\nSettleTime=1500\n"
     "MaximumLevel=-30.5\n",
     [](frmInstruments& d) {
         d.txtResource->setText(" ASRL/dev/ttyUSB1::INSTR ");
         d.spnSettle->setValue(1500);
         d.spnMaximum->setValue(-30.5);
     }},
    {"NowhereToSave", "SettleTime=100\n", "||100|-20.0", "", nullptr, true},
};
// clang-format on

class InstrumentsSettingsTest : public testsupport::StartupFixture,
                                public ::testing::WithParamInterface<InstrumentsCase> {};

std::string fields(const frmInstruments& d) {
    return d.txtResource->text().toStdString() + "|" + d.txtProfile->text().toStdString() + "|" +
           d.spnSettle->text().chopped(3).toStdString() + "|" +
           d.spnMaximum->text().chopped(4).toStdString();
}

} // namespace

// Option → Instruments… on the settings file the window uses: what a hand-edited section holds
// is shown where it is good and the default where not, and OK keeps the fields there.
TEST_P(InstrumentsSettingsTest, TheDialogShowsWhatTheFileHoldsAndOkKeepsItThere) {
    const InstrumentsCase& c = GetParam();
    const std::string before = "[OPTION]\nComPort=3\n[INSTRUMENTS]\n" + c.before;
    dir.makeFolder("prog");
    dir.writeFile("prog/VSK5ALN.ini", before);
    dir.writeFile("Const.ini", constantsFile());
    places.utility.settingsFolder = dir.file("prog/");
    if (c.nowhereToSave) {
        dir.makeFolder("user");
        dir.setMode("user", fs::perms(0555));
        dir.setMode("prog", fs::perms(0555));
        places.utility.userSettingsFolder = dir.file("user/");
    }
    std::string shown;
    ui::setModalDialogHook([&](QDialog& dialog) {
        auto& instruments = dynamic_cast<frmInstruments&>(dialog);
        shown = fields(instruments);
        if (c.type) {
            c.type(instruments);
        }
        instruments.cmdOk->click();
        return dialog.result();
    });
    Utility utility(places.utility);
    ASSERT_TRUE(utility.startUp(false));
    utility.window().mnuOptInstruments().trigger();
    ui::setModalDialogHook({});
    EXPECT_EQ(shown, c.shown);
    if (c.nowhereToSave) {
        ASSERT_FALSE(recorder.messages().empty());
        EXPECT_EQ(recorder.messages()[0].text, utility.settings().notSavedText());
        EXPECT_EQ(dir.readFile("prog/VSK5ALN.ini"), before);
    } else {
        EXPECT_TRUE(recorder.messages().empty());
        EXPECT_EQ(dir.readFile("prog/VSK5ALN.ini"),
                  "[OPTION]\nComPort=3\n[INSTRUMENTS]\n" + c.after);
    }
}

INSTANTIATE_TEST_SUITE_P(Sections, InstrumentsSettingsTest, ::testing::ValuesIn(instrumentsCases),
                         [](const auto& info) { return std::string(info.param.name); });
