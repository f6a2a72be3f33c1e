// SPDX-License-Identifier: GPL-3.0-or-later
// What the model asks of its client: the intents a screen must carry out, not its widgets, and
// the console's lines. The main window implements it, the command line in its own way; the
// model never sees a widget.
//
//   view.showMode(RigView::Mode::Editing);                    // the console with its items
//   view.setReadoutLine(ReadoutPage::AD, 2, "LVIN :128:80h:  2.51V");
//   view.showMessage("No signal reached the detector. ...");
#pragma once

#include "console/ConsoleLines.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

enum class ReadoutPage { AD = 0, DA = 1 };

class RigView : public ConsoleLines {
  public:
    // Not connected (the title), connected (the console), the parameter dump.
    enum class Mode { Idle, Editing, DispPara };

    virtual ~RigView() = default;

    virtual void setButtonCaptions(const std::array<std::string, 3>& captions) = 0;
    // The list of a readout page: its caption and so many "----" rows.
    virtual void resetReadouts(ReadoutPage page, const std::string& caption, int rows) = 0;
    // Row `row` (0 is the caption) of a readout list.
    virtual void setReadoutLine(ReadoutPage page, int row, const std::string& text) = 0;
    virtual void showMode(Mode mode) = 0;
    virtual void showDump(const std::string& text) = 0;
    // The dump was left: the keys go back to the button that toggles it.
    virtual void dumpClosed() = 0;
    // The channel dialog for a test channel, modal: returns when the technician closed it.
    virtual void editChannel(std::int16_t channel) = 0;
    // The product's warning box with one OK button.
    virtual void showMessage(const std::string& text) = 0;
    // The same box with the information icon: a job that completed and verified.
    virtual void showInformation(const std::string& text) = 0;
    // A question with the lines it is about and Yes (the default button) or No; true for Yes.
    virtual bool askYesNo(const std::string& question, const std::vector<std::string>& lines) = 0;
    virtual void beep() = 0;
    // A link error ended the session; the model is reset already. Called once per failure,
    // outside the tick, with the message that says why.
    virtual void linkFailed(const std::string& text) = 0;
};
