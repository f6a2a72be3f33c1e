// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as the technician uses it: real key presses and clicks, menus, the port
// status, the layout at several sizes, and the settings it saves and loads.
#include "common/CommonRoutines.h"
#include "platform/SessionLog.h"
#include "tests/support/Bench.h"
#include "tests/support/ConnectedBench.h"
#include "tests/support/DialogScript.h"
#include "ui/ServiceMenu.h"
#include "ui/StatusLine.h"
#include "ui/Twips.h"
#include "ui/UiHooks.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTest>

#include <fstream>
#include <iterator>
#include <set>

using proceduretest::e8;
using testsupport::Bench;

namespace {

// Presses a key on the console with its line `row` selected; returns what reached the wire.
std::vector<std::string> keyOnConsole(Bench& bench, int row, Qt::Key key,
                                      Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QListWidget& console = bench.window().lboConsole();
    console.setCurrentRow(row);
    const std::size_t before = bench.e8Payloads().size();
    QTest::keyClick(&console, key, modifiers);
    bench.runUntil([&] { return bench.e8Payloads().size() > before; }, 40);
    bench.tick(6); // past the item's wait
    const auto all = bench.e8Payloads();
    return {all.begin() + static_cast<std::ptrdiff_t>(before), all.end()};
}

} // namespace

// The keys the golden traces do not press: Ctrl held with Shift (Shift alone decides the
// step), a key that is no step, the keypad's separator (Enter) and the main keys' comma.
TEST(MainWindowTest, ShiftAloneDecidesTheStepAndOnlyTheKeypadsSeparatorIsAnEnter) {
    Bench bench;
    ASSERT_TRUE(bench.connect());
    const int start = bench.console().Value(1);
    EXPECT_EQ(keyOnConsole(bench, 1, Qt::Key_Left, Qt::ShiftModifier | Qt::ControlModifier),
              std::vector<std::string>{e8(0x0C, start - 5)});
    EXPECT_TRUE(keyOnConsole(bench, 1, Qt::Key_Up).empty());
    EXPECT_EQ(keyOnConsole(bench, 3, Qt::Key_Comma, Qt::KeypadModifier),
              std::vector<std::string>{"023031"});
    EXPECT_TRUE(keyOnConsole(bench, 4, Qt::Key_Comma).empty());
}

TEST(MainWindowTest, ConsoleSelectsItsFirstLineWhenItGetsTheFocusWithNoneSelected) {
    Bench bench;
    bench.window().show();
    QApplication::setActiveWindow(&bench.window());
    ASSERT_TRUE(bench.connect());
    QListWidget& console = bench.window().lboConsole();
    console.setCurrentRow(-1);
    bench.window().cmd00(0).setFocus();
    console.setFocus();
    QApplication::processEvents();
    EXPECT_EQ(console.currentRow(), 0);
    // A click on a button leaves the keys with the console.
    QTest::mouseClick(&bench.window().cmd00(1), Qt::LeftButton);
    EXPECT_TRUE(console.hasFocus());
}

TEST(MainWindowTest, F5DoesWhatReloadDoes) {
    Bench bench;
    bench.window().show();
    QApplication::setActiveWindow(&bench.window());
    ASSERT_TRUE(bench.connect());
    bench.window().lbo01(0).item(2)->setText("kept");
    bench.radio().config().level = 51;
    QTest::keyClick(&bench.window().lboConsole(), Qt::Key_F5);
    ASSERT_TRUE(
        bench.runUntil([&] { return bench.window().lbo01(0).item(2)->text() != "kept"; }, 100));
    EXPECT_EQ(bench.window().lbo01(0).item(2)->text().toStdString(), "LVIN : 51:33h:  1.00V");
}

