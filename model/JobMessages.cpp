// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the service job's safety net.
#include "model/JobMessages.h"

#include "model/clsIndEep_RigK5.h"

#include <QFileInfo>
#include <QString>

namespace job_messages {
namespace {

const char* const CrLf = "\r\n";
const char* const ConsoleFollows = "The console shows the values the VX-K5 holds now.";

// The file's own name: the folder is noise in a message box.
std::string fileName(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

std::string value(std::int32_t address, int byte) {
    return clsIndEep_RigK5::RigEep_CellValue(address, static_cast<std::int16_t>(byte));
}

} // namespace

std::string cannotReadImage(const std::string& path) {
    return "Cannot read '" + path + "'." + CrLf + "Nothing was changed.";
}

std::string notAnImage(const std::string& path, std::int64_t size) {
    return "'" + fileName(path) + "' is not a memory image of the VX-K5: it holds " +
           std::to_string(size) + " bytes, an image 2048." + CrLf + "Nothing was changed.";
}

std::string cannotWriteFile(const std::string& path) {
    return "Cannot write '" + path + "'.";
}

std::string backupFailed(const std::string& folder) {
    return "Cannot write the backup of the VX-K5's memory to '" + folder + "'." + CrLf +
           "Before you change anything, save the image with \"Save image as\u2026\" in the File "
           "menu.";
}

std::string connectFirst() {
    return "Connect to the VX-K5 first.";
}

std::string waitForAdjustment() {
    return "Wait until the running adjustment has ended.";
}

std::string connectBackupSource(const std::string& backupPath) {
    if (backupPath.empty()) {
        return "its memory as this session's Connect read it";
    }
    return "the backup of this session's Connect (" + fileName(backupPath) + ")";
}

std::string fileSource(const std::string& path) {
    return "'" + fileName(path) + "'";
}

std::string changeLine(std::int32_t address, int from, int to) {
    return clsIndEep_RigK5::RigEep_CellName(address) + ": " + value(address, from) + " \u2192 " +
           value(address, to);
}

std::string mismatchLine(std::int32_t address, int holds, int wanted) {
    return clsIndEep_RigK5::RigEep_CellName(address) + ": the VX-K5 holds " +
           value(address, holds) + ", not " + value(address, wanted);
}

std::string bytesOutsideArea(int count) {
    return std::to_string(count) + (count == 1 ? " byte" : " bytes") +
           " outside the adjustments";
}

std::string revertQuestion(const std::string& source) {
    return "Revert the VX-K5 to " + source + "?" + CrLf + CrLf +
           "These values are sent to the radio, one at a time, then its memory is read back "
           "and compared:";
}

std::string notRevertedHeading() {
    return "Not reverted (no adjustment command reaches these bytes):";
}

std::string nothingToRevert(const std::string& source) {
    return "The VX-K5 already holds the values of " + source + "." + CrLf + "Nothing was sent.";
}

std::string revertVerified(const std::string& source, int count) {
    return "The VX-K5 is back at " + source + ": all " + std::to_string(count) +
           " values verified.";
}

std::string revertDiffers(const std::string& source, const std::string& lines) {
    return "After the revert the VX-K5 differs from " + source + ":" + CrLf + CrLf + lines + CrLf +
           CrLf + ConsoleFollows;
}

std::string imageNotForRadio(const std::string& path, const std::string& prefix) {
    return "'" + fileName(path) + "' is not an image of this VX-K5: its name must begin with \"" +
           prefix + "\"." + CrLf + "Nothing was sent.";
}

std::string writeQuestion(const std::string& path, bool adjustmentsChange) {
    return "Write '" + fileName(path) + "' to the VX-K5?" + CrLf + CrLf +
           "This replaces the radio's whole memory, all 2048 bytes, its alignment included. "
           "Then the memory is read back and compared. " +
           (adjustmentsChange ? "These adjustments change:" : "The adjustments stay as they are.");
}

std::string writeVerified(const std::string& path) {
    return "'" + fileName(path) + "' was written to the VX-K5: all 2048 bytes verified.";
}

std::string writeDiffers(const std::string& path, const std::string& lines) {
    return "After the write the VX-K5's memory differs from '" + fileName(path) + "':" + CrLf +
           CrLf + lines + CrLf + CrLf + ConsoleFollows;
}

} // namespace job_messages
