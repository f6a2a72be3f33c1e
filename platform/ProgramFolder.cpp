// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own folder, found also before the Qt application object exists, and the
// installed data folder relative to it.
#include "platform/ProgramFolder.h"

#include <QCoreApplication>

#include <filesystem>

namespace platform {

std::string programFolder() {
    if (QCoreApplication::instance() != nullptr) {
        return QCoreApplication::applicationDirPath().toStdString();
    }
    // Before the application object exists (and in tests that have none) ask the system.
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return std::filesystem::current_path(error).string();
    }
    return exe.parent_path().string();
}

std::string installedDataFolder() {
    // Relative to the program, not the prefix it was built for: a tree installed into a
    // staging folder, or moved, keeps finding its own data.
    const auto folder = std::filesystem::path(programFolder()) / VSK5_DATA_FROM_PROGRAM;
    return folder.lexically_normal().string();
}

} // namespace platform
