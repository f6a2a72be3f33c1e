// SPDX-License-Identifier: GPL-3.0-or-later
// The journal of a running procedure or job on disk, beside the backups: if the program dies
// while it runs, the next Connect to the same radio finds what was cut off and the bytes it
// had changed, with their values before. One small file per radio, replaced whole (written
// beside it, then renamed) whenever a new byte joins, and removed when the run is over.
//
//   JournalFile::write(folder, {"0001", "BPF Low ALL", at, "", {{0x7B0, 90}}});
//   JournalFile::read(folder, "0001")   -> the entry above, until
//   JournalFile::remove(folder, "0001");
#pragma once

#include <QDateTime>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct JournalEntry {
    std::string subCode;
    std::string what; // the procedure, or "Write image to radio" / "Revert adjustments"
    QDateTime startedAt;
    std::string backupFile; // a job: the backup it started from; empty for a procedure
    std::vector<std::pair<std::int32_t, std::uint8_t>> bytes; // address, value before
};

namespace JournalFile {

std::string path(const std::string& folder, const std::string& subCode);
bool write(const std::string& folder, const JournalEntry& entry);
// The journal left for this radio; nothing when there is none or it cannot be read whole.
std::optional<JournalEntry> read(const std::string& folder, const std::string& subCode);
void remove(const std::string& folder, const std::string& subCode);

} // namespace JournalFile
