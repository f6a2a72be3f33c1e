// SPDX-License-Identifier: GPL-3.0-or-later
// What the utility is busy with, for the status bar: the work in words and, where it can be
// counted, how far it is ("Reading memory", 1024 of 2048 bytes).
#pragma once

#include <string>

struct Progress {
    std::string what;
    int done = 0;
    int total = 0; // 0: the work cannot be counted; words only
};
