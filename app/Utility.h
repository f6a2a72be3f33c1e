// SPDX-License-Identifier: GPL-3.0-or-later
// The window's composition root: the one object that builds the utility, in the order the
// parts need each other, owns every part (teardown by destruction, in reverse), wires the upward
// news (the door wants a tick, the window closing) and runs the 50 ms tick. The program's
// start-up and the test bench build the utility through it alike.
//
//   Utility utility(places);            // settings, window, the door into the radio
//   if (utility.startUp()) { utility.window().show(); app.exec(); }
//   utility.shutDown();                 // a running procedure put back, port closed, settings
//   saved
#pragma once

#include "app/TickTimers.h"
#include "app/WindowBench.h"
#include "common/clsCmcProfileIO.h"
#include "model/RigDoor.h"
#include "ui/frmMain.h"

#include <QObject>

#include <memory>
#include <string>

class SerialControl;

class Utility : public QObject {
    Q_OBJECT

  public:
    static constexpr int TickIntervalMs = TickTimers::IntervalMs;

    // Where the utility finds its files.
    struct Places {
        std::string settingsFolder; // empty: the program's own folder
        // Where the settings go when settingsFolder may not be written, and the second place
        // the constants are looked for; empty: the per-user configuration folder Qt names for
        // the application.
        std::string userSettingsFolder;
        // The model constants: this file first (relative: in the current folder), then
        // "Const.ini" in the user's folder above, then in dataFolder.
        std::string constantsFile = "Const.ini";
        std::string dataFolder; // empty: the installed data folder beside the program
        // The backups of every Connect; empty: "backups" in the per-user data folder.
        std::string backupFolder;
    };

    // Without a serial control the real serial port is used, its devices named by the
    // settings file's [PORTS] section.
    explicit Utility(const Places& places, std::unique_ptr<SerialControl> serial = nullptr);
    ~Utility() override;
    Utility(const Utility&) = delete;
    Utility& operator=(const Utility&) = delete;

    // The saved settings, the tick (unless a test drives it), then the window's load with the
    // constants file found first. False when none is found or the one found cannot be read:
    // the technician has been told and the settings are saved.
    bool startUp(bool runTimer = true);
    // The end, once: a running procedure put back, the port closed, the settings saved.
    void shutDown();
    // One tick of the whole program; skipped inside another tick and while a modal window is
    // open (its nested event loop would re-enter the link and the model mid-step). A failure
    // the tick met is shown after it has ended.
    void tick();

    frmMain& window() { return mainWindow; }
    RigDoor& door() { return radio; }
    clsCmcProfileIO& settings() { return profile; }
    WindowBench& bench() { return instrumentsBench; }

  private:
    Places places;
    clsCmcProfileIO profile;
    frmMain mainWindow;
    RigDoor radio;
    WindowBench instrumentsBench{profile, mainWindow, radio};
    TickTimers timers{[this] { tick(); }};
    bool inTick = false;
    bool closed = false;
};
