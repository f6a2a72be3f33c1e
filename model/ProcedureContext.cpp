// SPDX-License-Identifier: GPL-3.0-or-later
// The procedures' access to the radio and the console.
#include "model/ProcedureContext.h"

#include "common/CommonRoutines.h"
#include "console/clsConsole.h"
#include "link/clsCmcCln3Sequence.h"
#include "link/clsCmcEeprom.h"
#include "model/Readouts.h"
#include "model/RigSession.h"
#include "model/RigView.h"

#include <algorithm>
#include <utility>

clsCmcEeprom& ProcedureContext::image() {
    return s.image();
}
clsConsole& ProcedureContext::items() {
    return s.console;
}
const ItemIndexes& ProcedureContext::indexes() const {
    return s.indexes;
}
TestChannels& ProcedureContext::channels() {
    return s.channels;
}
const TxfTable& ProcedureContext::txf() const {
    return s.txf;
}
RigView& ProcedureContext::view() {
    return s.view;
}
CurveLog& ProcedureContext::curves() {
    return s.curves;
}
std::int16_t& ProcedureContext::curChNo() {
    return s.curChNo;
}

bool ProcedureContext::sendE8(int command, int value) {
    runJournal.noteSent(command);
    return s.seq.easySendE8NoAnswer(liveCommandText(command, value));
}

bool ProcedureContext::sendAndStore(int command, int value, std::int32_t address, int stored) {
    if (!sendE8(command, value)) {
        return false;
    }
    s.image().WriteByte(address, stored);
    return true;
}

// A rejected answer (commError) is nothing to act on: the task reports it and resets the model
// in the same pass, so the flag stays set and no value is taken.
bool ProcedureContext::takeReading(int channel, bool& requested) {
    bool done = false;
    s.readouts.RigOpDisp_AD(static_cast<std::int16_t>(channel), !requested, done);
    requested = !done || s.readouts.commError();
    return !requested;
}

bool ProcedureContext::linkBusy() const {
    return s.seq.OpRunning();
}

std::int16_t ProcedureContext::reading(int channel) const {
    return s.readouts.adLast(channel);
}

void ProcedureContext::restoreChanges() {
    const std::vector<ProcedureJournal::Restore> restores = runJournal.restores();
    // The journal outlives the commands that put its bytes back.
    runJournal.close();
    if (restores.empty()) {
        runJournal.clear();
        return;
    }
    // A reading of the procedure may still be out; it is of no use any more, and waiting for
    // it would let the new action's commands reach the radio first.
    if (s.seq.OpRunning()) {
        s.seq.abandonOperation();
    }
    bool allSent = true;
    for (const ProcedureJournal::Restore& r : restores) {
        // The journal is closed now: these commands are not noted as the run's.
        allSent = sendAndStore(r.command, r.liveValue, r.address, r.stored) && allSent;
    }
    // A restore that could not go out (the port is gone) leaves its byte changed in the radio:
    // the copy on disk stays, and the next Connect offers it back.
    if (allSent) {
        runJournal.clear();
    } else {
        runJournal.forget();
    }
    // The items of those bytes show them again; nothing is left for the task to resend.
    reloadItems(
        s.console,
        [&](std::int32_t address) {
            return std::any_of(restores.begin(), restores.end(),
                               [&](const auto& r) { return r.address == address; });
        },
        false);
}

void ProcedureContext::endWithoutResult(std::int16_t& step, const std::string& message) {
    restoreChanges();
    step = 0;
    endReason = firstLine(message);
    s.view.showMessage(message);
}

std::string ProcedureContext::takeEndReason() {
    return std::exchange(endReason, std::string());
}
