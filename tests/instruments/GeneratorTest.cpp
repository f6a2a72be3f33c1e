// SPDX-License-Identifier: GPL-3.0-or-later
// The signal generator role and its SCPI queue against the simulated generator, in this
// process: over a local TCP port for every scenario, and once each over a pseudo-terminal on
// the serial and the USBTMC path. The simulated generator is served from the test's event loop;
// every wait is for a condition, bounded only against a hang, and a command's deadline moves
// only when a test moves the test clock.
#include "instruments/BenchGenerator.h"
#include "instruments/SignalGenerator.h"
#include "instruments/SocketTransport.h"
#include "instruments/TransportFactory.h"
#include "platform/TickCount.h"
#include "sim/PseudoTerminal.h"
#include "tests/support/SimGeneratorOnPort.h"

#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

using namespace instruments;

namespace {

constexpr int kHang = 60000; // only a hung test waits this long
constexpr int kTimeoutMs = 1000;
const std::string Check = "\r\nCheck the generator's power, its cable and its address.";

std::int64_t realMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The program's generator talking to the simulated one; every outcome is logged as one line.
struct Bench : testsupport::SimGeneratorOnPort {
    std::unique_ptr<ScpiInstrument> scpi;
    std::unique_ptr<SignalGenerator> generator;
    std::vector<std::string> events;

    explicit Bench(const vxk5sim::GeneratorFaults& faults = {}) { sim.faults() = faults; }

    bool connect(std::unique_ptr<Transport> transport, const GeneratorCommands& commands = {}) {
        scpi = std::make_unique<ScpiInstrument>(std::move(transport));
        scpi->setTimeoutMs(kTimeoutMs);
        generator = std::make_unique<SignalGenerator>(*scpi, commands);
        auto log = [this](const std::string& what, const QString& text) {
            events.push_back(what + text.toStdString());
        };
        QObject::connect(scpi.get(), &ScpiInstrument::answered,
                         [log](int, const QString& a) { log("answered ", a); });
        QObject::connect(scpi.get(), &ScpiInstrument::completed, [log](int) { log("done", {}); });
        QObject::connect(scpi.get(), &ScpiInstrument::failed,
                         [log](int, const QString& m) { log("failed ", m); });
        QObject::connect(scpi.get(), &ScpiInstrument::connectionLost,
                         [log](const QString& m) { log("lost ", m); });
        QObject::connect(generator.get(), &SignalGenerator::refused,
                         [log](const QString& m) { log("refused ", m); });
        bool up = false;
        QObject::connect(scpi.get(), &ScpiInstrument::connected, [&up] { up = true; });
        scpi->connectToInstrument();
        return SimGeneratorOnPort::waitFor([&] { return up; });
    }

    bool waitFor(std::size_t received, std::size_t outcomes) {
        return SimGeneratorOnPort::waitFor(
            [&] { return sim.received().size() >= received && events.size() >= outcomes; });
    }
};

struct Scenario {
    const char* name;
    vxk5sim::GeneratorFaults faults;
    GeneratorCommands commands;
    std::function<void(SignalGenerator&)> act;
    int clockStepMs; // moved once everything has reached the generator
    std::vector<std::string> received;
    std::vector<std::string> events;
};

class GeneratorOverTcpTest : public ::testing::TestWithParam<Scenario> {};

} // namespace

