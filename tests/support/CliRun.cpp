// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's root driven on the test clock.
#include "tests/support/CliRun.h"

#include "platform/TickCount.h"

#include <sstream>

namespace testsupport {

CliRun runCommandLine(const QStringList& arguments, const std::string& folder,
                      std::unique_ptr<SimSerialControl> serial,
                      const std::function<void(CommandLine&)>& afterTick) {
    constexpr int MaxTicks = 20000;
    const CliParse parsed = parseCommandLine(QStringList{"vsk5-aln-cli"} + arguments);
    if (!parsed.request) {
        return {static_cast<int>(parsed.exit), parsed.text, {}};
    }
    std::ostringstream out;
    std::ostringstream err;
    CliRun run;
    {
        const CommandLine::Places places{folder, folder, folder, folder + "backups", false};
        CommandLine cli(*parsed.request, out, err, places, std::move(serial));
        cli.start(false);
        // A timer tick every 50 ms, and a tick of its own for a wait that falls due between.
        for (int i = 0; i < MaxTicks && !cli.finished(); ++i) {
            std::int32_t left = CommandLine::TickIntervalMs;
            for (std::int32_t due = cli.msUntilDue(); due > 0 && due < left;
                 due = cli.msUntilDue()) {
                platform::TickCount::advanceTestClock(due);
                left -= due;
                cli.tick();
            }
            platform::TickCount::advanceTestClock(left);
            cli.tick();
            if (afterTick) {
                afterTick(cli);
            }
        }
        run.exit = cli.finished() ? cli.exitCode() : -1;
    }
    run.out = out.str();
    run.err = err.str();
    return run;
}

} // namespace testsupport
