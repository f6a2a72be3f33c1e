// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a folder or file may be written, by the bits that apply to this user: the owner's,
// else the group's, else everyone else's. The rows with another owner need root (which CI is)
// to hand the file over; for root they are exactly the cases access() gets wrong.
#include "platform/WriteAccess.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <unistd.h>

using platform::mayReplaceFile;
using platform::mayWriteFolder;
using testsupport::TempDir;
namespace fs = std::filesystem;

namespace {

// Whose the folder or file is.
enum class Owner {
    Me,       // this user and group
    MyGroup,  // another user, this user's group
    Stranger, // another user and another group
};

struct AccessCase {
    const char* name;
    Owner owner;
    fs::perms mode;
    bool expected;
};

class FolderAccessTest : public ::testing::TestWithParam<AccessCase> {};
class FileAccessTest : public ::testing::TestWithParam<AccessCase> {};

// Ids nobody on a test machine has.
constexpr uid_t OtherUser = 4242;
constexpr gid_t OtherGroup = 4243;

// Gives path to its owner; false when this user may not (only root may give files away).
bool handOver(const std::string& path, Owner owner) {
    if (owner == Owner::Me) {
        return true;
    }
    const gid_t group = owner == Owner::MyGroup ? getegid() : OtherGroup;
    return chown(path.c_str(), OtherUser, group) == 0;
}

constexpr fs::perms mode(unsigned bits) {
    return static_cast<fs::perms>(bits);
}

} // namespace

TEST_P(FolderAccessTest, FollowsTheBitsThatApply) {
    TempDir dir;
    dir.makeFolder("f");
    if (!handOver(dir.file("f"), GetParam().owner)) {
        GTEST_SKIP() << "only root can give a folder to another user";
    }
    dir.setMode("f", GetParam().mode);
    EXPECT_EQ(mayWriteFolder(dir.file("f")), GetParam().expected);
    // A new file in it may be made exactly when the folder may be written.
    EXPECT_EQ(mayReplaceFile(dir.file("f/new.ini")), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Bits, FolderAccessTest,
    ::testing::Values(AccessCase{"OwnerMayWrite", Owner::Me, mode(0755), true},
                      AccessCase{"OwnerReadOnly", Owner::Me, mode(0555), false},
                      AccessCase{"OwnerMayNotEnter", Owner::Me, mode(0655), false},
                      AccessCase{"OthersBitsDoNotHelpTheOwner", Owner::Me, mode(0577), false},
                      AccessCase{"GroupMayWrite", Owner::MyGroup, mode(0575), true},
                      AccessCase{"GroupReadOnly", Owner::MyGroup, mode(0757), false},
                      AccessCase{"OthersMayWrite", Owner::Stranger, mode(0553), true},
                      AccessCase{"OthersReadOnly", Owner::Stranger, mode(0775), false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(FileAccessTest, FollowsTheBitsThatApply) {
    TempDir dir;
    dir.writeFile("a.ini", "[OPTION]\n");
    if (!handOver(dir.file("a.ini"), GetParam().owner)) {
        GTEST_SKIP() << "only root can give a file to another user";
    }
    dir.setMode("a.ini", GetParam().mode);
    EXPECT_EQ(mayReplaceFile(dir.file("a.ini")), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Bits, FileAccessTest,
    ::testing::Values(AccessCase{"OwnerMayWrite", Owner::Me, mode(0644), true},
                      AccessCase{"MarkedReadOnly", Owner::Me, mode(0444), false},
                      AccessCase{"OthersBitsDoNotHelpTheOwner", Owner::Me, mode(0466), false},
                      AccessCase{"GroupMayWrite", Owner::MyGroup, mode(0464), true},
                      AccessCase{"GroupReadOnly", Owner::MyGroup, mode(0646), false},
                      AccessCase{"OthersMayWrite", Owner::Stranger, mode(0442), true},
                      AccessCase{"OthersReadOnly", Owner::Stranger, mode(0664), false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WriteAccessTest, WhatIsNoWritableFileOrFolder) {
    TempDir dir;
    dir.makeFolder("sub");
    dir.writeFile("plain", "");
    EXPECT_FALSE(mayReplaceFile(dir.file("sub")));           // a folder where the file should be
    EXPECT_FALSE(mayWriteFolder(dir.file("plain")));         // a file where the folder should be
    EXPECT_FALSE(mayReplaceFile(dir.file("missing/a.ini"))); // a folder that is not there
    EXPECT_TRUE(mayReplaceFile(dir.file("sub/a.ini")));
}
