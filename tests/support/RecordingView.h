// SPDX-License-Identifier: GPL-3.0-or-later
// A RigView that shows nothing and records everything, in order: the console's lines, the
// readout lists, the mode, the dump, the messages (warnings, information, link failures), the
// questions (answered from a script, Yes when it runs dry), beeps and channel-edit requests.
// The model's tests read the door's news from it as a technician reads the window.
//
//   RecordingView view;
//   view.answers.push_back(false);            // the next question: No
//   RigDoor door(std::move(line), view);
//   view.messages;                            // every box the window would have opened
#pragma once

#include "model/RigView.h"

#include <array>
#include <deque>
#include <string>
#include <vector>

namespace testsupport {

struct RecordingView : RigView {
    struct Message {
        enum Kind { Warning, Information, LinkFailure } kind;
        std::string text;
    };

    std::vector<std::string> lines;
    std::array<std::vector<std::string>, 2> readouts; // A/D, D/A: the caption, then the rows
    Mode mode = Mode::Idle;
    std::string dump;
    std::vector<Message> messages;
    std::deque<bool> answers;
    std::vector<std::vector<std::string>> questions; // each: its text, then its lines
    int beeps = 0;
    std::vector<std::int16_t> channelEdits;

    // The text of the only message so far, else how many there were.
    std::string message() const;

    void setLine(int i, const std::string& text) override;
    void clearLines() override { lines.clear(); }
    void setButtonCaptions(const std::array<std::string, 3>&) override {}
    void resetReadouts(ReadoutPage page, const std::string& caption, int rows) override;
    void setReadoutLine(ReadoutPage page, int row, const std::string& text) override {
        readouts[static_cast<std::size_t>(page)].at(static_cast<std::size_t>(row)) = text;
    }
    void showMode(Mode shown) override { mode = shown; }
    void showDump(const std::string& text) override { dump = text; }
    void dumpClosed() override {}
    void editChannel(std::int16_t channel) override { channelEdits.push_back(channel); }
    void showMessage(const std::string& text) override {
        messages.push_back({Message::Warning, text});
    }
    void showInformation(const std::string& text) override {
        messages.push_back({Message::Information, text});
    }
    bool askYesNo(const std::string& question, const std::vector<std::string>& lines) override;
    void beep() override { ++beeps; }
    void linkFailed(const std::string& text) override {
        messages.push_back({Message::LinkFailure, text});
    }
};

} // namespace testsupport