TEST_P(GeneratorOverTcpTest, SendsTheseLinesAndReportsThis) {
    const Scenario& s = GetParam();
    Bench bench(s.faults);
    ASSERT_FALSE(bench.resource().empty()) << "no local port to be had";
    ASSERT_TRUE(
        bench.connect(std::make_unique<SocketTransport>("127.0.0.1", bench.port()), s.commands));
    s.act(*bench.generator); // returns at once: everything else happens in the event loop
    ASSERT_TRUE(bench.waitFor(s.received.size(), 0));
    if (s.clockStepMs > 0) {
        EXPECT_TRUE(bench.events.empty()) << "nothing ends before its deadline";
        platform::TickCount::advanceTestClock(s.clockStepMs);
    }
    ASSERT_TRUE(bench.waitFor(s.received.size(), s.events.size()));
    EXPECT_EQ(bench.sim.received(), s.received);
    EXPECT_EQ(bench.events, s.events);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Scenarios, GeneratorOverTcpTest, ::testing::Values(
    Scenario{"SetsAndReadsBack", {}, {}, [](SignalGenerator& g) {
            g.setFrequency(145525000);
            g.setLevel(-47.25);
            g.setOutput(true);
            for (const char* q : {"FREQ?", "POW?", "OUTP?"}) {
                g.instrument().query(q);
            }
        }, 0,
        {"FREQ 145525000 Hz", "SYST:ERR?", "POW -47.2 dBm", "SYST:ERR?", "OUTP ON", "SYST:ERR?",
         "FREQ?", "POW?", "OUTP?"},
        {"done", "done", "done", "answered 145525000", "answered -47.2", "answered 1"}},
    Scenario{"ProfileCommands", {}, {":SOUR:FREQ:CW {Hz}", "POWER {dBm}", "OUTPUT 1", "OUTPUT 0",
                                     "*IDN?"},
        [](SignalGenerator& g) {
            g.setFrequency(150000000);
            g.setLevel(-20.04);
            g.setOutput(true);
        }, 0,
        {":SOUR:FREQ:CW 150000000", "SYST:ERR?", "POWER -20.0", "SYST:ERR?", "OUTPUT 1",
         "SYST:ERR?"},
        {"done", "done", "done"}},
    Scenario{"UnknownCommandOfAProfile", {}, {"FREQ {Hz} Hz", "POWR {dBm} dBm", "OUTP ON",
                                             "OUTP OFF", "*IDN?"},
        [](SignalGenerator& g) {
            g.setLevel(-30.0);
            g.setFrequency(145000000);
        }, 0,
        {"POWR -30.0 dBm", "SYST:ERR?", "FREQ 145000000 Hz", "SYST:ERR?"},
        {"failed The signal generator refused 'POWR -30.0 dBm': -113,\"Undefined header\"",
         "done"}},
    Scenario{"LevelAboveTheMaximumNeverSent", {}, {}, [](SignalGenerator& g) {
            g.setLevel(-19.9);
            g.identify();
        }, 0,
        {"*IDN?"},
        {"refused The level -19.9 dBm is above the highest level allowed, -20.0 dBm.\r\n"
         "Nothing was sent to the signal generator.",
         "answered VXK5SIM,Simulated signal generator,0,1.0"}},
    Scenario{"SlowAnswerRunsIntoItsTimeout", {600000, -1, ""}, {},
        [](SignalGenerator& g) { g.setFrequency(145000000); }, kTimeoutMs,
        {"FREQ 145000000 Hz", "SYST:ERR?"},
        {"failed The signal generator did not answer 'FREQ 145000000 Hz' within 1000 ms." +
         Check}},
    Scenario{"LostConnectionReported", {0, 0, ""}, {},
        [](SignalGenerator& g) { g.identify(); }, 0,
        {"*IDN?"},
        {"failed The connection to the signal generator was lost: the instrument closed the "
         "connection." + Check,
         "lost The connection to the signal generator was lost: the instrument closed the "
         "connection." + Check}},
    Scenario{"OutputOffGoesAheadOfWaitingSettings", {}, {}, [](SignalGenerator& g) {
            g.setFrequency(145000000);
            g.setLevel(-30.0);
            g.setOutput(true);
            g.switchOutputOff();
        }, 0,
        {"FREQ 145000000 Hz", "SYST:ERR?", "OUTP OFF", "SYST:ERR?"},
        {"failed 'POW -30.0 dBm' was not sent: the generator's output was switched off first.",
         "failed 'OUTP ON' was not sent: the generator's output was switched off first.",
         "done", "done"}}),
    [](const ::testing::TestParamInfo<Scenario>& info) { return info.param.name; });
// clang-format on

namespace {

class GeneratorOverTerminalTest : public ::testing::TestWithParam<std::string> {};

} // namespace

// The serial port and the USBTMC device (whose calls wait, in their worker thread) on a
// pseudo-terminal the simulated generator serves.
TEST_P(GeneratorOverTerminalTest, IdentifiesAndSets) {
    vxk5sim::PseudoTerminal terminal;
    ASSERT_TRUE(terminal.ok()) << terminal.error();
    Bench bench;
    bench.serveTerminal(terminal.master());
    const std::string name =
        GetParam() == "ASRL" ? "ASRL" + terminal.path() + "::INSTR" : terminal.path();
    ParsedResource parsed = parseResource(name);
    if (GetParam() == "USBTMC") { // a terminal stands in for /dev/usbtmc<n>
        parsed = parseResource("/dev/usbtmc0");
        parsed.resource.device = terminal.path();
    }
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    ASSERT_TRUE(bench.connect(makeTransport(parsed.resource)));
    bench.generator->identify();
    bench.generator->setLevel(-40.0);
    ASSERT_TRUE(bench.waitFor(3, 2));
    EXPECT_EQ(bench.sim.received(),
              (std::vector<std::string>{"*IDN?", "POW -40.0 dBm", "SYST:ERR?"}));
    EXPECT_EQ(bench.events, (std::vector<std::string>{
                                "answered VXK5SIM,Simulated signal generator,0,1.0", "done"}));
    EXPECT_EQ(bench.sim.levelDbm(), -40.0);
}

INSTANTIATE_TEST_SUITE_P(Paths, GeneratorOverTerminalTest, ::testing::Values("ASRL", "USBTMC"));

// Nothing answers VXI-11 on this machine's loopback: the failure is reported from the worker
// thread without waiting for the long timeout given here.
TEST(GeneratorOverVxi11, HostThatDoesNotAnswerIsReported) {
    const ParsedResource parsed = parseResource("TCPIP0::127.0.0.1::inst0::INSTR");
    ASSERT_TRUE(parsed.ok());
    TransportSettings settings;
    settings.blockingTimeoutMs = kHang;
    ScpiInstrument scpi(makeTransport(parsed.resource, settings));
    QString lost;
    QObject::connect(&scpi, &ScpiInstrument::connectionLost, [&](const QString& m) { lost = m; });
    scpi.connectToInstrument();
    const auto started = realMs();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !lost.isEmpty(); }, kHang));
    EXPECT_LT(realMs() - started, kHang / 2);
    EXPECT_EQ(lost.toStdString(),
              "Cannot connect to the signal generator: no VXI-11 instrument answers at "
              "127.0.0.1." +
                  Check);
}

// A level too long to write in tenths keeps its size when it is checked, whatever the maximum:
// it must never be taken for 0.0 dBm and sent.
TEST(GeneratorLevel, AHugeLevelIsRefusedUnderTheHighestMaximum) {
    ScpiInstrument scpi(std::make_unique<SocketTransport>("127.0.0.1", 1));
    SignalGenerator generator(scpi, {}, kHighestMaximumDbm);
    EXPECT_EQ(generator.setLevel(1e300), 0);
}
