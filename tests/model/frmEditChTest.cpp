// The channel edit dialog, driven as the technician would: shown for a channel, typed into,
// OK or Cancel clicked. No modal loop runs; accept() and reject() are seen in result().
#include "model/frmEditCh.h"
#include "model/clsRig_Ch.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <cctype>

namespace {

class frmEditChTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ch.setAppearCh(true);
        ch.setFreqOp_Pure(14500000);
        ch.setRFPower_Pure(0);
        ch.setFreqOpRef_Pure(0);
    }

    // Hands the channel over and shows the dialog the way the main window does.
    void open() {
        dialog.setCurCh(&ch);
        dialog.FormAdjust();
        dialog.show();
        QApplication::processEvents();
    }

    void typeFrequency(const QString& text) {
        dialog.txtEditCh_FreqOp->selectAll();
        QTest::keyClick(dialog.txtEditCh_FreqOp, Qt::Key_Delete);
        QTest::keyClicks(dialog.txtEditCh_FreqOp, text);
    }

    clsRig_Ch ch;
    frmEditCh dialog;
};

TEST_F(frmEditChTest, ControlsAndCaptions) {
    EXPECT_EQ(dialog.windowTitle(), "Edit Ch");
    EXPECT_EQ(dialog.lblEditCh_FreqOp->text(), "Operating Frequency");
    EXPECT_EQ(dialog.lblEditCh_RFPower->text(), "RF Power");
    EXPECT_EQ(dialog.cmdEditCh_Ok->text(), "OK");
    EXPECT_EQ(dialog.cmdEditCh_Cancel->text(), "Cancel");
    ASSERT_EQ(dialog.cboEditCh_RFPower->count(), 2);
    EXPECT_EQ(dialog.cboEditCh_RFPower->itemText(0), "High");
    EXPECT_EQ(dialog.cboEditCh_RFPower->itemText(1), "Low");
}

TEST_F(frmEditChTest, FirstDisplayLoadsTheChannelWithTextSelected) {
    ch.setFreqOp_Pure(14500833);
    ch.setRFPower_Pure(1);
    dialog.setCurCh(&ch);
    EXPECT_TRUE(dialog.newChannelPending());
    dialog.show();
    QApplication::processEvents();

    EXPECT_FALSE(dialog.newChannelPending());
    EXPECT_EQ(dialog.txtEditCh_FreqOp->text(), "145.008333"); // surrounding blanks gone
    EXPECT_EQ(dialog.txtEditCh_FreqOp->selectedText(), "145.008333");
    EXPECT_EQ(dialog.focusWidget(), dialog.txtEditCh_FreqOp);
    EXPECT_EQ(dialog.cboEditCh_RFPower->currentIndex(), 1);
}

TEST_F(frmEditChTest, HiddenChannelShowsAnEmptyBox) {
    ch.setAppearCh(false);
    open();
    EXPECT_EQ(dialog.txtEditCh_FreqOp->text(), "");
    EXPECT_EQ(dialog.cboEditCh_RFPower->currentIndex(), 0);
}

TEST_F(frmEditChTest, PowerTwoShowsAsLowAndOkStoresLow) {
    ch.setRFPower_Pure(2); // only reachable by editing the settings file
    open();
    EXPECT_EQ(dialog.cboEditCh_RFPower->currentText(), "Low");
    QTest::mouseClick(dialog.cmdEditCh_Ok, Qt::LeftButton);
    EXPECT_EQ(ch.RFPower_Pure(), 1);
}

