// SPDX-License-Identifier: GPL-3.0-or-later
// The command line against the simulated radio: each command with its exit status, what it
// prints and what it says, on the test clock through the in-process line; a usage error before
// any of it; the device lost under a sweep; and once the program itself over a pseudo-terminal.
// An alignment also has the simulated generator on a local TCP port; after each tick the test
// waits until the program's generator has nothing on its way, so the test clock never moves
// under a command.
#include "tests/support/CliRun.h"
#include "tests/support/ConnectedBench.h"
#include "tests/support/SimGeneratorOnPort.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QProcess>

#include <fstream>
#include <sstream>

using proceduretest::SweepChannels;
using testsupport::CliRun;
using testsupport::SimSerialControl;

namespace {

constexpr std::int32_t BpfLowT1 = 0x7B0;
constexpr std::int32_t SMeterS1 = 0x7B9;
constexpr int Aligned = 1; // every band-pass and S-meter byte at the simulator's optimum
constexpr int PutBack = 2; // the band-pass and S-meter bytes as the radio had them
const char* const Align[] = {"align", "@sim.plan", "--generator", "TCPIP::127.0.0.1::%P::SOCKET"};
const char* const Lost = "The connection to the signal generator was lost";
const char* const TooHigh = "[BPF-LOW]\nChannel=1\nLevel=-10\n";

// What a case changes of the bench, each field left at its default otherwise.
struct Setup {
    bool channels = true;
    bool unplugInProcedure = false; // the device goes while the procedure runs
    // --- align: the simulated generator serves it ---
    int bytes = 0; // Aligned, PutBack, or 0: not looked at
    vxk5sim::GeneratorFaults faults = {};
    const char* profile = nullptr; // the generator's profile file
    const char* plan = nullptr;    // instead of the sample plan
    int stuckCell = -1;            // a radio whose memory keeps this byte
};

struct CliCase {
    const char* name;
    QStringList arguments; // "@" stands for the test's folder
    int exit;
    const char* out; // standard output holds this
    const char* err; // and standard error this
    Setup setup = {};
};

QStringList align(std::initializer_list<const char*> more = {}) {
    QStringList arguments(std::begin(Align), std::end(Align));
    for (const char* a : more) {
        arguments << a;
    }
    return arguments;
}

// clang-format off
const CliCase Cases[] = {
    {"identify", {"identify"}, 0, "VX-K5 0001\n", "Reading memory"},
    {"identifyJson", {"--json", "identify"}, 0,
     "{\"command\":\"identify\",\"model\":\"VX-K5\",\"port\":1,\"subCode\":\"0001\"}\n", ""},
    {"backup", {"backup", "-o", "@copy.img"}, 0, "backups/VX-K5_0001_", ""},
    {"dump", {"dump"}, 0, "POW HI Level:  200\n", ""},
    {"compareDiffers", {"--json", "compare", "@VX-K5_0001_before.img"}, 5, "\"differences\":1", ""},
    {"compareMissing", {"compare", "@none.img"}, 1, "", "none.img"},
    {"revertAsks", {"revert", "@VX-K5_0001_before.img"}, 3, "", "give --yes"},
    {"revert", {"--yes", "revert", "@VX-K5_0001_before.img"}, 0,
     "Revert adjustments: Completed", "all 1 values verified."},
    {"writeAsks", {"write", "@VX-K5_0001_before.img"}, 3, "", "give --yes"},
    {"write", {"--yes", "write", "@VX-K5_0001_before.img"}, 0,
     "Write image to radio: Completed", "all 2048 bytes verified."},
    {"run", {"run", "BPF-LOW", "S-METER", "DTCS-START", "DTCS-STOP"}, 0,
     "BPF Low ALL: Completed\nS-METER: Completed\nDTCS Start: Completed\nDTCS Stop: Completed\n",
     ""},
    {"runRefused", {"run", "BPF-LOW"}, 3, "BPF Low ALL: Refused", "Test channel 01",
     {.channels = false}},
    {"report", {"report", "-o", "@r.html"}, 0, "r.html", ""},
    {"lostDevice", {"run", "BPF-MID"}, 4, "", "Cannot access COM 1.\n\nCheck",
     {.unplugInProcedure = true}},
    {"unknownCommand", {"frob"}, 2, "Unknown command 'frob'.", ""},
    {"unknownProcedure", {"run", "TXF"}, 2, "Unknown procedure 'TXF'.", ""},
    {"reportPdf", {"report", "-o", "r.pdf"}, 2, "HTML only", ""},
    {"align", align({"--report", "@r.html"}), 0,
     "BPF-LOW: Completed\nBPF-MID: Completed\nBPF-HIGH: Completed\nS-METER: Completed\n"
     "TXF: Completed\nDTCS-START: Completed\nDTCS-STOP: Completed\nVerifying read: Completed\n",
     "", {.bytes = Aligned}},
    {"alignOutputOff", align({"--report", "@r.html"}), 1, "BPF-LOW: Failed\nBPF-MID: Not run",
     "No signal reached the detector.",
     {.bytes = PutBack, .profile = "[Generator]\nOutputOn=OUTP OFF\n"}},
    {"alignInstrumentError", align(), 1, "BPF-LOW: Failed",
     "BPF-LOW: The signal generator refused 'FREQ 146000000 Hz': -222,\"Data out of range\"",
     {.bytes = PutBack, .faults = {0, -1, "-222,\"Data out of range\""}}},
    {"alignLostInstrument", align(), 1, "BPF-LOW: Failed", Lost,
     {.bytes = PutBack, .faults = {0, 3, ""}}},
    {"alignLevelTooHigh", align(), 2, "",
     "Line 3 of the plan 'sim.plan': the level -10.0 dBm is above the highest level allowed, "
     "-20.0 dBm.", {.plan = TooHigh}},
    {"alignLostRadio", align(), 4, "BPF-LOW: Failed\n", "Cannot access COM 1.",
     {.unplugInProcedure = true}},
    {"alignDiffers", align(), 5, "S-METER: Completed", "SD S1 Level: the VX-K5 holds 48, not 120",
     {.stuckCell = SMeterS1}},
};
// clang-format on

class CommandLineTest : public ::testing::TestWithParam<CliCase> {};

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Until the program's generator has nothing on its way (a lost connection ends everything on
// its way).
void serveGenerator(CommandLine& cli) {
    instruments::BenchGenerator* g = cli.generator();
    EXPECT_TRUE(
        testsupport::SimGeneratorOnPort::waitFor([g] { return !g || g->instrument().idle(); }));
}

// The band-pass and S-meter bytes: each band's optimum, and S1..S3 of a reading of 120
// (-80 dBm, 20 dB below the level at which the detector reads 160).
std::vector<int> optima() {
    std::vector<int> bytes;
    for (const auto& band : vxk5sim::SimConfig{}.bandOptimum) {
        bytes.insert(bytes.end(), {band.t1, band.t2, band.t3});
    }
    bytes.insert(bytes.end(), {120, 128, 136});
    return bytes;
}

} // namespace

