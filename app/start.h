// The start-up of the utility and its three ways to end.
#pragma once

// Runs the utility: refuses a second copy, builds the port manager, the radio identity and the
// main window, loads the settings, starts the 50 ms tick and shows the window. Returns the
// process exit code when the program ends.
int Main(int argc, char** argv);

// The text shown to a second copy of the program.
extern const char* const AlreadyRunningText;
