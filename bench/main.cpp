// SPDX-License-Identifier: GPL-3.0-or-later
// vsk5-bench: the utility's figures on this machine, each beside its floor and its target. It
// runs the real utility (the composition root, QSerialPort, the 50 ms QTimer, the system
// clock) against the simulated radio paced at 9600 bit/s on a pseudo-terminal and drives it as
// a technician does: Connect, key steps, a band-pass sweep, the S-meter, a TXF write; then idle
// processor time, resident memory, start-up to the first window and the settings save; and the
// command line's unattended alignment with the simulated signal generator.
//
//   vsk5-bench                 the full run (about two and a half minutes)
//   vsk5-bench --quick         a smoke run: 10 key steps, 3 s idle, a 1 MB settings file, one
//                              start, a short alignment; about a minute, most of it Connects and
//                              the sweep at line rate
//   vsk5-bench --frames FILE   also every frame on the line with its moments, into FILE
//
// Exit code 0 when every figure was measured, whether or not it meets its target; 77 when the
// machine has no pseudo-terminals.
#include "bench/Alignment.h"
#include "bench/BenchApp.h"
#include "bench/Clock.h"
#include "bench/FirstWindow.h"
#include "bench/MachineText.h"
#include "bench/Procedures.h"
#include "bench/SystemFigures.h"
#include "bench/UtilityOnPty.h"

#include <QStandardPaths>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <string>

namespace {

using namespace vsk5bench;

struct Options {
    bool quick = false;
    std::string framesFile;
    std::string childFolder; // set: this is the first-window child
    bool help = false;
};

Options options(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--quick") {
            o.quick = true;
        } else if (arg == "--frames" && i + 1 < argc) {
            o.framesFile = argv[++i];
        } else if (arg == "--first-window" && i + 1 < argc) {
            o.childFolder = argv[++i];
        } else {
            o.help = true;
        }
    }
    return o;
}

// Sizes of one run: the full one, or the smoke run's.
struct RunSize {
    int keySteps;
    int idleSeconds;
    long settingsBytes;
    int firstWindowStarts;
};

constexpr RunSize Full{100, 30, 10L * 1024 * 1024, 5};
constexpr RunSize Quick{10, 3, 1L * 1024 * 1024, 1};

// The exit code for a machine that has no pseudo-terminals (a test skipped, not failed).
constexpr int NoPseudoTerminal = 77;

// Test channel 1 shown at 146.000 MHz, for the low band's sweep.
const char* const SweepChannel = "[OPTION]\nMR-1(Appear)=1\nMR-1(Frequency)=14600000\n";

std::vector<Figure> lineFigures(UtilityOnPty& bench, const RunSize& size) {
    std::vector<Figure> figures = measureConnect(bench);
    // The wait after Connect's last value runs out before the first key.
    bench.settle(5000);
    for (Figure& f : measureKeySteps(bench, size.keySteps)) {
        figures.push_back(std::move(f));
    }
    figures.push_back(measureSweep(bench));
    figures.push_back(measureSMeter(bench));
    figures.push_back(measureTxfWrite(bench));
    bench.settle(5000);
    return figures;
}

int runBench(BenchApp& app, const Options& o) {
    const RunSize& size = o.quick ? Quick : Full;
    const std::int64_t start = nowNs();
    std::cout << "vsk5-bench, " << (o.quick ? "quick (smoke) run" : "full run") << "\n"
              << machineText() << std::endl;
    std::vector<Figure> figures{measureFirstWindow(size.firstWindowStarts)};
    UtilityOnPty bench(app, SweepChannel);
    if (!bench.line().ok()) {
        std::cerr << "No pseudo-terminal to be had here: nothing measured." << std::endl;
        return NoPseudoTerminal;
    }
    if (!bench.ok()) {
        std::cerr << "The utility could not be started against the simulated radio." << std::endl;
        return 1;
    }
    // The window shown and drawn and a few of the utility's ticks gone by before the first
    // click, as at the bench.
    app.runFor(500);
    for (Figure& f : lineFigures(bench, size)) {
        figures.push_back(std::move(f));
    }
    figures.push_back(measureIdleCpu(bench, size.idleSeconds));
    figures.push_back(measureResidentMemory());
    figures.push_back(measureSettingsSave(bench, size.settingsBytes));
    figures.push_back(measureAlignment(app, o.quick));
    if (!o.framesFile.empty()) {
        std::ofstream frames(o.framesFile);
        bench.log().write(frames, start);
    }
    std::cout << '\n';
    printFigures(std::cout, figures);
    std::cout << "\nThe run took " << static_cast<int>(msBetween(start, nowNs()) / 1000) << " s."
              << std::endl;
    const bool allMeasured = std::all_of(figures.begin(), figures.end(),
                                         [](const Figure& f) { return f.value.has_value(); });
    return allMeasured ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::int64_t mainNs = nowNs();
    const Options o = options(argc, argv);
    if (o.help) {
        std::cout << "usage: vsk5-bench [--quick] [--frames FILE]\n";
        return 2;
    }
    // No window appears on a screen unless the caller asks for a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (!o.childFolder.empty()) {
        return firstWindowChild(argc, argv, o.childFolder, mainNs);
    }
    BenchApp app(argc, argv);
    // Qt's test folders stand in for the user's own: the bench leaves no settings there.
    QStandardPaths::setTestModeEnabled(true);
    return runBench(app, o);
}
