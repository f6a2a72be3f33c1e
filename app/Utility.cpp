// SPDX-License-Identifier: GPL-3.0-or-later
// The composition root.
#include "app/Utility.h"

#include "app/SettingsFile.h"
#include "platform/QtSerialControl.h"
#include "platform/SerialControl.h"
#include "ui/UiHooks.h"

#include <algorithm>

namespace {

// The nearer of two waits, 0 standing for none.
std::int32_t soonest(std::int32_t a, std::int32_t b) {
    return a == 0 ? b : b == 0 ? a : std::min(a, b);
}

} // namespace

Utility::Utility(const Places& where, std::unique_ptr<SerialControl> serial)
    : places(where), profile(settings_file::open(where.settingsFolder, where.userSettingsFolder)),
      // The PORTS mapping is looked up at every opening: the settings file in use may change
      // while the program runs (its first save into the user's folder).
      radio(serial ? std::move(serial)
                   : std::make_unique<QtSerialControl>(
                         QtSerialControl::PortsFiles([this] { return profile.PortsProfiles(); })),
            mainWindow) {
    radio.setBackupFolder(places.backupFolder);
    mainWindow.attach({radio, profile});
    connect(&radio, &RigDoor::wantsTick, this, &Utility::tick);
    connect(&mainWindow, &frmMain::closing, this, &Utility::shutDown);
    connect(&mainWindow, &frmMain::workWaiting, this, &Utility::tick);
    connect(&mainWindow, &frmMain::instrumentsWanted, &instrumentsBench,
            &WindowBench::chooseInstruments);
    connect(&mainWindow, &frmMain::radioLinkLost, &instrumentsBench, &WindowBench::switchOutputOff);
    connect(&instrumentsBench, &WindowBench::wantsTick, this, &Utility::tick);
    connect(&mainWindow, &frmMain::guidedAlignmentWanted, &instrumentsBench,
            &WindowBench::showGuided);
    connect(&mainWindow, &frmMain::automaticStepsWanted, &instrumentsBench,
            &WindowBench::runAutomatic);
}

Utility::~Utility() {
    shutDown();
}

bool Utility::startUp(bool runTimer) {
    mainWindow.loadData(profile);
    instrumentsBench.load();
    if (runTimer) {
        timers.start();
    }
    const ConstantsSearch constants =
        settings_file::constantsSearch(places.constantsFile, profile, places.dataFolder);
    const auto file = constants.find();
    if (file && mainWindow.Form_Load(*file)) {
        return true;
    }
    MsgBoxProduct(file ? constants.refusedText(*file) : constants.notFoundText());
    shutDown();
    return false;
}

void Utility::shutDown() {
    if (closed) {
        return;
    }
    closed = true;
    instrumentsBench.shutDown(); // the radio's input goes quiet before anything else
    radio.shutDown();
    mainWindow.saveData(profile);
    timers.stop();
}

void Utility::tick() {
    if (inTick || closed || ui::modalOpen()) {
        return;
    }
    inTick = true;
    radio.tick();
    instrumentsBench.tick();
    mainWindow.refresh();
    inTick = false;
    timers.armFor(soonest(radio.msUntilDue(), instrumentsBench.msUntilDue()));
    radio.reportFailure();
    instrumentsBench.reportNews();
}
