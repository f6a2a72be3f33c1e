// SPDX-License-Identifier: GPL-3.0-or-later
// The one-copy check on a QLockFile in the user's runtime folder.
#include "platform/InstanceLock.h"

#include <QDir>
#include <QLockFile>
#include <QThread>

namespace platform {

InstanceLock::InstanceLock(std::string folder, const std::string& lockName,
                           std::function<void()> settle)
    : lockFolder(std::move(folder)), settle(std::move(settle)),
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
    // Only another live owner is a reason to refuse the start; a lock that cannot be made
    // (permissions, a full disk) must not keep the technician from working. QLockFile calls
    // anything already standing at the lock's path "held": a folder, a link to nowhere or a file
    // cut short by a power loss names no owner, so it is no other copy either. But QLockFile makes
    // its file first and writes the owner into it after: a copy started in that same instant
    // (a double click) sees the file still empty, so an ownerless file is looked at once more
    // after a moment before the start goes on without the lock.
    for (bool secondLook = false;; secondLook = true) {
        if (lock->tryLock(0)) {
            return Result::Acquired;
        }
        if (lock->error() != QLockFile::LockFailedError) {
            return Result::Unavailable;
        }
        qint64 pid = 0;
        QString host;
        QString application;
        if (lock->getLockInfo(&pid, &host, &application)) {
            return Result::HeldByAnotherCopy;
        }
        if (secondLook) {
            return Result::Unavailable;
        }
        settle();
    }
}

void InstanceLock::waitAMoment() {
    QThread::msleep(200);
}

} // namespace platform
