// SPDX-License-Identifier: GPL-3.0-or-later
// What the next Connect offers when a journal was left on disk: a procedure, a revert or a
// full write that the program's end cut off. A procedure's bytes go back to their values
// before it; a job's radio goes back to the backup of the radio as the job found it (a
// revert's bytes by their commands, a write's whole image by a clone write). The technician
// is asked first, Yes being the default: the radio was left half changed by a run nobody
// finished.
//
//   const Recovery offer = Recovery::of(entry, image);
//   view.askYesNo(offer.question, offer.lines)   // "BPF Low ALL" was cut off ...
#pragma once

#include "model/JournalFile.h"
#include "model/RestoreJob.h"
#include "platform/Bytes.h"

#include <string>
#include <vector>

class clsCmcEeprom;

struct Recovery {
    enum class Kind { Nothing, Revert, Write, Unreadable };

    Kind kind = Kind::Nothing;
    Bytes target;          // the memory to go back to
    RestoreJob::Plan plan; // a revert's commands
    std::string question;  // what the technician is asked, and the lines listed beside it
    std::vector<std::string> lines;

    // The offer for a journal left behind; Nothing when the radio holds the values already.
    static Recovery of(const JournalEntry& entry, const clsCmcEeprom& image);
    // A No to the offer, as the service record keeps it.
    static std::string leftAsItWas(const JournalEntry& entry);
};
