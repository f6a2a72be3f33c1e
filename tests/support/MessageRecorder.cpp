// Installs the recording hooks for warning boxes and beeps, and removes them again.
#include "tests/support/MessageRecorder.h"

#include "platform/UiHooks.h"

namespace testsupport {

MessageRecorder::MessageRecorder() {
    platform::setMessageBoxHook([this](const std::string& title, const std::string& text) {
        shown.push_back({title, text});
        return 1;
    });
    platform::setBeepHook([this] { ++beepCount; });
}

MessageRecorder::~MessageRecorder() {
    platform::setMessageBoxHook({});
    platform::setBeepHook({});
}

void MessageRecorder::clear() {
    shown.clear();
    beepCount = 0;
}

} // namespace testsupport
