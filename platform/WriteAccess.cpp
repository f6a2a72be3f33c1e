// SPDX-License-Identifier: GPL-3.0-or-later
// The permission bits of a folder or file, read for the current user.
#include "platform/WriteAccess.h"

#include "platform/SessionLog.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#ifdef _WIN32
#include <QFileInfo>
#else
#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#endif

namespace platform {
namespace {

#ifdef _WIN32

// No owner, group and other bits to read: the read-only mark is what the system reports.
bool userMay(const std::string& path, bool folder) {
    const QFileInfo info(QString::fromStdString(path));
    return info.exists() && info.isDir() == folder && info.isWritable();
}

#else

bool inGroup(gid_t group) {
    if (getegid() == group) {
        return true;
    }
    const int count = getgroups(0, nullptr);
    if (count <= 0) {
        return false;
    }
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int got = getgroups(count, groups.data());
    return got > 0 &&
           std::find(groups.begin(), groups.begin() + got, group) != groups.begin() + got;
}

// The three bits (read, write, search) that apply to this user: only the first class that
// matches counts, as the system itself decides for everyone but root.
mode_t userBits(const struct stat& info) {
    if (info.st_uid == geteuid()) {
        return (info.st_mode >> 6) & 07;
    }
    if (inGroup(info.st_gid)) {
        return (info.st_mode >> 3) & 07;
    }
    return info.st_mode & 07;
}

bool userMay(const std::string& path, bool folder) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return false;
    }
    const bool kindFits = folder ? S_ISDIR(info.st_mode) : S_ISREG(info.st_mode);
    if (!kindFits) {
        return false;
    }
    const mode_t wanted = folder ? (S_IWOTH | S_IXOTH) : S_IWOTH;
    // access() adds what the bits do not show: a read-only mount, an access list that denies.
    const int how = folder ? (W_OK | X_OK) : W_OK;
    return (userBits(info) & wanted) == wanted && access(path.c_str(), how) == 0;
}

#endif

} // namespace

bool mayWriteFolder(const std::string& folder) {
    return userMay(folder.empty() ? "." : folder, true);
}

bool mayReplaceFile(const std::string& file) {
    const std::filesystem::path path(file);
    if (!mayWriteFolder(path.parent_path().string())) {
        return false;
    }
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, error))) {
        return true; // written afresh
    }
    return userMay(file, false);
}

bool replaceFile(const std::string& file, std::string_view text) {
    const bool written = [&] {
        if (!mayReplaceFile(file)) {
            return false; // the rename would replace a read-only file, and root writes anywhere
        }
        const std::string temporary = file + ".new";
        {
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            if (!out || !out.write(text.data(), static_cast<std::streamsize>(text.size())) ||
                !out.flush()) {
                std::remove(temporary.c_str());
                return false;
            }
        }
        if (std::rename(temporary.c_str(), file.c_str()) != 0) {
            std::remove(temporary.c_str());
            return false;
        }
        return true;
    }();
    qCInfo(lcPlatform, "%s %s (%llu bytes)", written ? "wrote" : "cannot write", file.c_str(),
           static_cast<unsigned long long>(text.size()));
    return written;
}

} // namespace platform
