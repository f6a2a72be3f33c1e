// SPDX-License-Identifier: GPL-3.0-or-later
// The model's shared state.
#include "model/RigSession.h"

#include "link/clsCmcRadio.h"

RigSession::RigSession(const Link& link, clsConsole& console, TestChannels& channels, RigView& view)
    : seq(link.seq), driver(link.driver), radio(link.radio), console(console), channels(channels),
      view(view), readouts(link.seq, link.driver, view), job(*this), procedureContext(*this),
      procedures(procedureContext, job.record()) {
    // A procedure's journal outlives the program on disk, beside the backups.
    procedureContext.journal().setKeeper(
        {[this](const std::string& what, const QDateTime& at, const auto& restores) {
             job.keepJournal(what, at, restores);
         },
         [this] { job.dropJournal(); }});
}

clsCmcEeprom& RigSession::image() const {
    return radio.objEep();
}
