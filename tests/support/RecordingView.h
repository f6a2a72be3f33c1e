// SPDX-License-Identifier: GPL-3.0-or-later
// A RigView that shows nothing and records what the model's tests read from it, as a technician
// reads the window: the readout lists, the dump and the messages (warnings, information and link
// failures alike, in order). Every question gets Yes, the default button.
//
//   RecordingView view;
//   RigDoor door(std::move(line), view);
//   view.messages;                            // every box the window would have opened
#pragma once

#include "model/RigView.h"

#include <array>
#include <string>
#include <vector>

namespace testsupport {

struct RecordingView : RigView {
    std::array<std::vector<std::string>, 2> readouts; // A/D, D/A: the caption, then the rows
    std::string dump;
    std::vector<std::string> messages;

    // The text of the only message so far, else how many there were.
    std::string message() const {
        return messages.size() == 1 ? messages[0]
                                    : "(" + std::to_string(messages.size()) + " messages)";
    }

    void setLine(int, const std::string&) override {}
    void clearLines() override {}
    void setButtonCaptions(const std::array<std::string, 3>&) override {}
    void resetReadouts(ReadoutPage page, const std::string& caption, int rows) override {
        std::vector<std::string>& list = readouts[static_cast<std::size_t>(page)];
        list.assign(static_cast<std::size_t>(rows) + 1, "----");
        list[0] = caption;
    }
    void setReadoutLine(ReadoutPage page, int row, const std::string& text) override {
        readouts[static_cast<std::size_t>(page)].at(static_cast<std::size_t>(row)) = text;
    }
    void showMode(Mode) override {}
    void showDump(const std::string& text) override { dump = text; }
    void dumpClosed() override {}
    void editChannel(std::int16_t) override {}
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void showInformation(const std::string& text) override { messages.push_back(text); }
    bool askYesNo(const std::string&, const std::vector<std::string>&) override { return true; }
    void beep() override {}
    void linkFailed(const std::string& text) override { messages.push_back(text); }
};

} // namespace testsupport
