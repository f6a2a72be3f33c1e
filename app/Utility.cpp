// SPDX-License-Identifier: GPL-3.0-or-later
// The composition root.
#include "app/Utility.h"

#include "app/ConstantsSearch.h"
#include "common/Product.h"
#include "platform/ProgramFolder.h"
#include "platform/QtSerialControl.h"
#include "platform/SerialControl.h"
#include "ui/UiHooks.h"

namespace {

// The radio this utility aligns, and its whole memory for a clone write.
clsCmcRadio thisModel() {
    clsCmcRadio radio;
    radio.setRadioNameM("7351");
    radio.setRadionameS("0001");
    radio.cloneWriteAdrList_Clear();
    radio.cloneWriteAdrList_Add(0x0000, 0x07FF);
    return radio;
}

} // namespace

clsCmcProfileIO Utility::settingsFile(const Places& places) {
    clsCmcProfileIO file;
    file.SetCurrentPath();
    if (!places.settingsFolder.empty()) {
        file.setPath(places.settingsFolder);
    }
    file.SetUserConfigPath();
    if (!places.userSettingsFolder.empty()) {
        file.setUserPath(places.userSettingsFolder);
    }
    file.setName(std::string(product::ShortName) + ".ini");
    file.setSection(product::Title);
    return file;
}

Utility::Utility(const Places& where, std::unique_ptr<SerialControl> serial)
    : places(where), profile(settingsFile(where)),
      // The PORTS mapping is looked up at every opening: the settings file in use may change
      // while the program runs (its first save into the user's folder).
      port(serial ? std::move(serial)
                  : std::make_unique<QtSerialControl>(
                        QtSerialControl::PortsFiles([this] { return profile.PortsProfiles(); }))),
      identity(thisModel()),
      sequencer(port, identity, &clsIndOp_RigK5::RigOpFunc_CheckSubNameLegal), items(&mainWindow),
      rig({sequencer, port.cln3D, identity}, items, testChannels, mainWindow) {
    rig.serviceJob().setBackupFolder(places.backupFolder);
    mainWindow.attach({rig, items, port, sequencer, testChannels, profile});
    connect(&port, &frmCom::dataArrived, this, &Utility::tick);
    connect(&port, &frmCom::portLost, this,
            [this] { QTimer::singleShot(0, this, &Utility::tick); });
    connect(&sequencer, &clsCmcCln3Sequence::operationFailed, &mainWindow,
            &frmMain::MsgBoxCloneErr);
    connect(&mainWindow, &frmMain::closing, this, &Utility::shutDown);
    timer.setInterval(TickIntervalMs);
    connect(&timer, &QTimer::timeout, this, &Utility::tick);
    dueTimer.setSingleShot(true);
    dueTimer.setTimerType(Qt::PreciseTimer);
    connect(&dueTimer, &QTimer::timeout, this, &Utility::tick);
    connect(&mainWindow, &frmMain::workWaiting, this, &Utility::tick);
}

Utility::~Utility() {
    shutDown();
}

bool Utility::startUp(bool runTimer) {
    mainWindow.loadData(profile);
    if (runTimer) {
        timer.start();
    }
    const ConstantsSearch constants(places.constantsFile,
                                    {profile.UserPath(), places.dataFolder.empty()
                                                             ? platform::installedDataFolder()
                                                             : places.dataFolder});
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
    rig.RigOpFunc_LeaveProcedure(); // the radio keeps nothing half done
    port.setComOpen(false);
    mainWindow.saveData(profile);
    timer.stop();
    dueTimer.stop();
}

void Utility::tick() {
    if (inTick || closed || ui::modalOpen()) {
        return;
    }
    inTick = true;
    // After a lost port nothing more runs: the report below ends the session first.
    if (!port.errPortLost()) {
        port.serviceLine();
        sequencer.task();
        rig.task();
        if (sequencer.OpRunning()) {
            sequencer.task();
        }
        mainWindow.refresh();
    }
    if (port.totalError()) {
        mainWindow.MsgBoxCloneErr();
    }
    if (port.comOpen() && port.totalError()) {
        port.setComOpen(false); // also resets the driver, clearing its current error
    }
    inTick = false;
    armDueTimer();
}

std::int32_t Utility::msUntilDue() {
    std::int32_t due = 0;
    for (const std::int32_t ms : {rig.msUntilDue(), port.cln3D.deadlineLeft(),
                                  sequencer.msUntilRelease()}) {
        if (ms > 0 && (due == 0 || ms < due)) {
            due = ms;
        }
    }
    return due;
}

void Utility::armDueTimer() {
    const std::int32_t due = msUntilDue();
    // Only a wait that ends before the next timer tick needs a tick of its own.
    if (due > 0 && timer.isActive() && due < timer.remainingTime()) {
        dueTimer.start(due);
    } else {
        dueTimer.stop();
    }
}