// The port menu: one entry checked, the label and the device entry follow, Connect opens it.
TEST(MainWindowTest, PortMenuChecksOnlyTheChosenPortAndTheLabelAndDeviceEntryFollow) {
    Bench bench;
    frmMain& window = bench.window();
    bench.tick();
    EXPECT_EQ(window.lblComBusy().text().toStdString(), "COM 1: CLOSE");
    EXPECT_EQ(window.mnuOptPortDevice().text().toStdString(), "&Device for COM 1…");
    window.mnuOptSelCom(3).trigger();
    bench.tick();
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(window.mnuOptSelCom(i).isChecked(), i == 3) << i;
    }
    EXPECT_EQ(window.lblComBusy().text().toStdString(), "COM 3: CLOSE");
    EXPECT_EQ(window.mnuOptPortDevice().text().toStdString(), "&Device for COM 3…");
    EXPECT_EQ(bench.model().myComPortNoNow(), 3);
    EXPECT_EQ(bench.seq().ComPortNo(), 3);
    std::string title;
    ui::setModalDialogHook([&title](QDialog& dialog) {
        title = dialog.windowTitle().toStdString();
        return int(QDialog::Rejected);
    });
    window.mnuOptPortDevice().trigger();
    ui::setModalDialogHook({});
    EXPECT_EQ(title, "Device for COM 3");
    EXPECT_FALSE(bench.folder().exists("VSK5ALN.ini")); // Cancel writes nothing

    ASSERT_TRUE(bench.connect());
    EXPECT_EQ(window.lblComBusy().text().toStdString(), "COM 3: OPEN");
    EXPECT_EQ(bench.com().comPortNum(), 3);
}

