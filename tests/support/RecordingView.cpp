// SPDX-License-Identifier: GPL-3.0-or-later
// The recording view's lists and its scripted answers.
#include "tests/support/RecordingView.h"

namespace testsupport {

std::string RecordingView::message() const {
    return messages.size() == 1 ? messages[0].text
                                : "(" + std::to_string(messages.size()) + " messages)";
}

void RecordingView::setLine(int i, const std::string& text) {
    if (lines.size() <= static_cast<std::size_t>(i)) {
        lines.resize(static_cast<std::size_t>(i) + 1);
    }
    lines[static_cast<std::size_t>(i)] = text;
}

void RecordingView::resetReadouts(ReadoutPage page, const std::string& caption, int rows) {
    std::vector<std::string>& list = readouts[static_cast<std::size_t>(page)];
    list.assign(static_cast<std::size_t>(rows) + 1, "----");
    list[0] = caption;
}

bool RecordingView::askYesNo(const std::string& question, const std::vector<std::string>& shown) {
    questions.push_back({question});
    questions.back().insert(questions.back().end(), shown.begin(), shown.end());
    const bool yes = answers.empty() || answers.front(); // Yes is the default button
    if (!answers.empty()) {
        answers.pop_front();
    }
    return yes;
}

} // namespace testsupport
