// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's composition root: it builds the settings file (the window's, in the
// window's places), the door into the radio and a view of its own, owns the 50 ms tick and runs
// one command as a state machine on it: Connect as the window does it (backup included), then
// the command's own steps, each started when the door has settled after the one before.
// Nothing blocks; the program's event loop ends when the command has finished.
//
//   CommandLine cli(*parseCommandLine(args).request, std::cout, std::cerr);
//   if (cli.start()) app.exec();      // tick by tick: connect, run, ...
//   cli.exitCode();                   // 0 completed, 3 refused, 4 link failure, ...
#pragma once

#include "align/AlignmentRun.h"
#include "app/CliOutput.h"
#include "app/CliRequest.h"
#include "app/CliView.h"
#include "app/TickTimers.h"
#include "common/clsCmcProfileIO.h"
#include "instruments/BenchGenerator.h"
#include "model/RigDoor.h"

#include <QObject>
#include <QTemporaryDir>

#include <memory>
#include <ostream>
#include <string>

class SerialControl;

class CommandLine : public QObject {
    Q_OBJECT

  public:
    static constexpr int TickIntervalMs = TickTimers::IntervalMs;

    struct Places {
        std::string settingsFolder;     // empty: the program's own folder, as the window's
        std::string userSettingsFolder; // empty: the per-user configuration folder
        std::string dataFolder;         // empty: the installed data folder
        std::string backupFolder;       // empty: "backups" in the per-user data folder
        bool terminal = false;          // standard error is a terminal: a progress bar
    };

    // Without a serial control the real serial port is used, its devices named by the
    // settings file's [PORTS] section, or the device path given with --port.
    CommandLine(const CliRequest& request, std::ostream& out, std::ostream& err,
                const Places& places, std::unique_ptr<SerialControl> serial = nullptr);
    ~CommandLine() override;
    CommandLine(const CommandLine&) = delete;
    CommandLine& operator=(const CommandLine&) = delete;

    // The settings and the constants, then Connect; the timer too unless a test drives the
    // ticks. False when the command ended already (no constants).
    bool start(bool runTimer = true);
    // One tick of the link and the model, then the command's next step.
    void tick();
    // The next wait of the door or of an alignment's settle time; 0 when none runs.
    std::int32_t msUntilDue();
    bool finished() const { return stage == Stage::Finished; }
    int exitCode() const { return static_cast<int>(exit); }
    RigDoor& door() { return radio; }
    // The bench's generator of an align command once the plan was taken; null before.
    instruments::BenchGenerator* generator() { return bench.get(); }
    // The align command's run once the plan was taken; null before and for other commands.
    AlignmentRun* alignmentRun() { return alignment.get(); }

  signals:
    void finishedWith(int code);

  private:
    enum class Stage { Connecting, Dumping, Running, Job, Aligning, Finished };

    std::unique_ptr<SerialControl> openSerial(std::unique_ptr<SerialControl> serial);
    std::int16_t loadSettings();
    bool loadConstants();
    void step();
    void connected();
    void backup();
    void compare();
    void propose(const JobProposal& proposal);
    void nextProcedure();
    void procedureEnded();
    void jobEnded();
    void report();
    bool prepareAlignment();
    void alignmentEnded();
    CliExit alignmentExit();
    bool openImage();
    void finish(CliExit code, const std::string& message = {});

    CliRequest request;
    Places places;
    CliOutput output;
    CliView view;
    clsCmcProfileIO profile;
    std::unique_ptr<QTemporaryDir> portsFolder; // the mapping of a --port device path
    RigDoor radio;
    std::unique_ptr<instruments::BenchGenerator> bench; // before the run that uses it
    std::unique_ptr<AlignmentRun> alignment;
    bool alignmentOver = false;
    std::string alignmentMessage;
    TickTimers timers{[this] { tick(); }};
    Stage stage = Stage::Connecting;
    CliExit exit = CliExit::Completed;
    std::size_t runsBefore = 0;    // the service record's runs before the one awaited
    std::size_t procedureNext = 0; // of request.arguments
    bool inTick = false;
};
