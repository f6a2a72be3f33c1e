// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's root driven on the test clock.
#include "tests/support/CliRun.h"

#include "tests/support/SimBench.h"

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
        SimSerialControl& line = *serial;
        CommandLine cli(*parsed.request, out, err, places, std::move(serial));
        cli.start(false);
        for (int i = 0; i < MaxTicks && !cli.finished(); ++i) {
            SimBench::tickOnTestClock(
                line, [&cli] { return cli.msUntilDue(); }, [&cli] { cli.tick(); });
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
