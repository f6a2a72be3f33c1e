// SPDX-License-Identifier: GPL-3.0-or-later
// What the technician is told about the safety net of a service job: image files that cannot
// be read or written, a backup that failed, an action that has to wait, and what a revert or a
// full write asks before it starts and found when it verified the radio.
#pragma once

#include <cstdint>
#include <string>

namespace job_messages {

std::string cannotReadImage(const std::string& path);
std::string notAnImage(const std::string& path, std::int64_t size);
std::string cannotWriteFile(const std::string& path);
std::string backupFailed(const std::string& folder);
std::string connectFirst();
std::string waitForAdjustment();

// How a message names the image a revert goes back to.
std::string connectBackupSource(const std::string& backupPath);
std::string fileSource(const std::string& path);

// One line of a list of values, named and shown as the dump shows them:
// "Power(Hi): 131 → 128", "REF Slant  3: -1 → 2".
std::string changeLine(std::int32_t address, int from, int to);
// One line of a verification: "Power(Hi): the VX-K5 holds 131, not 128".
std::string mismatchLine(std::int32_t address, int holds, int wanted);
std::string bytesOutsideArea(int count);

std::string revertQuestion(const std::string& source);
std::string notRevertedHeading();
std::string nothingToRevert(const std::string& source);
std::string revertVerified(const std::string& source, int count);
std::string revertDiffers(const std::string& source, const std::string& lines);

std::string imageNotForRadio(const std::string& path, const std::string& prefix);
// The question names what a write changes of the adjustments; listed beside it when any.
std::string writeQuestion(const std::string& path, bool adjustmentsChange);
std::string writeVerified(const std::string& path);
std::string writeDiffers(const std::string& path, const std::string& lines);

} // namespace job_messages
