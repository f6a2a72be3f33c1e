#include "InstanceLock.h"

#include <QDir>
#include <QLockFile>

namespace platform {

InstanceLock::InstanceLock(const std::string& lockName)
    : lock(std::make_unique<QLockFile>(QDir::temp().filePath(QString::fromStdString(lockName)))) {
    lock->setStaleLockTime(0); // a lock whose owner has died is taken over, never honoured
}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::acquire() { return lock->isLocked() || lock->tryLock(0); }

} // namespace platform
