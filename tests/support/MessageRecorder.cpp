// SPDX-License-Identifier: GPL-3.0-or-later
// Installs the recording hooks for message boxes and beeps, and removes them again.
#include "tests/support/MessageRecorder.h"

#include "ui/UiHooks.h"

namespace testsupport {

MessageRecorder::MessageRecorder() {
    ui::setMessageBoxHook([this](ui::BoxIcon icon, const auto& title, const auto& text) {
        shown.push_back({title, text, icon == ui::BoxIcon::Information});
        if (inBox) {
            inBox();
        }
        return 1;
    });
    ui::setBeepHook([this] { ++beepCount; });
}

MessageRecorder::~MessageRecorder() {
    ui::setMessageBoxHook({});
    ui::setBeepHook({});
}

std::string MessageRecorder::message() const {
    return shown.size() == 1 ? shown[0].text : "(" + std::to_string(shown.size()) + " messages)";
}

void MessageRecorder::clear() {
    shown.clear();
    beepCount = 0;
}

} // namespace testsupport