TEST_P(CommandLineTest, ExitsAndSaysAsExpected) {
    const CliCase& c = GetParam();
    const testsupport::TempDir dir;
    dir.writeFile("Const.ini", readFile(VSK5_SOURCE_DIR "/sim/Const.ini"));
    std::string settings = c.setup.channels ? SweepChannels : "";
    if (c.setup.profile) {
        dir.writeFile("gen.ini", c.setup.profile);
        settings += "[INSTRUMENTS]\nGeneratorProfile=" + dir.path() + "gen.ini\n";
    }
    dir.writeFile("VSK5ALN.ini", settings);
    dir.writeFile("sim.plan",
                  c.setup.plan ? c.setup.plan : readFile(VSK5_SOURCE_DIR "/align/vx-k5-sim.plan"));
    testsupport::SimGeneratorOnPort generator;
    vxk5sim::SimGenerator& sim = generator.sim;
    sim.faults() = c.setup.faults;
    ASSERT_FALSE(generator.resource().empty());
    vxk5sim::SimConfig config;
    config.stuckCell = c.setup.stuckCell;
    auto serial = std::make_unique<SimSerialControl>(config);
    if (c.arguments.front() == "align") {
        serial->radio().attachGenerator(&sim);
    }
    // An image of this radio with one adjustment moved: what compare, revert and write take.
    auto image = serial->radio().memory();
    const std::vector<int> before(image.begin() + BpfLowT1, image.begin() + SMeterS1 + 3);
    image[BpfLowT1] = static_cast<std::uint8_t>(image[BpfLowT1] + 2);
    dir.writeFile("VX-K5_0001_before.img", std::string(image.begin(), image.end()));
    QStringList arguments = c.arguments;
    arguments.replaceInStrings("@", QString::fromStdString(dir.path()));
    arguments.replaceInStrings("%P", QString::number(generator.port()));
    SimSerialControl& line = *serial;
    std::vector<int> after;
    const CliRun run = testsupport::runCommandLine(
        arguments, dir.path(), std::move(serial), [&](CommandLine& cli) {
            if (c.setup.unplugInProcedure && cli.door().procedureStep() != 0) {
                line.unplug();
            }
            serveGenerator(cli);
            const auto& memory = line.radio().memory();
            after.assign(memory.begin() + BpfLowT1, memory.begin() + SMeterS1 + 3);
        });
    EXPECT_EQ(run.exit, c.exit) << run.out << run.err;
    EXPECT_NE(run.out.find(c.out), std::string::npos) << run.out;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    if (c.setup.bytes != 0) {
        EXPECT_EQ(after, c.setup.bytes == Aligned ? optima() : before);
    }
    EXPECT_FALSE(sim.outputOn());
    // The last word the generator had.
    if (c.setup.bytes != 0 && c.setup.faults.dropAfterLines < 0) {
        EXPECT_EQ(sim.received().back(), "SYST:ERR?");
        EXPECT_EQ(sim.received().end()[-2], "OUTP OFF");
    }
    if (c.arguments.contains("--report")) {
        EXPECT_NE(readFile(dir.path() + "r.html").find(c.exit == 0 ? "Verifying read" : "BPF Low"),
                  std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, CommandLineTest, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });

// The installed way: the program itself on a pseudo-terminal of the simulated radio's tool.
TEST(CommandLineProgramTest, RunsAProcedureOverAPseudoTerminal) {
    const testsupport::TempDir dir;
    dir.writeFile("Const.ini", readFile(VSK5_SOURCE_DIR "/sim/Const.ini"));
    const QString folder = QString::fromStdString(dir.path());
    QProcess radio;
    radio.start(VXK5_SIM, {"--no-pace", "--quiet", "--link", folder + "radio"});
    // The first line names the terminal; the link is in place before it is printed.
    while (!radio.canReadLine() && radio.waitForReadyRead(-1)) {
    }
    QProcess cli;
    cli.start(VSK5_ALN_CLI,
              {"--settings", folder + "VSK5ALN.ini", "--constants", folder + "Const.ini", "--port",
               folder + "radio", "--json", "run", "DTCS-START"});
    cli.waitForFinished(-1);
    radio.terminate();
    radio.waitForFinished(-1);
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    EXPECT_EQ(cli.readAllStandardOutput().toStdString(),
              "{\"command\":\"run\",\"name\":\"DTCS Start\",\"outcome\":\"Completed\","
              "\"procedure\":\"DTCS-START\",\"reason\":\"\"}\n");
}
