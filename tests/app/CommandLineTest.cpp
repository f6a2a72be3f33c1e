// SPDX-License-Identifier: GPL-3.0-or-later
// The command line against the simulated radio: each command with its exit status, what it
// prints and what it says, on the test clock through the in-process line; a usage error before
// any of it; the device lost under a sweep; and once the program itself over a pseudo-terminal.
#include "tests/support/CliRun.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QProcess>

#include <fstream>
#include <sstream>

using testsupport::CliRun;
using testsupport::SimSerialControl;

namespace {

const std::string SweepChannels = "[OPTION]\n"
                                  "MR-1(Appear)=1\nMR-1(Frequency)=14600000\n"
                                  "MR-2(Appear)=1\nMR-2(Frequency)=15500000\n"
                                  "MR-3(Appear)=1\nMR-3(Frequency)=16600000\n";
constexpr std::int32_t BpfLowT1 = 0x7B0;

struct CliCase {
    const char* name;
    QStringList arguments; // "@" stands for the test's folder
    int exit;
    const char* out; // standard output holds this
    const char* err; // and standard error this
    bool channels = true;
    bool unplugInProcedure = false; // the device goes while the procedure runs
};

const CliCase Cases[] = {
    {"identify", {"identify"}, 0, "VX-K5 0001\n", "Reading memory"},
    {"identifyJson",
     {"--json", "identify"},
     0,
     "{\"command\":\"identify\",\"model\":\"VX-K5\",\"port\":1,\"subCode\":\"0001\"}\n",
     ""},
    {"backup", {"backup", "-o", "@copy.img"}, 0, "backups/VX-K5_0001_", ""},
    {"dump", {"dump"}, 0, "POW HI Level:  200\n", ""},
    {"compareDiffers", {"--json", "compare", "@VX-K5_0001_before.img"}, 5, "\"differences\":1", ""},
    {"compareMissing", {"compare", "@none.img"}, 1, "", "none.img"},
    {"revertAsks", {"revert", "@VX-K5_0001_before.img"}, 3, "", "give --yes"},
    {"revert",
     {"--yes", "revert", "@VX-K5_0001_before.img"},
     0,
     "Revert adjustments: Completed",
     "all 1 values verified."},
    {"writeAsks", {"write", "@VX-K5_0001_before.img"}, 3, "", "give --yes"},
    {"write",
     {"--yes", "write", "@VX-K5_0001_before.img"},
     0,
     "Write image to radio: Completed",
     "all 2048 bytes verified."},
    {"run",
     {"run", "BPF-LOW", "S-METER", "DTCS-START", "DTCS-STOP"},
     0,
     "BPF Low ALL: Completed\nS-METER: Completed\nDTCS Start: Completed\nDTCS Stop: Completed\n",
     ""},
    {"runRefused", {"run", "BPF-LOW"}, 3, "BPF Low ALL: Refused", "Test channel 01", false},
    {"report", {"report", "-o", "@r.html"}, 0, "r.html", ""},
    {"lostDevice", {"run", "BPF-MID"}, 4, "", "Cannot access COM 1.\n\nCheck", true, true},
    {"unknownCommand", {"frob"}, 2, "Unknown command 'frob'.", ""},
    {"unknownProcedure", {"run", "TXF"}, 2, "Unknown procedure 'TXF'.", ""},
    {"reportPdf", {"report", "-o", "r.pdf"}, 2, "HTML only", ""},
};

class CommandLineTest : public ::testing::TestWithParam<CliCase> {};

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TEST_P(CommandLineTest, ExitsAndSaysAsExpected) {
    const CliCase& c = GetParam();
    const testsupport::TempDir dir;
    dir.writeFile("Const.ini", readFile(VSK5_SOURCE_DIR "/sim/Const.ini"));
    dir.writeFile("VSK5ALN.ini", c.channels ? SweepChannels : "");
    auto serial = std::make_unique<SimSerialControl>();
    // An image of this radio with one adjustment moved: what compare, revert and write take.
    auto image = serial->radio().memory();
    image[BpfLowT1] = static_cast<std::uint8_t>(image[BpfLowT1] + 2);
    dir.writeFile("VX-K5_0001_before.img", std::string(image.begin(), image.end()));
    QStringList arguments = c.arguments;
    arguments.replaceInStrings("@", QString::fromStdString(dir.path()));
    SimSerialControl& line = *serial;
    const CliRun run = testsupport::runCommandLine(
        arguments, dir.path(), std::move(serial), [&](CommandLine& cli) {
            if (c.unplugInProcedure && cli.door().procedureStep() != 0) {
                line.unplug();
            }
        });
    EXPECT_EQ(run.exit, c.exit) << run.out << run.err;
    EXPECT_NE(run.out.find(c.out), std::string::npos) << run.out;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
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
