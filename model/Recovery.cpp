// SPDX-License-Identifier: GPL-3.0-or-later
// The offer to put back what a cut-off run changed.
#include "model/Recovery.h"

#include "link/clsCmcEeprom.h"
#include "model/ImageCompare.h"
#include "model/ImageFile.h"
#include "model/JobMessages.h"

#include <QFileInfo>

namespace {

const char* const WriteName = "Write image to radio";

std::string when(const JournalEntry& entry) {
    return entry.startedAt.toString("yyyy-MM-dd HH:mm:ss").toStdString();
}

std::string cutOff(const JournalEntry& entry) {
    return "\"" + entry.what + "\" was cut off before its end (started " + when(entry) + ").";
}

std::string fileName(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

// The radio's memory with the journal's bytes as they were before the procedure.
Bytes beforeProcedure(const JournalEntry& entry, const Bytes& now) {
    Bytes target = now;
    for (const auto& [address, before] : entry.bytes) {
        target.at(static_cast<std::size_t>(address)) = before;
    }
    return target;
}

std::string questionText(const JournalEntry& entry, const std::string& source, bool write) {
    if (write) {
        return "Write " + source +
               " to the VX-K5? Its whole memory is written, then read back "
               "and compared. The adjustments it puts back (now \u2192 in the backup):";
    }
    if (entry.backupFile.empty()) {
        return "Put back the values it had changed? Each is sent to the radio, then its memory "
               "is read back and compared (now \u2192 before it):";
    }
    return "Put the VX-K5 back at " + source +
           "? These values are sent to the radio, then its "
           "memory is read back and compared (now \u2192 in the backup):";
}

} // namespace

Recovery Recovery::of(const JournalEntry& entry, const clsCmcEeprom& image) {
    Recovery offer;
    const Bytes now = image.ReadBlock(0, image.eeSize());
    std::string source;
    if (entry.backupFile.empty()) {
        offer.target = beforeProcedure(entry, now);
        source = "the values from before \"" + entry.what + "\"";
    } else {
        ImageFile::ReadResult file = ImageFile::read(entry.backupFile);
        if (!file.ok()) {
            offer.kind = Kind::Unreadable;
            offer.question = cutOff(entry) + "\r\n\r\n" + file.error;
            return offer;
        }
        offer.target = std::move(file.bytes);
        source = "the backup it started from (" + fileName(entry.backupFile) + ")";
    }
    const bool write = entry.what == WriteName;
    offer.plan = RestoreJob::revertPlan(offer.target, image, source);
    if (!write && offer.plan.sends.empty()) {
        return offer; // the radio holds those values already: nothing to put back
    }
    if (write && offer.target == now) {
        return offer;
    }
    offer.kind = write ? Kind::Write : Kind::Revert;
    offer.question = cutOff(entry) + "\r\n\r\n" + questionText(entry, source, write);
    for (const CellResult& cell : write ? areaDifferences(now, offer.target) : offer.plan.sends) {
        offer.lines.push_back(job_messages::changeLine(cell.address, cell.from, cell.to));
    }
    return offer;
}

std::string Recovery::leftAsItWas(const JournalEntry& entry) {
    return "Left as it was after \"" + entry.what + "\", started " + when(entry) + ", was cut off.";
}
