// SPDX-License-Identifier: GPL-3.0-or-later
// The journal of a running procedure's changes.
#include "model/ProcedureJournal.h"

#include "link/clsCmcEeprom.h"
#include "model/MemoryMap.h"

void ProcedureJournal::begin(const clsCmcEeprom& image, const std::string& what,
                             const QDateTime& startedAt) {
    open = true;
    runName = what;
    runStart = startedAt;
    areaAtStart = image.ReadBlock(MemoryMap::AreaFirst, MemoryMap::AreaSize);
    commandsSent.clear();
}

void ProcedureJournal::noteSent(int command) {
    if (open && MemoryMap::cellOfCommand(command) && commandsSent.insert(command).second &&
        keeper.changed) {
        // Once per new byte, not per command: a sweep sends the same few many times.
        keeper.changed(runName, runStart, restores());
        kept = true;
    }
}

std::vector<ProcedureJournal::Restore> ProcedureJournal::restores() const {
    std::vector<Restore> list;
    if (!open) {
        return list;
    }
    for (int command : commandsSent) {
        const MemoryMap::Cell cell = *MemoryMap::cellOfCommand(command);
        const std::uint8_t stored =
            areaAtStart[static_cast<std::size_t>(cell.address - MemoryMap::AreaFirst)];
        list.push_back({command, stored + cell.liveOffset, cell.address, stored});
    }
    return list;
}

std::vector<CellResult> ProcedureJournal::results(const clsCmcEeprom& image) const {
    std::vector<CellResult> list;
    for (const Restore& r : restores()) {
        list.push_back({r.address, r.stored, image.ReadByte(r.address)});
    }
    return list;
}

void ProcedureJournal::clear() {
    if (kept && keeper.over) {
        keeper.over();
    }
    forget();
}

void ProcedureJournal::forget() {
    open = false;
    commandsSent.clear();
    kept = false;
}
