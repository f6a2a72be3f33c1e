// SPDX-License-Identifier: GPL-3.0-or-later
// Golden traces: a dozen sessions at the bench, each recorded tick by tick (the frames on the
// line, the console and readout lines, the dump, the port label, the page, the messages and the
// beeps) and compared with the trace kept in tests/golden/traces. A difference is a change of
// behaviour; when it is meant, VSK5_UPDATE_GOLDEN=1 writes the new trace for review.
#include "common/CommonRoutines.h"
#include "model/ImageFile.h"
#include "model/ServiceJob.h"
#include "model/clsIndOp_RigK5.h"
#include "tests/support/Bench.h"
#include "tests/support/CliRun.h"
#include "tests/support/ConnectedBench.h"
#include "tests/support/DialogScript.h"
#include "tests/support/TraceRecorder.h"
#include "ui/ServiceMenu.h"
#include "ui/frmEditCh.h"
#include "ui/frmMain.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

using namespace proceduretest; // the items' lines, the test channels of the sweeps
using testsupport::Bench;
using testsupport::TraceRecorder;

namespace {

constexpr int ConnectTicks = 300; // Connect with room to spare: read, readouts, every value
constexpr QKeyCombination ShiftRight = Qt::ShiftModifier | Qt::Key_Right; // the coarse step

// How a session starts: the radio, the settings file, and a silent Connect first or not.
struct Start {
    vxk5sim::SimConfig radio;
    std::string settings = SweepChannels;
    bool connected = true;
};
const Start Unconnected{{}, "", false};

// One bench and its recording, added to the trace under its heading (when it has one).
void session(std::string& trace, const char* heading, const Start& start,
             const std::function<void(TraceRecorder&)>& script) {
    if (heading != nullptr) {
        trace += std::string("== ") + heading + "\n";
    }
    Bench bench(start.radio, start.settings);
    bench.tick(); // the window as it first shows, before any action
    if (start.connected) {
        bench.window().cmd00(0).click();
        bench.tick(ConnectTicks);
    }
    TraceRecorder rec(bench);
    script(rec);
    rec.look();
    trace += rec.text();
}

// --- the scenarios of one session ------------------------------------------------------------

void connectScenario(TraceRecorder& rec) {
    rec.tick(2);
    rec.click(0, ConnectTicks);
}

void stepEveryValue(TraceRecorder& rec) {
    for (const int line : ValueItems) {
        rec.key(line, Qt::Key_Right, 6);
        rec.key(line, ShiftRight, 6);
        rec.key(line, Qt::Key_Left, 6);
    }
    for (int i = 0; i < 4; ++i) { // the channel item wraps; only shown channels go out
        rec.key(ItemChannel, Qt::Key_Left, 3);
    }
    rec.key(ItemChannel, ShiftRight, 3);
    for (int i = 0; i < 60; ++i) { // against the end: every step sends once more
        rec.key(2, ShiftRight, 5);
    }
}

void reloadDumpAndRelease(TraceRecorder& rec) {
    rec.bench().radio().config().level = 51;
    rec.bench().radio().config().temperature = 200;
    rec.click(1, 60);
    rec.click(2, 10);
    rec.keyOnDump(Qt::Key_Escape, 10);
    rec.click(2, 10);
    rec.click(2, 10);
    rec.note("auto release 1 sec");
    rec.bench().window().mnuOptionSelAutoRelease(1).trigger();
    rec.tick(40);
    rec.key(1, Qt::Key_Right, 40); // reopens the port
}

void channelDialog(TraceRecorder& rec) {
    rec.answerDialogs([](QDialog& dialog) {
        auto& edit = dynamic_cast<frmEditCh&>(dialog);
        edit.show();
        QApplication::processEvents();
        edit.txtEditCh_FreqOp->setText("144.525");
        edit.cmdEditCh_Ok->click();
        return 1;
    });
    rec.key(ItemChannel, Qt::Key_Return, 20);
    rec.answerDialogs({});
    rec.key(ItemChannel, Qt::Key_Right, 5);
    rec.key(ItemChannel, Qt::Key_Left, 5);
}

void dtcsAndModulation(TraceRecorder& rec) {
    rec.key(ItemDtcsStart, Qt::Key_Return, 5);
    rec.key(ItemDtcsStop, Qt::KeypadModifier | Qt::Key_Enter, 5);
    rec.key(ItemModLevel, Qt::Key_Return, 20);
    rec.bench().radio().config().level = 77;
    rec.key(ItemModLevel, Qt::Key_Right, 20);
    rec.key(ItemModLevel, ShiftRight);
    rec.key(ItemModLevel, Qt::Key_Return, 20);
}

void sweeps(TraceRecorder& rec) {
    for (const int line : {ItemBpfLowAll, ItemBpfMidAll, ItemBpfHighAll}) {
        rec.key(line, Qt::Key_Return, 700);
    }
}

void txf(TraceRecorder& rec) {
    rec.key(ItemTxf, Qt::Key_Return, 30);
    rec.key(ItemTxf, Qt::Key_Right, 10);
    rec.key(ItemTxf, Qt::Key_Right, 20);
    rec.key(ItemTxf, Qt::Key_Return, 40);
    rec.key(ItemTxf, ShiftRight, 20);
    rec.key(ItemTxf, Qt::Key_Return, 100);
}

void sMeter(TraceRecorder& rec) {
    rec.key(ItemSMeter, Qt::Key_Return, 20);
}

void abandoned(TraceRecorder& rec) {
    rec.key(ItemBpfLowAll, Qt::Key_Return, 60);
    rec.click(1, 60); // Reload leaves the sweep
    rec.key(ItemTxf, Qt::Key_Return, 30);
    rec.key(ItemTxf, ShiftRight, 20);
    rec.key(ItemDtcsStart, Qt::Key_Return, 20); // another procedure leaves TXF
    rec.key(ItemModLevel, Qt::Key_Return, 20);
    rec.key(ItemModLevel, Qt::Key_Right, 20);
    rec.click(2, 20); // Disp para leaves the modulation level
    rec.click(2, 20);
    rec.key(ItemSMeter, Qt::Key_Return, 1);
    rec.click(0, ConnectTicks); // Connect leaves the S-meter
    rec.key(ItemBpfHighAll, Qt::Key_Return, 100);
    rec.note("close the window");
    rec.bench().window().close(); // closing leaves the sweep
}

// A write (every value sent again, then its message), an S-meter run, a revert (S1 to S3 with
// their offsets), and a write whose verifying read loses a record outside the adjustments.
void fileJobs(TraceRecorder& rec) {
    Bench& bench = rec.bench();
    testsupport::DialogScript script;
    Bytes image(bench.radio().memory().begin(), bench.radio().memory().end());
    const std::string before = bench.folder().file("VX-K5_0001_before.img");
    const std::string edited = bench.folder().file("VX-K5_0001_edited.img");
    ASSERT_TRUE(ImageFile::write(before, image));
    image[0x7A9] = 77;   // Power(Hi)
    image[0x100] = 0x5A; // a channel memory
    ASSERT_TRUE(ImageFile::write(edited, image));
    for (const std::string& path : {edited, before, edited}) {
        script.choose(path);
        script.answer(true);
    }
    rec.note("write image VX-K5_0001_edited.img");
    bench.window().serviceMenu().writeImage();
    rec.tick(250);
    rec.key(ItemSMeter, Qt::Key_Return, 20);
    rec.note("revert to VX-K5_0001_before.img");
    bench.window().serviceMenu().openImage();
    bench.window().serviceMenu().revert();
    rec.tick(150);
    rec.note("write it again; the verifying read loses a record");
    bench.radio().config().dropRecord = 5; // outside the adjustments
    bench.window().serviceMenu().writeImage();
    rec.tick(200);
}

// --- the scenarios of several sessions -------------------------------------------------------

void connectFailures(std::string& trace) {
    const std::pair<const char*, std::function<void(vxk5sim::SimConfig&)>> faults[] = {
        {"wrong model", [](auto& c) { c.wrongModel = true; }},
        {"bad sub code", [](auto& c) { c.badSubCode = true; }},
        {"no echo", [](auto& c) { c.noEcho = true; }},
        {"no answer", [](auto& c) { c.noAnswer = true; }},
        {"bad record", [](auto& c) { c.badChecksumRecord = 5; }},
        {"lost record", [](auto& c) { c.dropRecord = 122; }},
        {"silence", [](auto& c) { c.silenceAfterRecords = 10; }},
        {"garbage", [](auto& c) { c.garbage = true; }},
    };
    for (const auto& [name, fault] : faults) {
        Start start = Unconnected;
        fault(start.radio);
        session(trace, name, start, [](TraceRecorder& rec) { rec.click(0, 150); });
    }
    session(trace, "port cannot be opened", Unconnected, [](TraceRecorder& rec) {
        rec.bench().serial().setOpenFails(true);
        rec.click(0, 20);
        rec.bench().serial().setOpenFails(false);
        rec.click(0, 10);
    });
}

void lostPort(std::string& trace) {
    session(trace, "unplugged during a sweep", {}, [](TraceRecorder& rec) {
        rec.key(ItemBpfMidAll, Qt::Key_Return, 40);
        rec.note("unplug");
        rec.bench().serial().unplug();
        rec.tick(5);
        rec.key(1, Qt::Key_Right);
        rec.click(1, 10);
        rec.note("plug in");
        rec.bench().serial().plugIn();
        rec.click(0, ConnectTicks);
    });
    session(trace, "a write fails", {}, [](TraceRecorder& rec) {
        rec.note("writes fail");
        rec.bench().serial().setWriteFails(true);
        rec.key(2, Qt::Key_Left, 10);
    });
}

// What the service record says of the last procedure run, as a note in the trace.
void noteLastRun(TraceRecorder& rec) {
    const auto& runs = rec.bench().model().serviceJob().record().runs();
    const bool ended = !runs.empty() && runs.back().outcome == RunOutcome::EndedWithoutResult;
    rec.note(ended ? runs.back().name + " ended without result: " + runs.back().reason
                   : std::string("no run ended without result"));
}

void soundEnds(std::string& trace) {
    Start dead;
    dead.radio.signal = 0;
    session(trace, "sweep without a signal", dead,
            [](TraceRecorder& rec) { rec.key(ItemBpfLowAll, Qt::Key_Return, 700); });
    session(trace, "S-meter readings 0, 1, 240 and 239", {}, [](TraceRecorder& rec) {
        rec.bench().radio().config().detectorScript = {0, 1, 240, 239};
        for (int i = 0; i < 4; ++i) {
            rec.key(ItemSMeter, Qt::Key_Return, 10);
        }
    });
    Start shorted;
    shorted.radio.temperature = 255;
    session(trace, "TXF on a shorted sensor", shorted,
            [](TraceRecorder& rec) { rec.key(ItemTxf, Qt::Key_Return, 20); });
    session(trace, "test channels not set up", {{}, ""}, [](TraceRecorder& rec) {
        rec.key(ItemBpfHighAll, Qt::Key_Return, 5);
        rec.key(ItemTxf, Qt::Key_Return, 30); // channel 0 is always shown at start
    });
    session(trace, "sweep on a test channel outside its band: the detector reads 158 throughout",
            {{}, "[OPTION]\nMR-1(Appear)=1\nMR-1(Frequency)=17400000\n"}, [](TraceRecorder& rec) {
                rec.key(ItemBpfLowAll, Qt::Key_Return, 80);
                noteLastRun(rec);
            });
    session(trace, "sweep on a saturated detector", {}, [](TraceRecorder& rec) {
        rec.bench().radio().config().detectorScript = {255, 255, 236};
        rec.key(ItemBpfLowAll, Qt::Key_Return, 80);
        noteLastRun(rec);
    });
}

// --- one trace, two clients: the frames of "BPF Low ALL" from Enter to its end -------------

// The frames written from the first'th on, each with its moment after the first of them.
std::string framesFrom(const std::vector<testsupport::SimSerialControl::Write>& writes,
                       std::size_t first) {
    std::string text;
    for (std::size_t i = first; i < writes.size(); ++i) {
        text += std::to_string(writes[i].atMs - writes[first].atMs) + " > " +
                ByteStrToHex(writes[i].bytes) + "\n";
    }
    return text;
}

void bpfLowByWindow(std::string& trace) {
    Bench bench({}, SweepChannels);
    bench.connect();
    const std::size_t enter = bench.serial().writes().size();
    bench.window().lboConsole().setCurrentRow(ItemBpfLowAll);
    QTest::keyClick(&bench.window().lboConsole(), Qt::Key_Return);
    bench.runUntil([&] { return bench.door().settled(); });
    trace += framesFrom(bench.serial().writes(), enter);
}

void bpfLowByCommandLine(std::string& trace) {
    const testsupport::TempDir dir;
    std::filesystem::copy_file(VSK5_SOURCE_DIR "/sim/Const.ini", dir.file("Const.ini"));
    dir.writeFile("VSK5ALN.ini", SweepChannels);
    auto serial = std::make_unique<testsupport::SimSerialControl>();
    const auto& writes = serial->writes(); // the line goes with the command line's root
    std::vector<testsupport::SimSerialControl::Write> kept;
    std::size_t enter = 0;
    // The command presses Enter at the end of the tick that found the radio connected.
    const auto afterTick = [&](CommandLine& cli) {
        if (enter == 0 && cli.door().console().flgEnterOn(ItemBpfLowAll)) {
            enter = writes.size();
        }
        kept = writes;
    };
    testsupport::runCommandLine({"run", "BPF-LOW"}, dir.path(), std::move(serial), afterTick);
    trace += framesFrom(kept, enter);
}

// --- the runner ------------------------------------------------------------------------------

using Script = std::function<void(std::string& trace)>;

// A scenario of one session.
Script one(void (*script)(TraceRecorder&), const Start& start = {}) {
    return [script, start](std::string& trace) { session(trace, nullptr, start, script); };
}

struct Scenario {
    const char* name;
    Script run;
    const char* trace = nullptr; // the trace file when it is not the scenario's own
};

void PrintTo(const Scenario& scenario, std::ostream* out) {
    *out << scenario.name; // a failure names its scenario, not the bytes of its row
}

const Scenario Scenarios[] = {
    {"connect", one(connectScenario, Unconnected)},
    {"step-every-value", one(stepEveryValue)},
    {"reload-dump-release", one(reloadDumpAndRelease)},
    {"channel-dialog", one(channelDialog)},
    {"dtcs-and-modulation", one(dtcsAndModulation)},
    {"sweeps", one(sweeps)},
    {"txf", one(txf)},
    {"s-meter", one(sMeter)},
    {"abandoned", one(abandoned)},
    {"connect-failures", connectFailures},
    {"lost-port", lostPort},
    {"sound-ends", soundEnds},
    {"file-jobs", one(fileJobs)},
    {"bpf-low-window", bpfLowByWindow, "bpf-low-frames"},
    {"bpf-low-command-line", bpfLowByCommandLine, "bpf-low-frames"},
};

// The first line where two traces part, for the failure message.
std::string firstDifference(const std::string& kept, const std::string& now) {
    const auto parted = std::mismatch(kept.begin(), kept.end(), now.begin(), now.end()).first;
    const auto from = std::find(std::reverse_iterator(parted), kept.rend(), '\n').base();
    const auto lineIn = [at = static_cast<std::size_t>(from - kept.begin())](const auto& text) {
        return at < text.size() ? text.substr(at, text.find('\n', at) - at) : "(end)";
    };
    return "line " + std::to_string(std::count(kept.begin(), from, '\n') + 1) +
           "\n  kept: " + lineIn(kept) + "\n  now:  " + lineIn(now);
}

class GoldenTraceTest : public ::testing::TestWithParam<Scenario> {};

} // namespace

TEST_P(GoldenTraceTest, SessionMatchesItsTrace) {
    const char* name = GetParam().trace ? GetParam().trace : GetParam().name;
    std::string trace = std::string("# ") + name + "\n";
    GetParam().run(trace);
    const std::string path = std::string(VSK5_GOLDEN_DIR) + "/" + name + ".trace";
    if (std::getenv("VSK5_UPDATE_GOLDEN") != nullptr) {
        std::ofstream(path, std::ios::binary) << trace;
    }
    std::ostringstream kept;
    kept << std::ifstream(path, std::ios::binary).rdbuf();
    ASSERT_FALSE(kept.view().empty()) << "no trace at " << path;
    EXPECT_TRUE(kept.view() == trace) << firstDifference(kept.str(), trace);
}

INSTANTIATE_TEST_SUITE_P(Sessions, GoldenTraceTest, ::testing::ValuesIn(Scenarios),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::erase(name, '-');
                             return name;
                         });
