// SPDX-License-Identifier: GPL-3.0-or-later
// The status bar at the foot of the main window: what the utility is busy with in words and, where
// it can be counted, a bar ("Reading memory", 1024 of 2048 bytes); the last link error in words
// until the technician's next action; and the connected radio with its port.
#pragma once

#include "model/Progress.h"

#include <optional>
#include <string>

class QLabel;
class QProgressBar;
class QStatusBar;

class StatusLine {
  public:
    // Fills the bar; the window owns it and the widgets added to it.
    explicit StatusLine(QStatusBar& bar);

    void showProgress(const std::optional<Progress>& now);
    // Empty clears it.
    void showError(const std::string& text);
    void showIdentity(const std::string& text);

    QLabel& progressText() { return *what; }
    QProgressBar& progressBar() { return *bar; }
    QLabel& error() { return *errorText; }
    QLabel& identity() { return *identityText; }

  private:
    QLabel* what = nullptr;
    QProgressBar* bar = nullptr;
    QLabel* errorText = nullptr;
    QLabel* identityText = nullptr;
};
