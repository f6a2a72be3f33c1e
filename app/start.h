// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up of the utility and its three ways to end.
#pragma once

#include "app/Utility.h"

#include <string>

// Where the start-up looks for the other running copy and the utility's files. The program
// uses the defaults; tests point them somewhere of their own.
struct StartupPlaces {
    std::string lockFolder;                // empty: the user's runtime folder
    std::string lockName = "VSK5ALN.lock"; // in lockFolder
    std::string logFolder;                 // where the session's log goes; empty: no log
    Utility::Places utility;
};

// Creates the application object and runs the utility; returns the process exit code.
int Main(int argc, char** argv);

// Runs the utility inside an existing application object: refuses a second copy (only a lock
// held by another running copy does; a lock that cannot be taken at all lets it start), builds
// the utility (its session log first), loads the settings, starts the 50 ms tick and shows the
// window until it is closed. Returns 1 at once when another copy runs or the constants file cannot
// be read (the settings are saved first in the second case), otherwise the event loop's code.
int runUtility(const StartupPlaces& places = {});
