// SPDX-License-Identifier: GPL-3.0-or-later
// An alignment plan carried out on the radio through the door, with the bench's signal
// generator: one step at a time for the guided panel, or every automatic step unattended for
// the "Run the automatic steps" command and `vsk5-aln-cli align`. It lives on the program's
// tick (tick() after the door's) and on the generator's signals; nothing in it waits.
//
//   AlignmentRun run(door, plan, &bench->generator(), 300);
//   run.startStep(0);     // BPF-LOW: "FREQ 146000000 Hz", "POW -60.0 dBm", "OUTP ON", each
//                         // checked with SYST:ERR?; 300 ms; Enter on "BPF Low ALL"; the sweep;
//                         // "OUTP OFF"; state Done, result "Completed"
//   run.runAutomatic();   // the same for every automatic step, then a verifying clone read
//   every tick: door.tick(); run.tick();
//
// Whatever goes wrong (the procedure's outcome, the generator, the radio's link) ends the step
// as Failed with why: the output goes off first, and a procedure cut short has its bytes put
// back in the radio. The service record keeps where and why for the report.
#pragma once

#include "align/AlignmentPlan.h"
#include "platform/Bytes.h"

#include <QObject>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

class RigDoor;
class ServiceRecord;

namespace instruments {
class SignalGenerator;
}

enum class StepState { ToDo, Running, Done, Failed, Skipped };
// "To do", "Running", "Done", "Failed", "Skipped"
const char* stepStateText(StepState state);

// How the last unattended run or guided step ended, for an exit status.
enum class RunEnd { None, Completed, Failed, LinkFailed, Mismatch };

class AlignmentRun : public QObject {
    Q_OBJECT
  public:
    // generator may be null: then every step waits for ready() after showing what to set by hand.
    AlignmentRun(RigDoor& door, AlignmentPlan plan, instruments::SignalGenerator* generator,
                 int settleMs);
    ~AlignmentRun() override;

    const AlignmentPlan& plan() const { return steps; }
    StepState state(std::size_t step) const;
    // the outcome in the report's words, or why it failed
    std::string result(std::size_t step) const;
    // the step running or waiting; none when idle
    std::optional<std::size_t> current() const { return now; }
    // "Connect ...; set 146.000 MHz, -47.0 dBm, output on" for the panel and for ready()
    std::string whatToSet(std::size_t step) const;
    bool waitingForReady() const { return phase == Phase::WaitingReady; }
    // a step or an unattended run is under way
    bool running() const { return phase != Phase::Idle; }
    RunEnd end() const { return ended; }
    // Milliseconds until the settle time ends; 0 when none runs (for a tick between two).
    std::int32_t msUntilDue() const;

    // Guided: one step. With a generator: frequency (from the test channel), level, output on,
    // the settle time, Enter on the step's item, the procedure to its end, output off. Without
    // one (or a manual step): waitingForReady() until ready(), then Enter (manual: marked done).
    // Guided TXF takes the technician's stepping and Enters on the console until its end.
    void startStep(std::size_t step);
    void ready();
    void skip(std::size_t step);
    // Unattended: Connect (when not connected; its backup as every Connect), every automatic
    // step in order, a verifying clone read, output off. Needs a generator. TXF gets its two
    // Enters without stepping: the full write of the curve from the values the radio holds.
    void runAutomatic();
    // Ends what runs: output off, the running procedure's bytes put back, the step Failed with why.
    void stop(const std::string& why);
    // After the door's tick, in the same 50 ms tick; waits are kept on the program's tick count.
    void tick();

  signals:
    void stepChanged(std::size_t step);
    // an unattended run or a guided step ended
    void finished(bool completed, const QString& message);
    // A key or a click was given to the door: its tick should come now rather than at the next
    // timer tick.
    void wantsTick();

  private:
    enum class Phase {
        Idle,
        Connecting,   // the unattended run's Connect
        Setting,      // the generator's settings on their way
        Settling,     // the settle time after the last of them
        WaitingReady, // the technician sets up and says Ready
        Starting,     // Enter as soon as the door has settled
        Procedure,    // the procedure runs to its end
        Verifying,    // the verifying clone read
        Closing       // the output's switching off on its way, then finished()
    };

    void begin(std::size_t step);
    void setGenerator(const PlanStep& step);
    void afterSetup();
    void pressEnter();
    void watchProcedure();
    void txfEnters();
    void procedureEnded();
    void stepDone(const std::string& outcome);
    void nextAutomatic();
    void startVerifying();
    void verified();
    void fail(const std::string& why, RunEnd how);
    void close(bool completed, const std::string& message);
    void outputOff();
    bool radioLost() const;
    void onCompleted(int ticket);
    void onInstrumentFailure(const QString& message);
    void setState(std::size_t step, StepState state, const std::string& result);

    RigDoor& door;
    AlignmentPlan steps;
    instruments::SignalGenerator* generator;
    int settleMs;
    std::vector<StepState> states;
    std::vector<std::string> results;
    Phase phase = Phase::Idle;
    std::optional<std::size_t> now;
    bool unattended = false;
    RunEnd ended = RunEnd::None;
    std::set<int> pending;        // the generator's settings not yet confirmed
    std::int32_t settledFrom = 0; // the tick count when the last of them was confirmed
    std::size_t runsBefore = 0;   // the service record's runs before the step's Enter
    int txfEnter = 0;             // Enters given to a running TXF after its start
    bool txfRestarted = false;    // TXF has started its second pass
    Bytes written;                // the adjustments as the program wrote them, to verify
    std::size_t connectsBefore = 0;
    std::unique_ptr<ServiceRecord> recordBefore; // the job's record before the verifying read
    // Why the generator's connection went while no step ran; empty while it is up or opening.
    std::string instrumentDown;
    bool closingCompleted = false;
    std::string closingMessage;
};
