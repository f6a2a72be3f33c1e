// SPDX-License-Identifier: GPL-3.0-or-later
// The channel edit dialog, driven as the technician would: shown for a channel, typed into,
// OK or Cancel clicked. No modal loop runs; accept() and reject() are seen in result().
#include "ui/frmEditCh.h"
#include "model/clsRig_Ch.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

// One dialog for every case, as in the program: each case shows it for a fresh channel at
// 145 MHz, types over the selected frequency, picks the power and clicks a button. An OK
// before the dialog has shown its channel stores nothing.
TEST(frmEditChTest, OkStoresWhatWasTypedAndCancelNothing) {
    // clang-format off
    struct Case { const char* typed; bool ok; bool appear; std::int32_t freq; int power, ref; };
    const Case cases[] = {
        {"145.00625", true, true, 14500625, 1, 1}, // 6.25 kHz grid
        {"   ", true, false, 14500000, 0, 0},      // blanks hide the channel, frequency kept
        {"150", false, true, 14500000, 0, 0}};     // Cancel changes nothing
    // clang-format on
    frmEditCh dialog;
    clsRig_Ch first;
    dialog.setCurCh(&first);
    dialog.txtEditCh_FreqOp->setText("150"); // left over from an earlier channel
    dialog.cmdEditCh_Ok->click();            // before the dialog has shown the channel: ignored
    EXPECT_EQ(first.FreqOp_Pure(), 0);
    for (const Case& c : cases) {
        clsRig_Ch ch;
        ch.setAppearCh(true);
        ch.setFreqOp_Pure(14500000);
        dialog.setCurCh(&ch);
        dialog.show();
        QApplication::processEvents();
        QTest::keyClicks(dialog.txtEditCh_FreqOp, c.typed);
        dialog.cboEditCh_RFPower->setCurrentIndex(1);
        QTest::mouseClick(c.ok ? dialog.cmdEditCh_Ok : dialog.cmdEditCh_Cancel, Qt::LeftButton);
        EXPECT_EQ(ch.AppearCh(), c.appear) << c.typed;
        EXPECT_EQ(ch.FreqOp_Pure(), c.freq) << c.typed;
        EXPECT_EQ(ch.RFPower_Pure(), c.power) << c.typed;
        EXPECT_EQ(ch.FreqOpRef_Pure(), c.ref) << c.typed;
        EXPECT_EQ(dialog.result(), c.ok ? QDialog::Accepted : QDialog::Rejected) << c.typed;
    }
}
