// SPDX-License-Identifier: GPL-3.0-or-later
// "Is another copy of the program running?" answered with a lock file that the system frees
// when the owning process ends, even by a crash. The lock lives in the user's own runtime
// folder, so a copy run by someone else, or a lock file left behind by it, is never in the way.
//
//   platform::InstanceLock lock(platform::userRuntimeFolder(), "VSK5ALN.lock");
//   if (lock.acquire() == platform::InstanceLock::Result::HeldByAnotherCopy) { ...refuse... }
#pragma once

#include <memory>
#include <string>

class QLockFile;

namespace platform {

class InstanceLock {
  public:
    enum class Result {
        Acquired,          // this process holds the lock now
        HeldByAnotherCopy, // a running process holds it
        Unavailable,       // no lock could be taken (folder, permission, other fault)
    };

    // The lock file lockName in folder; the folder is made when the lock is first asked for.
    InstanceLock(std::string folder, const std::string& lockName);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    [[nodiscard]] Result acquire();

  private:
    std::string lockFolder;
    std::unique_ptr<QLockFile> lock;
};

} // namespace platform
