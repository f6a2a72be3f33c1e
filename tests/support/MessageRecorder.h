// SPDX-License-Identifier: GPL-3.0-or-later
// Records every message box (and its icon) and beep instead of showing it, for the lifetime of the
// object.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

class MessageRecorder {
  public:
    struct Message {
        std::string title;
        std::string text;
        bool information = false; // the information icon, else the warning one
    };

    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    const std::vector<Message>& messages() const { return shown; }
    int beeps() const { return beepCount; }
    void clear();

  private:
    std::vector<Message> shown;
    int beepCount = 0;
};

} // namespace testsupport
