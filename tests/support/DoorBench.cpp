// SPDX-License-Identifier: GPL-3.0-or-later
// The model's bench: the door built as the window's root builds it, without the window.
#include "tests/support/DoorBench.h"

#include "common/clsCmcProfileIO.h"
#include "model/TestChannelSettings.h"

namespace testsupport {

DoorBench::DoorBench(const vxk5sim::SimConfig& config, const std::string& settings)
    : SimBench(config, settings), rigDoor(std::make_unique<RigDoor>(takeSerial(), recorder)) {
    clsCmcProfileIO profile;
    profile.setPath(folder().path());
    profile.setName("VSK5ALN.ini");
    profile.setSection("OPTION");
    test_channel_settings::load(profile, rigDoor->channels());
    rigDoor->setBackupFolder(folder().file("backups"));
    rigDoor->loadConstants("Const.ini");
    // A key or a port's news runs a tick at once, as the window's root does.
    QObject::connect(rigDoor.get(), &RigDoor::wantsTick, [this] {
        if (!rigDoor->ticking()) {
            runTick();
        }
    });
}

void DoorBench::runTick() {
    rigDoor->tick();
    rigDoor->reportFailure();
}

} // namespace testsupport
