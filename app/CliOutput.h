// SPDX-License-Identifier: GPL-3.0-or-later
// Where the command line writes: progress on standard error (a bar redrawn in place on a
// terminal, a plain line for each new phase otherwise) and results on standard output (lines
// for a person, or with --json one JSON object per result, one per line).
//
//   output.progress(Progress{"Reading memory", 1024, 2048});
//       terminal: "\rReading memory            [##########          ] 1024/2048"
//       a pipe:   "Reading memory"  (once)
//   output.result({{"command", "identify"}, {"subCode", "0001"}}, "VX-K5 0001");
#pragma once

#include "model/Progress.h"

#include <QJsonObject>

#include <optional>
#include <ostream>
#include <string>

class CliOutput {
  public:
    CliOutput(std::ostream& out, std::ostream& err, bool json, bool terminal)
        : out(out), err(err), json(json), terminal(terminal) {}

    void progress(const std::optional<Progress>& now);
    // Ends a bar drawn in place, so that what follows starts on a line of its own.
    void endProgress();
    // One result: the text for a person, or the fields as one JSON object.
    void result(const QJsonObject& fields, const std::string& text);
    // A text of the window's as a terminal shows it: its CR LF line ends become LF, and a line
    // end at its very end goes (the line is ended where it is printed).
    static std::string terminalLines(const std::string& text);

  private:
    std::ostream& out;
    std::ostream& err;
    bool json;
    bool terminal;
    std::string shownWhat;
    std::string shownBar;
    bool barDrawn = false;
};
