// SPDX-License-Identifier: GPL-3.0-or-later
// What the model shows, for the command line: its messages go to standard error in the
// window's own words, its questions are answered by --yes, the dump is kept for the command
// that asked for it, and a link failure is kept for the exit status. The console's lines, the
// readouts and the pages have no place here and are left out.
//
//   CliView view(std::cerr, true);
//   view.showMessage("No answer from VX-K5.\r\n...");   // on standard error, LF line ends
//   view.askYesNo("Revert the VX-K5 ...?", lines);      // printed with its lines; true
#pragma once

#include "model/RigView.h"

#include <functional>
#include <ostream>
#include <string>

class CliView : public RigView {
  public:
    CliView(std::ostream& err, bool yes) : err(err), yes(yes) {}
    // Called before each message: a progress bar drawn in place ends its line first.
    void setBeforeSaying(std::function<void()> hook) { beforeSaying = std::move(hook); }

    void setLine(int, const std::string&) override {}
    void clearLines() override {}
    void setButtonCaptions(const std::array<std::string, 3>&) override {}
    void resetReadouts(ReadoutPage, const std::string&, int) override {}
    void setReadoutLine(ReadoutPage, int, const std::string&) override {}
    void showMode(Mode) override {}
    void showDump(const std::string& text) override { dumpText = text; }
    void dumpClosed() override {}
    void editChannel(std::int16_t) override {}
    void showMessage(const std::string& text) override;
    void showInformation(const std::string& text) override;
    bool askYesNo(const std::string& question, const std::vector<std::string>& lines) override;
    void beep() override {}
    void linkFailed(const std::string& text) override;

    // A message as a terminal shows it: the window's CR LF line ends become LF.
    void say(const std::string& text);
    // The question and its lines, as the window's question box lists them.
    void ask(const std::string& question, const std::vector<std::string>& lines);

    const std::string& dump() const { return dumpText; }
    const std::string& lastMessage() const { return message; }
    // An information box came since the last clear: a job that completed and verified.
    bool informed() const { return information; }
    void clearMessages();
    // The link failed; its message is lastMessage().
    bool failed() const { return linkFailure; }

  private:
    std::ostream& err;
    bool yes;
    std::function<void()> beforeSaying;
    std::string dumpText;
    std::string message;
    bool information = false;
    bool linkFailure = false;
};
