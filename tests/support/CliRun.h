// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's composition root on the test clock, against the in-process simulated
// radio: its arguments parsed as the program parses them, its settings, constants and backups
// in a folder of the test's, its ticks driven as its timers would drive them, until the command
// has finished. Standard output and error are kept.
//
//   auto serial = std::make_unique<SimSerialControl>();
//   CliRun run = runCommandLine({"run", "BPF-LOW"}, dir.path(), std::move(serial));
//   run.exit -> 0; run.out -> "BPF Low ALL: Completed\n"
#pragma once

#include "app/CommandLine.h"
#include "tests/support/SimSerialControl.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <string>

namespace testsupport {

struct CliRun {
    int exit = -1; // -1: the command had not finished within the ticks allowed
    std::string out;
    std::string err;
};

// folder holds "Const.ini" and "VSK5ALN.ini" and ends with a separator; afterTick sees the root
// after each of its ticks.
CliRun runCommandLine(const QStringList& arguments, const std::string& folder,
                      std::unique_ptr<SimSerialControl> serial,
                      const std::function<void(CommandLine&)>& afterTick = {});

} // namespace testsupport
