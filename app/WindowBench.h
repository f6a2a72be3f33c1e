// SPDX-License-Identifier: GPL-3.0-or-later
// The window's bench: the instruments' settings, the signal generator they name, and what the
// window must hear of it. The composition root owns one and ticks it after the door. The
// generator's output goes off when the radio link fails and when the program ends; a lost
// connection to the generator, or a level refused before it left, is told to the technician
// after the tick, as the door's failure is.
//
//   WindowBench bench(profile, window);
//   bench.load();                 // [INSTRUMENTS] read, the generator built and connecting
//   bench.chooseInstruments();    // Option → Instruments…: saved, the generator built anew
//   bench.shutDown();             // "OUTP OFF", and the event loop runs until it has left
#pragma once

#include "app/BenchSettings.h"
#include "instruments/BenchGenerator.h"

#include <QObject>

#include <memory>
#include <string>
#include <vector>

class clsCmcProfileIO;
class frmMain;

class WindowBench : public QObject {
    Q_OBJECT

  public:
    WindowBench(clsCmcProfileIO& settingsFile, frmMain& window);
    ~WindowBench() override;

    // Reads the settings and builds the generator they name.
    void load();
    // The instruments dialog over the window; OK keeps its choice in the settings file and
    // builds the generator it names.
    void chooseInstruments();
    const BenchSettings& settings() const { return bench; }
    // The generator; nullptr while none is set (or its name is not one this program knows).
    instruments::BenchGenerator* generator() { return signalGenerator.get(); }

    // Switches the generator's output off, ahead of anything still waiting to be sent.
    void switchOutputOff();
    // What the generator had to say during the tick, shown now that it has ended.
    void reportNews();
    // The end: the output switched off, and the event loop run until that command has left
    // and been answered (or the instrument's timeout has passed); nothing sent after.
    void shutDown();

  private:
    void buildGenerator();
    void tell(const QString& message);

    clsCmcProfileIO& profile;
    frmMain& window;
    BenchSettings bench;
    std::unique_ptr<instruments::BenchGenerator> signalGenerator;
    std::vector<std::string> news;
    bool closed = false;
};
