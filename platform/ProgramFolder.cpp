// The program's own folder, found also before the Qt application object exists.
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

} // namespace platform