TEST_F(frmEditChTest, OkStoresTypedFrequencyPowerAndReference) {
    open();
    typeFrequency("145.00625");
    dialog.cboEditCh_RFPower->setCurrentIndex(1);
    QTest::mouseClick(dialog.cmdEditCh_Ok, Qt::LeftButton);

    EXPECT_TRUE(ch.AppearCh());
    EXPECT_EQ(ch.FreqOp_Pure(), 14500625);
    EXPECT_EQ(ch.RFPower_Pure(), 1);
    EXPECT_EQ(ch.FreqOpRef_Pure(), 1); // 6.25 kHz grid
    EXPECT_EQ(dialog.txtEditCh_FreqOp->text(), "");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(frmEditChTest, OkWithANewFrequencyResetsTheReference) {
    ch.setFreqOpRef_Pure(1);
    open();
    typeFrequency("146.52");
    QTest::mouseClick(dialog.cmdEditCh_Ok, Qt::LeftButton);
    EXPECT_EQ(ch.FreqOp_Pure(), 14652000);
    EXPECT_EQ(ch.FreqOpRef_Pure(), 0); // 5 kHz grid
}

TEST_F(frmEditChTest, OkWithBlanksHidesTheChannelKeepingItsFrequency) {
    ch.setRFPower_Pure(1);
    open();
    typeFrequency("   ");
    QTest::mouseClick(dialog.cmdEditCh_Ok, Qt::LeftButton);

    EXPECT_FALSE(ch.AppearCh());
    EXPECT_EQ(ch.FreqOp_Pure(), 14500000);
    ch.setAppearCh(true);
    EXPECT_EQ(ch.RFPower_Pure(), 1); // the stored power is kept as well
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(frmEditChTest, CancelChangesNothing) {
    open();
    typeFrequency("150");
    dialog.cboEditCh_RFPower->setCurrentIndex(1);
    QTest::mouseClick(dialog.cmdEditCh_Cancel, Qt::LeftButton);

    EXPECT_TRUE(ch.AppearCh());
    EXPECT_EQ(ch.FreqOp_Pure(), 14500000);
    EXPECT_EQ(ch.RFPower_Pure(), 0);
    EXPECT_EQ(dialog.txtEditCh_FreqOp->text(), "");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(frmEditChTest, OkIsIgnoredUntilTheNewChannelHasBeenShown) {
    dialog.setCurCh(&ch);
    dialog.txtEditCh_FreqOp->setText("150"); // left over from an earlier channel
    dialog.cmdEditCh_Ok->click();
    EXPECT_EQ(ch.FreqOp_Pure(), 14500000);
    EXPECT_TRUE(dialog.newChannelPending());
}

TEST_F(frmEditChTest, ReopeningForAnotherChannelShowsThatChannel) {
    open();
    QTest::mouseClick(dialog.cmdEditCh_Cancel, Qt::LeftButton);

    clsRig_Ch other;
    other.setAppearCh(true);
    other.setFreqOp_Pure(15001250);
    dialog.setCurCh(&other);
    dialog.show();
    QApplication::processEvents();
    EXPECT_EQ(dialog.txtEditCh_FreqOp->text(), "150.012500");

    typeFrequency("151");
    QTest::mouseClick(dialog.cmdEditCh_Ok, Qt::LeftButton);
    EXPECT_EQ(other.FreqOp_Pure(), 15100000);
    EXPECT_EQ(ch.FreqOp_Pure(), 14500000);
}

TEST_F(frmEditChTest, FocusSelectsTheWholeText) {
    open();
    dialog.activateWindow();
    QApplication::processEvents();
    dialog.cmdEditCh_Ok->setFocus(Qt::OtherFocusReason);
    dialog.txtEditCh_FreqOp->deselect();
    dialog.txtEditCh_FreqOp->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    if (!dialog.txtEditCh_FreqOp->hasFocus()) {
        GTEST_SKIP() << "the platform plugin gives no keyboard focus to this window";
    }
    EXPECT_EQ(dialog.txtEditCh_FreqOp->selectedText(), "145.000000");
}

TEST_F(frmEditChTest, FormAdjustKeepsTheDialogOnTheScreen) {
    open();
    const QRect area = dialog.screen()->availableGeometry();
    dialog.move(area.right() + 500, area.bottom() + 500);
    dialog.FormAdjust();
    QRect frame = dialog.frameGeometry();
    EXPECT_LE(frame.right(), area.right());
    EXPECT_LE(frame.bottom(), area.bottom());
    EXPECT_GE(frame.left(), area.left());
    EXPECT_GE(frame.top(), area.top());

    dialog.move(area.left() - 300, area.top() - 300);
    dialog.FormAdjust();
    frame = dialog.frameGeometry();
    EXPECT_EQ(frame.left(), area.left());
    EXPECT_EQ(frame.top(), area.top());
}

TEST_F(frmEditChTest, KeysOnOkFeedTheKeyBufferAndStillReachTheButton) {
    open();
    const QString before = dialog.windowTitle();
    QSignalSpy pressed(dialog.cmdEditCh_Ok, &QPushButton::pressed);
    // Typed letters: the buffer holds them shifted, so no caption change for plain words.
    QTest::keyClicks(dialog.cmdEditCh_Ok, "abc");
    EXPECT_EQ(dialog.keyBuffer().contents(), "BCD");
    EXPECT_EQ(dialog.windowTitle(), before);

    // The stored code typed back (each code one lower, in lower case) shows the caption.
    const std::string code = "TFSWJDFCFODI2";
    QString typed;
    for (char c : code) {
        typed += QChar(static_cast<char>(std::tolower(static_cast<unsigned char>(c - 1))));
    }
    QTest::keyClicks(dialog.cmdEditCh_Ok, typed);
    EXPECT_NE(dialog.windowTitle(), before);
    EXPECT_EQ(dialog.windowTitle().size(), 16);
    EXPECT_TRUE(ch.AppearCh()); // letters do not click OK
    EXPECT_EQ(pressed.count(), 0);
}

TEST_F(frmEditChTest, SpaceOnOkIsBufferedAndStillPressesTheButton) {
    open();
    QTest::keyClick(dialog.cmdEditCh_Ok, Qt::Key_Space, Qt::NoModifier);
    EXPECT_EQ(dialog.keyBuffer().contents(), "!");
    EXPECT_FALSE(dialog.isVisible()); // the button got the key and confirmed the dialog
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

} // namespace
