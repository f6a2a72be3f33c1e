// SPDX-License-Identifier: GPL-3.0-or-later
// The choice between the settings file beside the program and the user's own copy.
#include "platform/SettingsPlaces.h"

#include "platform/IniFile.h"
#include "platform/WriteAccess.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace platform {
namespace {

bool exists(const std::string& file) {
    std::error_code error;
    return std::filesystem::exists(file, error);
}

// The whole file copied byte for byte, replacing the target in one step, so that a failed
// copy leaves no half file for the next start to read. A source this user cannot read was read
// as empty all along: there is nothing to carry over, and that is no failure.
bool copyFile(const std::string& from, const std::string& to) {
    std::ifstream in(from, std::ios::binary);
    if (!in) {
        return true;
    }
    std::stringstream text;
    text << in.rdbuf();
    return replaceFile(to, text.view());
}

} // namespace

SettingsPlaces::SettingsPlaces(std::string programFile, std::string userFile)
    : programFile(std::move(programFile)), userFile(std::move(userFile)) {}

bool SettingsPlaces::programPlaceWritable() const {
    return userFile.empty() || mayReplaceFile(programFile);
}

std::string SettingsPlaces::fileToRead() const {
    return programPlaceWritable() || !exists(userFile) ? programFile : userFile;
}

std::string SettingsPlaces::fileToWrite() const {
    return programPlaceWritable() ? programFile : userFile;
}

std::vector<std::string> SettingsPlaces::portsFiles() const {
    const std::string read = fileToRead();
    if (read == programFile) {
        return {programFile};
    }
    // A COM number the user's copy does not map may have been added beside the program since.
    return {read, programFile};
}

bool SettingsPlaces::write(const std::string& section, const std::string& key,
                           const std::string& value) const {
    return write({{section, key, value}});
}

bool SettingsPlaces::write(const std::vector<IniFile::Entry>& entries) const {
    if (IniFile(programFile).write(entries)) {
        return true;
    }
    return !userFile.empty() && prepareUserFile() && IniFile(userFile).write(entries);
}

// The user's folder made, and the user's file started from the program's one when there is
// none yet: everything in it but the values about to be written stays as it was.
bool SettingsPlaces::prepareUserFile() const {
    const std::filesystem::path folder = std::filesystem::path(userFile).parent_path();
    std::error_code error;
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, error);
    }
    if (error || !mayReplaceFile(userFile)) {
        return false;
    }
    if (exists(userFile) || !exists(programFile)) {
        return true;
    }
    return copyFile(programFile, userFile);
}

} // namespace platform
