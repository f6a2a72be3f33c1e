// SPDX-License-Identifier: GPL-3.0-or-later
// The channel edit dialog: the operating frequency of one test channel as typed in megahertz
// and its RF power. The main window positions it, hands it a channel with setCurCh and shows it
// modally; when it is first shown for that channel it loads its controls from the channel and
// puts the cursor into the frequency box with the whole text selected.
//
// OK with a frequency:  channel in use, frequency parsed and snapped, power from the list,
//                       reference selector from the new frequency.
// OK with blanks only:  channel no longer in use; its frequency is kept for a later edit.
// Cancel:               the channel stays as it was.
// OK and Cancel hide the dialog through accept() and reject(), so a modal exec() returns.
// OK is ignored until the dialog has been shown for the channel handed over (a key still held
// from the main window must not confirm controls that belong to another channel); a test that
// drives it through the modal hook therefore shows it first, as exec() would.
//
// A stored RF power of 2 has no list entry; the radio treats every non-zero power as low, so
// the list shows "Low" for it, and OK stores 1.
#pragma once

#include "ui/KeyBuffer.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class clsRig_Ch;

class frmEditCh : public QDialog {
  public:
    explicit frmEditCh(QWidget* parent = nullptr);

    clsRig_Ch* CurCh() const { return curCh; }
    // The channel to edit (not owned); raises the new-channel flag, so the controls are loaded
    // when the dialog is next shown or painted.
    void setCurCh(clsRig_Ch* ch);

    // Loads the controls from the channel.
    void ResetOp();
    // Keeps the dialog wholly on its screen.
    void FormAdjust();

    QLabel* lblEditCh_FreqOp;
    QLineEdit* txtEditCh_FreqOp;
    QLabel* lblEditCh_RFPower;
    QComboBox* cboEditCh_RFPower;
    QPushButton* cmdEditCh_Ok;
    QPushButton* cmdEditCh_Cancel;

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void firstDisplay();
    void okClicked();
    void cancelClicked();

    clsRig_Ch* curCh = nullptr;
    bool newChannel = false;
    KeyBuffer okKeys;
};
