// SPDX-License-Identifier: GPL-3.0-or-later
// The one-copy check on a QLockFile in the user's runtime folder.
#include "platform/InstanceLock.h"

#include <QDir>
#include <QLockFile>

namespace platform {

InstanceLock::InstanceLock(std::string folder, const std::string& lockName)
    : lockFolder(std::move(folder)),
      lock(std::make_unique<QLockFile>(
          QDir(QString::fromStdString(lockFolder)).filePath(QString::fromStdString(lockName)))) {
    // Only a lock whose owner has died is taken over; a running copy never goes stale by age.
    lock->setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

InstanceLock::Result InstanceLock::acquire() {
    if (lock->isLocked()) {
        return Result::Acquired;
    }
    if (!QDir().mkpath(QString::fromStdString(lockFolder))) {
        return Result::Unavailable;
    }
    if (lock->tryLock(0)) {
        return Result::Acquired;
    }
    // Only another live owner is a reason to refuse the start; a lock that cannot be made
    // (permissions, a full disk) must not keep the technician from working. QLockFile calls
    // anything already standing at the lock's path "held": a folder, a link to nowhere or a file
    // cut short by a power loss names no owner, so it is no other copy either.
    if (lock->error() != QLockFile::LockFailedError) {
        return Result::Unavailable;
    }
    qint64 pid = 0;
    QString host;
    QString application;
    return lock->getLockInfo(&pid, &host, &application) ? Result::HeldByAnotherCopy
                                                        : Result::Unavailable;
}

} // namespace platform
