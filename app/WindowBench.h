// SPDX-License-Identifier: GPL-3.0-or-later
// The window's bench: the instruments' settings, the signal generator they name, the alignment
// plan open with its run, the guided panel that shows it, and what the window must hear of
// them. The composition root owns one and ticks it after the door. The generator's output goes
// off when the radio link fails and when the program ends; a lost connection to the generator,
// a level refused before it left and the end of a run are told to the technician after the
// tick, as the door's failure is.
//
//   WindowBench bench(profile, window, door);
//   bench.load();                 // [INSTRUMENTS] read, the generator built and connecting
//   bench.chooseInstruments();    // Option → Instruments…: saved, the generator built anew
//   bench.showGuided();           // the panel beside the window, the plan opened last in it
//   every tick: door.tick(); bench.tick(); ... door.reportFailure(); bench.reportNews();
//   bench.shutDown();             // "OUTP OFF", and the event loop runs until it has left
#pragma once

#include "align/AlignmentRun.h"
#include "app/BenchSettings.h"
#include "instruments/BenchGenerator.h"

#include <QObject>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class AlignPanel;
class RigDoor;
class clsCmcProfileIO;
class frmMain;

class WindowBench : public QObject {
    Q_OBJECT

  public:
    WindowBench(clsCmcProfileIO& settingsFile, frmMain& window, RigDoor& door);
    ~WindowBench() override;

    // Reads the settings and builds the generator they name.
    void load();
    // The instruments dialog over the window; OK keeps its choice in the settings file and
    // builds the generator it names.
    void chooseInstruments();
    const BenchSettings& settings() const { return bench; }
    // The generator; nullptr while none is set (or its name is not one this program knows).
    instruments::BenchGenerator* generator() { return signalGenerator.get(); }

    // Align → Guided alignment…: the panel beside the window, the plan opened last loaded into
    // it when none is yet.
    void showGuided();
    // Align → Run the automatic steps: the panel shown, and the plan's automatic steps run.
    void runAutomatic();
    // The plan in the file, with a new run; remembered in the settings file. A plan refused at
    // load is told, and the one open before stays.
    void openPlan(const std::string& path);
    AlignmentRun* run() { return alignment.get(); }
    AlignPanel& panel();

    // After the door's tick: the run's step, then the panel and the menus as they now stand.
    void tick();
    // Milliseconds until the run's settle time is over; 0 when none runs.
    std::int32_t msUntilDue() const { return alignment ? alignment->msUntilDue() : 0; }
    // Switches the generator's output off, ahead of anything still waiting to be sent.
    void switchOutputOff();
    // What the generator had to say during the tick, shown now that it has ended.
    void reportNews();
    // The end: the output switched off, and the event loop run until that command has left
    // and been answered (or the instrument's timeout has passed); nothing sent after.
    void shutDown();

  signals:
    // The run gave the door a key or a click: a tick now rather than at the next timer tick.
    void wantsTick();
    // A generator given up (a new one chosen, the program ending) has switched its output off.
    void retired();

  private:
    void buildGenerator();
    void retire();
    void buildRun(const AlignmentPlan& plan);
    void listenToGenerator();
    void whenGeneratorUp(std::function<void()> start);
    void tell(const QString& message);
    void runEnded(bool completed, const QString& message);

    clsCmcProfileIO& profile;
    frmMain& window;
    RigDoor& radio;
    BenchSettings bench;
    std::unique_ptr<instruments::BenchGenerator> signalGenerator;
    std::unique_ptr<instruments::BenchGenerator> retiring; // its output on its way off
    std::unique_ptr<AlignmentRun> alignment;
    AlignPanel* guided = nullptr; // a child window of the main window, made when first shown
    bool triedRememberedPlan = false;
    bool generatorLost = false; // its connection went; the next step connects it again
    std::function<void()> startWhenConnected; // the step that waits for that
    struct News {
        std::string text;
        bool information = false; // a run that completed
    };
    std::vector<News> news;
    bool closed = false;
};
