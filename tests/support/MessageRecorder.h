// SPDX-License-Identifier: GPL-3.0-or-later
// Records every message box (and its icon) and beep instead of showing it, for the lifetime of the
// object.
#pragma once

#include <functional>
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
    // The text of the only message so far, else how many there were.
    std::string message() const;
    int beeps() const { return beepCount; }
    void clear();
    // Runs while each box is open, as the box's own event loop would run the program's timers.
    void whileOpen(std::function<void()> run) { inBox = std::move(run); }

  private:
    std::vector<Message> shown;
    int beepCount = 0;
    std::function<void()> inBox;
};

} // namespace testsupport
