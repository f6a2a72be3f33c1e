// SPDX-License-Identifier: GPL-3.0-or-later
// A question before an action that changes the radio: the question, the full list of what will
// change (as long as it is, in a scrolling list), and Yes or No. No is the default: Enter
// pressed out of habit changes nothing. Only a question whose Yes undoes harm already done (a
// run cut off by the program's end, its bytes put back) makes Yes the default.
//
//   if (ConfirmDialog::ask(window, "Revert the VX-K5 to ...?", {"Power(Hi): 131 → 128"})) ...
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class ConfirmDialog : public QDialog {
    Q_OBJECT

  public:
    ConfirmDialog(QWidget* parent, const std::string& question,
                  const std::vector<std::string>& lines, bool yesByDefault = false);

    // Shown modally; true when the technician answered Yes.
    static bool ask(QWidget* parent, const std::string& question,
                    const std::vector<std::string>& lines, bool yesByDefault = false);
};
