// SPDX-License-Identifier: GPL-3.0-or-later
// A RigView that shows nothing and records everything, in order: the console's lines, the
// readout lists, the mode, the dump, the messages (warnings, information, link failures), the
// questions (answered from a script, Yes when it runs dry), beeps and channel-edit requests.
// The model's tests read the door's news from it as a technician reads the window.
//
//   RecordingView view;
//   view.answer(false);                       // the next question: No
//   RigDoor door(std::move(line), view);
//   view.messages();                          // every box the window would have opened
#pragma once

#include "model/RigView.h"

#include <array>
#include <deque>
#include <string>
#include <vector>

namespace testsupport {

class RecordingView : public RigView {
  public:
    struct Message {
        enum Kind { Warning, Information, LinkFailure } kind;
        std::string text;
    };

    void answer(bool yes) { answers.push_back(yes); }

    const std::vector<std::string>& lines() const { return consoleLines; }
    const std::vector<std::string>& readout(ReadoutPage page) const {
        return readoutLines[static_cast<std::size_t>(page)];
    }
    Mode mode() const { return shownMode; }
    const std::string& dump() const { return dumpText; }
    const std::vector<Message>& messages() const { return shown; }
    // The text of the only message so far, else how many there were.
    std::string message() const;
    // Every question asked: its text, then each of its lines.
    const std::vector<std::vector<std::string>>& questions() const { return asked; }
    int beeps() const { return beepCount; }
    const std::vector<std::int16_t>& channelEdits() const { return edits; }
    void clear() { shown.clear(); }

    void setLine(int i, const std::string& text) override;
    void clearLines() override { consoleLines.clear(); }
    void setButtonCaptions(const std::array<std::string, 3>&) override {}
    void resetReadouts(ReadoutPage page, const std::string& caption, int rows) override;
    void setReadoutLine(ReadoutPage page, int row, const std::string& text) override {
        readoutLines[static_cast<std::size_t>(page)].at(static_cast<std::size_t>(row)) = text;
    }
    void showMode(Mode mode) override { shownMode = mode; }
    void showDump(const std::string& text) override { dumpText = text; }
    void dumpClosed() override {}
    void editChannel(std::int16_t channel) override { edits.push_back(channel); }
    void showMessage(const std::string& text) override {
        shown.push_back({Message::Warning, text});
    }
    void showInformation(const std::string& text) override {
        shown.push_back({Message::Information, text});
    }
    bool askYesNo(const std::string& question, const std::vector<std::string>& lines) override;
    void beep() override { ++beepCount; }
    void linkFailed(const std::string& text) override {
        shown.push_back({Message::LinkFailure, text});
    }

  private:
    std::vector<std::string> consoleLines;
    std::array<std::vector<std::string>, 2> readoutLines;
    Mode shownMode = Mode::Idle;
    std::string dumpText;
    std::vector<Message> shown;
    std::deque<bool> answers;
    std::vector<std::vector<std::string>> asked;
    int beepCount = 0;
    std::vector<std::int16_t> edits;
};

} // namespace testsupport
