// SPDX-License-Identifier: GPL-3.0-or-later
// Where the console's lines are shown: one line per item, line i always belonging to item i.
// The main window shows them in its list; the console never sees a widget.
#pragma once

#include <string>

class ConsoleLines {
  public:
    virtual ~ConsoleLines() = default;
    // Line i shows text (lines up to i are added as needed).
    virtual void setLine(int i, const std::string& text) = 0;
    // No lines.
    virtual void clearLines() = 0;
};
