// SPDX-License-Identifier: GPL-3.0-or-later
// "Is another copy of the program running?" answered with a lock file that the system frees
// when the owning process ends, even by a crash. The lock lives in the user's own runtime
// folder, so a copy run by someone else, or a lock file left behind by it, is never in the way.
//
//   platform::InstanceLock lock(platform::userRuntimeFolder(), "VSK5ALN.lock");
//   if (lock.acquire() == platform::InstanceLock::Result::HeldByAnotherCopy) { ...refuse... }
#pragma once

#include <functional>
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
    // settle is the moment given to a lock file that names no owner yet (see acquire()).
    InstanceLock(std::string folder, const std::string& lockName,
                 std::function<void()> settle = waitAMoment);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    [[nodiscard]] Result acquire();

    // A fifth of a second: far longer than a starting copy takes to write itself into the file.
    static void waitAMoment();

  private:
    std::string lockFolder;
    std::function<void()> settle;
    std::unique_ptr<QLockFile> lock;
};

} // namespace platform
