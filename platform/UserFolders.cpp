// SPDX-License-Identifier: GPL-3.0-or-later
// The per-user folders, asked of QStandardPaths.
#include "platform/UserFolders.h"

#include <QDir>
#include <QStandardPaths>

namespace platform {

std::string userConfigFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).toStdString();
}

std::string userDataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
}

std::string userRuntimeFolder() {
    // Qt gives no runtime folder when the one it would use belongs to someone else or cannot
    // be made private; the user's configuration folder is still the user's own.
    std::string folder =
        QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation).toStdString();
    if (folder.empty()) {
        folder = userConfigFolder();
    }
    if (folder.empty()) {
        folder = QDir::tempPath().toStdString();
    }
    return folder;
}

} // namespace platform
