// The one-copy check on a QLockFile in the system's temporary folder.
#include "platform/InstanceLock.h"

#include <QDir>
#include <QLockFile>

namespace platform {

InstanceLock::InstanceLock(const std::string& lockName)
    : lock(std::make_unique<QLockFile>(QDir::temp().filePath(QString::fromStdString(lockName)))) {
    // Only a lock whose owner has died is taken over; a running copy never goes stale by age.
    lock->setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::acquire() {
    return lock->isLocked() || lock->tryLock(0);
}

} // namespace platform
