// SPDX-License-Identifier: GPL-3.0-or-later
// Answers the file choosers and confirmations of a test in advance, and records what each
// showed, for the lifetime of the object: no modal window opens. A compare dialog is read row
// by row and closed with Esc, as a technician would.
//
//   DialogScript script;
//   script.choose("/tmp/x/before.img");    // the next file chooser answers this path
//   script.answer(true);                   // the next confirmation: Yes
#pragma once

#include "ui/UiHooks.h"

#include <deque>
#include <string>
#include <vector>

namespace testsupport {

class DialogScript {
  public:
    DialogScript();
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    void choose(const std::string& path) { paths.push_back(path); }
    void answer(bool yes) { answers.push_back(yes); }

    // Every file chooser shown, in order.
    const std::vector<ui::FileRequest>& fileRequests() const { return requests; }
    // Every confirmation shown: its question, then each line of its list.
    const std::vector<std::vector<std::string>>& confirmations() const { return asked; }
    // The rows of the last compare dialog: label, image, radio, mark; and whether Esc closed it.
    const std::vector<std::vector<std::string>>& comparedRows() const { return rows; }
    bool compareClosedByEsc() const { return escClosed; }

  private:
    int onDialog(class QDialog& dialog);

    std::deque<std::string> paths;
    std::deque<bool> answers;
    std::vector<ui::FileRequest> requests;
    std::vector<std::vector<std::string>> asked;
    std::vector<std::vector<std::string>> rows;
    bool escClosed = false;
};

} // namespace testsupport
