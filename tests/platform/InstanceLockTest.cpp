// SPDX-License-Identifier: GPL-3.0-or-later
// The one-copy lock: taken, held by another copy, left behind by a crashed copy, and the
// faults that are no other copy at all (chosen so that they stop root too, who runs the suite
// in some places and whom permission bits do not stop).
#include "platform/InstanceLock.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLockFile>
#include <QSysInfo>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>

using platform::InstanceLock;
using Result = platform::InstanceLock::Result;
using testsupport::TempDir;
using namespace std::chrono_literals;

namespace {

std::shared_ptr<void> nothing(const TempDir&) {
    return nullptr;
}

// What is in the way before the lock is asked for, and what comes while it waits its moment;
// the returned objects (if any) are kept alive while it is asked.
struct LockCase {
    const char* name;
    std::function<std::shared_ptr<void>(const TempDir&)> arrange;
    std::string folder; // below the test's folder
    Result expected;
    std::function<std::shared_ptr<void>(const TempDir&)> meanwhile = nothing;
};

class InstanceLockTest : public ::testing::TestWithParam<LockCase> {};

// Another process's lock as QLockFile holds it: this process's own id counts as running.
std::shared_ptr<void> heldElsewhere(const TempDir& dir) {
    QDir().mkpath(QString::fromStdString(dir.file("run")));
    std::filesystem::remove(dir.file("run/a.lock")); // an empty one it made a moment before
    auto other = std::make_shared<QLockFile>(QString::fromStdString(dir.file("run/a.lock")));
    EXPECT_TRUE(other->tryLock(0));
    return other;
}

// The file a copy that crashed left behind: an id no process has.
std::shared_ptr<void> leftByACrash(const TempDir& dir) {
    QDir().mkpath(QString::fromStdString(dir.file("run")));
    dir.writeFile("run/a.lock",
                  "2147483646\nvsk5-aln\n" + QSysInfo::machineHostName().toStdString() + "\n");
    return nullptr;
}

// Something in the lock file's place that no process owns, made by `put` at its path.
template <void (*put)(const std::string&)> std::shared_ptr<void> inItsPlace(const TempDir& dir) {
    QDir().mkpath(QString::fromStdString(dir.file("run")));
    put(dir.file("run/a.lock"));
    return nullptr;
}
void folder(const std::string& path) {
    std::filesystem::create_directory(path);
}
void linkToNowhere(const std::string& path) {
    std::filesystem::create_symlink(path + ".gone", path);
}
void emptyFile(const std::string& path) {
    std::ofstream{path};
}
void emptyFileADayOld(const std::string& path) { // a power loss before its owner was written
    emptyFile(path);
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) - 24h);
}

std::shared_ptr<void> plainFile(const TempDir& dir) {
    dir.writeFile("plain", "");
    return nullptr;
}

} // namespace

namespace platform {
// Readable names in a failure message instead of the enum's bytes.
void PrintTo(InstanceLock::Result result, std::ostream* out) {
    const char* const names[] = {"Acquired", "HeldByAnotherCopy", "Unavailable"};
    *out << names[static_cast<int>(result)];
}
} // namespace platform

TEST_P(InstanceLockTest, TellsAnotherCopyFromAFault) {
    TempDir dir;
    std::shared_ptr<void> keep = GetParam().arrange(dir), keepToo;
    InstanceLock lock(dir.file(GetParam().folder), "a.lock",
                      [&] { keepToo = GetParam().meanwhile(dir); });
    EXPECT_EQ(lock.acquire(), GetParam().expected);
    // Asking again changes nothing: a held lock stays held by this process.
    EXPECT_EQ(lock.acquire(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InstanceLockTest,
    ::testing::Values(
        LockCase{"FreeInAFolderYetToBeMade", nothing, "run/deeper", Result::Acquired},
        LockCase{"HeldByAnotherCopy", heldElsewhere, "run", Result::HeldByAnotherCopy},
        LockCase{"LeftByACrashedCopy", leftByACrash, "run", Result::Acquired},
        LockCase{"FolderUnderAPlainFile", plainFile, "plain/run", Result::Unavailable},
        LockCase{"FolderIsAPlainFile", plainFile, "plain", Result::Unavailable},
        LockCase{"FolderInTheLocksPlace", inItsPlace<folder>, "run", Result::Unavailable},
        LockCase{"LinkToNowhereInTheLocksPlace", inItsPlace<linkToNowhere>, "run",
                 Result::Unavailable},
        LockCase{"EmptyFileLeftByAPowerLoss", inItsPlace<emptyFileADayOld>, "run",
                 Result::Unavailable},
        LockCase{"EmptyFileNamesItsOwnerAMomentLater", inItsPlace<emptyFile>, "run",
                 Result::HeldByAnotherCopy, heldElsewhere}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InstanceLockTest, SecondLockOfTheSameNameIsRefusedUntilTheFirstGoes) {
    TempDir dir;
    auto first = std::make_unique<InstanceLock>(dir.file("run"), "a.lock");
    ASSERT_EQ(first->acquire(), Result::Acquired);
    InstanceLock second(dir.file("run"), "a.lock");
    EXPECT_EQ(second.acquire(), Result::HeldByAnotherCopy);
    first.reset();
    EXPECT_EQ(second.acquire(), Result::Acquired);
}
