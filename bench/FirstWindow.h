// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up to the first window. The bench starts itself again as a child process that runs the
// program's own start-up (the application object as vsk5-aln's main makes it, then runUtility:
// the one-copy lock, the composition root, the settings, the constants, the window shown) and
// notes the moment the main window gets its first paint event, that is when the window system
// has exposed it and Qt begins to draw it; then it closes the window as the technician would.
// The parent counts from the moment just before it starts the child, so the figure holds the
// process start and the loading of the libraries as well. Both read the same monotonic clock.
//
//   vsk5-bench --first-window FOLDER   (the child; FOLDER holds Const.ini and the settings)
#pragma once

#include "bench/Figure.h"

#include <cstdint>
#include <string>

namespace vsk5bench {

// The child's part; mainNs is the moment its main() began. Prints one line for the parent.
int firstWindowChild(int argc, char** argv, const std::string& folder, std::int64_t mainNs);
// Starts the child `runs` times in a scratch folder of its own; the median run.
Figure measureFirstWindow(int runs);

} // namespace vsk5bench
