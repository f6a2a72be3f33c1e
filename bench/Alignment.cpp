// SPDX-License-Identifier: GPL-3.0-or-later
// The unattended alignment against its floor.
#include "bench/Alignment.h"

#include "app/CommandLine.h"
#include "bench/BenchApp.h"
#include "bench/Clock.h"
#include "bench/CountingSerialControl.h"
#include "bench/CriticalPath.h"
#include "bench/LineLog.h"
#include "bench/PacedPty.h"
#include "bench/WaitWatch.h"
#include "sim/SimGeneratorServer.h"

#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace vsk5bench {

namespace {

constexpr int SettleMs = 300;
constexpr int RunTimeoutMs = 600000;
constexpr double AlignmentRatio = 1.02;

// Test channels 1 to 3 in the low, middle and high band, as the sample plan wants them.
const char* const Channels = "[OPTION]\nMR-1(Appear)=1\nMR-1(Frequency)=14600000\n"
                             "MR-2(Appear)=1\nMR-2(Frequency)=15500000\n"
                             "MR-3(Appear)=1\nMR-3(Frequency)=16600000\n";
const char* const QuickPlan = "[S-METER]\nChannel=1\nLevel=-80.0\n[DTCS-START]\n[DTCS-STOP]\n";

bool writeText(const std::string& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << text;
    return out.good();
}

std::string readText(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The frames with the settle times laid in: each step that set the generator began after the
// frame before its first one, so that frame is followed by the settle time (or the model's own
// wait, whichever is longer).
std::vector<ComputerFrame> withSettles(const std::vector<const ComputerFrame*>& frames,
                                       const std::vector<std::int64_t>& stepsBegun) {
    std::vector<ComputerFrame> copies;
    for (const ComputerFrame* f : frames) {
        copies.push_back(*f);
    }
    for (const std::int64_t begun : stepsBegun) {
        for (std::size_t i = 1; i < copies.size(); ++i) {
            if (copies[i].handedNs >= begun) {
                copies[i - 1].waitMs = std::max(copies[i - 1].waitMs, SettleMs);
                break;
            }
        }
    }
    return copies;
}

// The run's surroundings: a scratch folder with the settings, constants and plan, the paced
// radio on its pseudo-terminal, and the simulated generator beside it, served every millisecond
// from the event loop as its own process would serve it at once (its part stays in the
// measured time).
struct AlignmentBench {
    QTemporaryDir dir;
    std::string here = dir.path().toStdString() + "/";
    LineLog log;
    PacedPty pty{{}, log};
    vxk5sim::SimGenerator generator;
    vxk5sim::SimGeneratorServer server{generator};
    QTimer serve;
    bool ok = false;

    explicit AlignmentBench(bool quick) {
        const std::string plan =
            quick ? QuickPlan : readText(VSK5_SOURCE_DIR "/align/vx-k5-sim.plan");
        ok = dir.isValid() && pty.ok() && server.listen("127.0.0.1", 0) &&
             writeText(here + "Const.ini", readText(VSK5_SOURCE_DIR "/sim/Const.ini")) &&
             writeText(here + "run.plan", plan) &&
             writeText(here + "VSK5ALN.ini",
                       "[PORTS]\nCOM1=" + pty.devicePath() + "\n" + Channels +
                           "[INSTRUMENTS]\nSettleTime=" + std::to_string(SettleMs) + "\n");
        pty.radio().attachGenerator(&generator);
        serve.setTimerType(Qt::PreciseTimer);
        QObject::connect(&serve, &QTimer::timeout,
                         [this] { server.service(static_cast<std::int64_t>(nowNs() / 1000000)); });
        serve.start(1);
    }

    CliRequest request() const {
        return *parseCommandLine({"vsk5-aln-cli", "--settings",
                                  QString::fromStdString(here + "VSK5ALN.ini"), "--constants",
                                  QString::fromStdString(here + "Const.ini"), "align",
                                  QString::fromStdString(here + "run.plan"), "--generator",
                                  QString("TCPIP::127.0.0.1::%1::SOCKET").arg(server.port())})
                    .request;
    }

    // The floor of the frames handed over from start on, the settle times laid in.
    PathFloor floor(std::int64_t start, std::int64_t handed,
                    const std::vector<std::int64_t>& stepsBegun) {
        const std::vector<ComputerFrame> frames =
            withSettles(log.framesSentBy(start, handed), stepsBegun);
        std::vector<const ComputerFrame*> path;
        for (const ComputerFrame& f : frames) {
            path.push_back(&f);
        }
        return criticalPath(log, path, pty.radio().config().answerDelayMs);
    }
};

} // namespace

Figure measureAlignment(BenchApp& app, bool quick) {
    Figure figure{"Unattended alignment", "ms", {}, {}, AlignmentRatio, {}, {}};
    figure.notes.push_back(
        std::string("align ") + (quick ? "a short plan" : "vx-k5-sim.plan") +
        ": its start -> the verifying read compared, the generator's output off");
    AlignmentBench b(quick);
    if (!b.ok) {
        figure.notes.push_back("the bench could not be set up");
        return figure;
    }
    std::ostringstream out, err;
    const CommandLine::Places places{b.here, b.here + "user", b.here, b.here + "backups", false};
    auto serial = std::make_unique<CountingSerialControl>(b.here + "VSK5ALN.ini");
    CountingSerialControl& counted = *serial;
    CommandLine cli(b.request(), out, err, places, std::move(serial));
    b.pty.setHandOver([&](std::int64_t n) { return counted.handedAt(n); });
    WaitWatch watch(cli.door().console(), b.log, [&] { return counted.bytesHandedOver(); });
    std::vector<std::int64_t> stepsBegun;
    const std::int64_t start = nowNs();
    if (!cli.start()) {
        figure.notes.push_back(err.str());
        return figure;
    }
    AlignmentRun& run = *cli.alignmentRun();
    QObject::connect(&run, &AlignmentRun::stepChanged, [&](std::size_t step) {
        if (run.state(step) == StepState::Running && run.plan().steps[step].levelDbm) {
            stepsBegun.push_back(nowNs());
        }
    });
    const auto end = app.runUntil([&] { return cli.finished(); }, RunTimeoutMs);
    if (!end || cli.exitCode() != 0 || b.generator.outputOn()) {
        figure.notes.push_back("it did not complete: " + out.str() + err.str());
        return figure;
    }
    app.runUntil([&] { return b.log.bytesRead() >= counted.bytesHandedOver(); }, 1000);
    const PathFloor floor = b.floor(start, counted.bytesHandedOver(), stepsBegun);
    figure.value = msBetween(start, *end);
    figure.floor = floor.ms;
    char text[160];
    std::snprintf(text, sizeof text, "%zu steps set the generator (%d ms settle time each)",
                  stepsBegun.size(), SettleMs);
    figure.notes.push_back(text);
    figure.notes.push_back("floor: " + floor.describe());
    return figure;
}

} // namespace vsk5bench