TEST(MainWindowTest, HelpNamesTheProgramItsVersionLicenceAndQtAndOpensTheLogFolder) {
    Bench bench;
    QStringList menus;
    for (const QAction* menu : bench.window().menuBar()->actions()) {
        menus << menu->text();
    }
    EXPECT_EQ(menus, QStringList({"&File", "&View", "&Option", "&Align", "&Help"}));
    std::string shown;
    ui::setModalDialogHook([&shown](QDialog& box) {
        shown = box.windowTitle().toStdString() + ": " +
                dynamic_cast<QMessageBox&>(box).text().toStdString();
        return int(QMessageBox::Ok);
    });
    bench.window().mnuHelpAbout().trigger();
    ui::setModalDialogHook({});
    EXPECT_EQ(shown, "About VS-K5 ALN Rev.1.0: VS-K5 ALN Rev.1.0\nAdjust Utility for "
                     "VX-K5\nVersion " VSK5_VERSION "\nLicence: GPL-3.0-or-later\nQt " +
                         std::string(qVersion()));
    // Help's other entry opens the folder of the session logs, which has every box in a line.
    const platform::SessionLog log(bench.folder().file("logs"));
    std::string opened;
    ui::setOpenFolderHook([&](const std::string& folder) { opened = folder; });
    bench.window().mnuHelpOpenLogFolder().trigger();
    ui::setOpenFolderHook({});
    EXPECT_EQ(opened, bench.folder().file("logs"));
    MsgBoxProduct("Two\r\nlines.");
    std::ifstream in(platform::SessionLog::currentPath());
    const std::string lines((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(lines.find("ui       message Two\\nlines.\n"), std::string::npos) << lines;
}

TEST(MainWindowTest, AutoReleaseMenuSetsTheHoldTimeAndChecksOnlyItsEntry) {
    Bench bench;
    frmMain& window = bench.window();
    window.mnuOptionSelAutoRelease(2).trigger();
    bench.tick();
    EXPECT_EQ(bench.seq().comHoldReload(), 2000);
    for (int i = 0; i <= 5; ++i) {
        EXPECT_EQ(window.mnuOptionSelAutoRelease(i).isChecked(), i == 2) << i;
    }
    // The golden trace of Reload, the dump and the release has the port released in its time.
    window.mnuOptionSelAutoRelease(0).trigger();
    EXPECT_EQ(bench.seq().comHoldReload(), 0);
}

TEST(MainWindowTest, IdleWindowShowsItsPartsAndFitsEverySize) {
    Bench bench;
    frmMain& window = bench.window();
    window.show();
    bench.tick();
    EXPECT_EQ(window.windowTitle().toStdString(), "VS-K5 ALN Rev.1.0");
    EXPECT_EQ(window.lblTitle().text().toStdString(),
              "VS-K5 ALN Rev.1.0\nAdjust Utility for VX-K5");
    EXPECT_TRUE(window.fra01(0).isVisible() && window.lblTitle().isVisible());
    EXPECT_FALSE(window.fra01(1).isVisible() || window.fra01(3).isVisible());
    EXPECT_TRUE(window.lbo01(0).isVisible() && window.lbo01(1).isVisible());
    EXPECT_EQ(window.lbo01(1).count(), 9);
    for (int i = 0; i < 3; ++i) { // their captions are in every golden trace's clicks
        EXPECT_TRUE(window.cmd00(i).isVisible());
        EXPECT_EQ(window.cmd00(i).isEnabled(), i == 0);
    }
    for (const QSize size :
         {QSize(640, 660), QSize(1200, 900), window.minimumSize(), QSize(900, 500)}) {
        window.resize(size);
        QApplication::processEvents();
        std::vector<QWidget*> parents{window.centralWidget()};
        for (int i = 0; i < 4; ++i) {
            parents.push_back(&window.fra01(i));
        }
        for (QWidget* parent : parents) {
            for (QWidget* w :
                 parent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
                if (w->isVisibleTo(&window)) {
                    EXPECT_TRUE(parent->rect().contains(w->geometry()))
                        << size.width() << "x" << size.height();
                }
            }
        }
        // The three buttons stand in one row.
        EXPECT_EQ(window.cmd00(0).y(), window.cmd00(2).y());
        EXPECT_LT(window.cmd00(0).geometry().right(), window.cmd00(1).x());
    }
    const QImage picture = window.grab().toImage();
    ASSERT_FALSE(picture.isNull());
    if (const char* path = std::getenv("VSK5_SCREENSHOT")) {
        picture.save(path); // for a person to look at
    }
}

// --- settings ---------------------------------------------------------------------------

// Saved at Exit. The port and a channel's frequency coming back in the next run are the
// read-only program folder's test (ReadOnlyProgramFolderTest); here the rest of the state.
TEST(SettingsTest, SavedStateComesBackAndOtherLinesSurvive) {
    std::string saved;
    {
        Bench bench({}, "; my notes\n[PORTS]\nCOM3=/dev/ttyUSB7\n");
        frmMain& window = bench.window();
        window.mnuOptionSelAutoRelease(4).trigger();
        clsRig_Ch& ch = bench.channels().ChUnit(12);
        ch.setAppearCh(true); // a hidden channel's power reads 0
        ch.setFreqOpRef_Pure(1);
        ch.setRFPower_Pure(1);
        window.mnuFileExit().trigger();
        saved = bench.folder().readFile("VSK5ALN.ini");
    }
    EXPECT_EQ(saved.rfind("; my notes\n[PORTS]\nCOM3=/dev/ttyUSB7\n", 0), 0u);
    EXPECT_NE(saved.find("MR-12(RF Power)=1\n"), std::string::npos);

    Bench again({}, saved);
    EXPECT_EQ(again.window().ComAutoRelease(), 4);
    EXPECT_EQ(again.seq().comHoldReload(), 4000);
    const clsRig_Ch& ch = again.channels().ChUnit(12);
    EXPECT_EQ(ch.FreqOpRef_Pure(), 1);
    EXPECT_EQ(ch.RFPower_Pure(), 1);
}

TEST(SettingsTest, ChannelZeroStoredHiddenComesBackShownAtItsDefaults) {
    Bench bench({}, "[OPTION]\nMR-0(Appear)=0\nMR-0(Frequency)=15000000\nMR-0(Ref)=2\n"
                    "MR-0(RF Power)=1\nMR-5(Appear)=yes\nMR-5(Frequency)=15000000\n"
                    "MR-6(Frequency)=-5\nMR-7(Frequency)=99999999\nComPort=9\nComAutoRelease=77\n");
    frmMain& window = bench.window();
    const clsRig_Ch& ch0 = bench.channels().ChUnit(0);
    EXPECT_TRUE(ch0.AppearCh());
    EXPECT_EQ(ch0.FreqOp_Pure(), 14500000);
    EXPECT_EQ(ch0.FreqOpRef_Pure(), 0);
    EXPECT_EQ(ch0.RFPower_Pure(), 0);
    EXPECT_TRUE(bench.channels().ChUnit(5).AppearCh());
    EXPECT_EQ(bench.channels().ChUnit(5).FreqOp_Pure(), 15000000);
    // Hand-edited values outside what the program writes: frequencies held at the band edges,
    // a port the link takes, no release time.
    EXPECT_EQ(bench.channels().ChUnit(6).FreqOp_Pure(), 13600000);
    EXPECT_EQ(bench.channels().ChUnit(7).FreqOp_Pure(), 17400000);
    EXPECT_EQ(window.ComPortNo(), 9);
    EXPECT_EQ(window.ComAutoRelease(), 0);
}

TEST(MainWindowTest, FileMenuHoldsTheJobEntriesAboveExitEachWithItsOwnKey) {
    Bench bench;
    QMenu& file = *bench.window().menuBar()->findChild<QMenu*>();
    std::vector<std::string> captions;
    std::set<QChar> keys;
    for (QAction* action : file.actions()) {
        const QString text = action->text();
        captions.push_back(action->isSeparator() ? "-" : text.toStdString());
        const auto amp = text.indexOf('&');
        if (amp >= 0) {
            EXPECT_TRUE(keys.insert(text.at(amp + 1).toLower()).second) << text.toStdString();
        }
    }
    EXPECT_EQ(captions,
              (std::vector<std::string>{"&Open image\u2026", "&Save image as\u2026",
                                        "&Compare with image\u2026", "&Revert adjustments\u2026",
                                        "&Write image to radio\u2026", "Save re&port\u2026",
                                        "Save report with &every value sent\u2026", "-", "E&xit"}));
}

TEST(MainWindowTest, WhileARevertRunsTheItemsTakeNoKeysAndTheStatusBarShowsIt) {
    Bench bench;
    testsupport::DialogScript script;
    ASSERT_TRUE(bench.connect());
    const int powerLow = bench.console().Value(2);
    keyOnConsole(bench, 1, Qt::Key_Right, Qt::ShiftModifier);
    script.answer(true);
    bench.window().serviceMenu().revert();
    bench.tick();
    EXPECT_FALSE(bench.window().statusLine().progressBar().isHidden());
    EXPECT_EQ(bench.window().statusLine().progressBar().maximum(), 1); // one value to send
    QListWidget& console = bench.window().lboConsole();
    console.setCurrentRow(2);
    QTest::keyClick(&console, Qt::Key_Right);
    ASSERT_TRUE(bench.runUntil([&] { return !bench.model().RigProp_JobRunning(); }, 400));
    bench.tick(10);
    EXPECT_EQ(bench.console().Value(2), powerLow);
    EXPECT_TRUE(bench.window().statusLine().progressBar().isHidden());
}

// The window's size rules hold for the area above the status bar, which comes on top.
TEST(MainWindowTest, TheStatusBarAddsToTheHeightTheLayoutGives) {
    Bench bench;
    frmMain& window = bench.window();
    window.show();
    QApplication::processEvents();
    const Twips twips(window);
    const int screenHeight = twips.fromPixels(window.screen()->geometry().height());
    EXPECT_EQ(window.height() - window.statusBar()->sizeHint().height(),
              twips.toPixels(MainLayout::windowHeightFor(screenHeight)));
}
