// "Is another copy of the program running?" answered with a lock file that the system frees
// when the owning process ends, even by a crash.
#pragma once

#include <memory>
#include <string>

class QLockFile;

namespace platform {

class InstanceLock {
  public:
    // lockName names the lock file in the system's temporary folder.
    explicit InstanceLock(const std::string& lockName);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this process now holds the lock; false when another running process holds it.
    bool acquire();

  private:
    std::unique_ptr<QLockFile> lock;
};

} // namespace platform
