// SPDX-License-Identifier: GPL-3.0-or-later
// The recording view's lists and its scripted answers.
#include "tests/support/RecordingView.h"

namespace testsupport {

std::string RecordingView::message() const {
    return shown.size() == 1 ? shown[0].text : "(" + std::to_string(shown.size()) + " messages)";
}

void RecordingView::setLine(int i, const std::string& text) {
    if (consoleLines.size() <= static_cast<std::size_t>(i)) {
        consoleLines.resize(static_cast<std::size_t>(i) + 1);
    }
    consoleLines[static_cast<std::size_t>(i)] = text;
}

void RecordingView::resetReadouts(ReadoutPage page, const std::string& caption, int rows) {
    std::vector<std::string>& list = readoutLines[static_cast<std::size_t>(page)];
    list.assign(static_cast<std::size_t>(rows) + 1, "----");
    list[0] = caption;
}

bool RecordingView::askYesNo(const std::string& question, const std::vector<std::string>& lines) {
    asked.push_back({question});
    asked.back().insert(asked.back().end(), lines.begin(), lines.end());
    if (answers.empty()) {
        return true; // Yes is the default button
    }
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
}

} // namespace testsupport
