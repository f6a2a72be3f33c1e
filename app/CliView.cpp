// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's view of the model.
#include "app/CliView.h"

#include "app/CliOutput.h"

void CliView::say(const std::string& text) {
    if (beforeSaying) {
        beforeSaying();
    }
    err << CliOutput::terminalLines(text) << '\n' << std::flush;
}

void CliView::showMessage(const std::string& text) {
    message = text;
    say(text);
}

void CliView::showInformation(const std::string& text) {
    message = text;
    information = true;
    say(text);
}

void CliView::ask(const std::string& question, const std::vector<std::string>& lines) {
    say(question);
    for (const std::string& line : lines) {
        say("  " + line);
    }
}

bool CliView::askYesNo(const std::string& question, const std::vector<std::string>& lines) {
    ask(question, lines);
    say(yes ? "Yes (--yes)." : "No (without --yes).");
    return yes;
}

void CliView::linkFailed(const std::string& text) {
    linkFailure = true;
    showMessage(text);
}

void CliView::clearMessages() {
    message.clear();
    information = false;
}
