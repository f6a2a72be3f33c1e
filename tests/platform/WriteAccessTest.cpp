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
    bool folder; // a folder, else a file
    Owner owner;
    fs::perms mode;
    bool expected;
};

class AccessBitsTest : public ::testing::TestWithParam<AccessCase> {};

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

TEST_P(AccessBitsTest, FollowsTheBitsThatApply) {
    const AccessCase& c = GetParam();
    TempDir dir;
    if (c.folder) {
        dir.makeFolder("f");
    } else {
        dir.writeFile("f", "[OPTION]\n");
    }
    if (!handOver(dir.file("f"), c.owner)) {
        GTEST_SKIP() << "only root can give a folder or file to another user";
    }
    dir.setMode("f", c.mode);
    // A new file in a folder may be made exactly when the folder may be written.
    EXPECT_EQ(mayReplaceFile(dir.file(c.folder ? "f/new.ini" : "f")), c.expected);
    EXPECT_EQ(mayWriteFolder(dir.file("f")), c.folder && c.expected); // never a file
}

// Folder or file: short names so that each case fits one line of the table.
constexpr bool D = true;
constexpr bool F = false;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Bits, AccessBitsTest, ::testing::Values(
    AccessCase{"FolderOwnerMayWrite",               D, Owner::Me,       mode(0755), true},
    AccessCase{"FolderOwnerReadOnly",               D, Owner::Me,       mode(0555), false},
    AccessCase{"FolderOwnerMayNotEnter",            D, Owner::Me,       mode(0655), false},
    AccessCase{"FolderOthersBitsDoNotHelpTheOwner", D, Owner::Me,       mode(0577), false},
    AccessCase{"FolderGroupMayWrite",               D, Owner::MyGroup,  mode(0575), true},
    AccessCase{"FolderGroupReadOnly",               D, Owner::MyGroup,  mode(0757), false},
    AccessCase{"FolderOthersMayWrite",              D, Owner::Stranger, mode(0553), true},
    AccessCase{"FolderOthersReadOnly",              D, Owner::Stranger, mode(0775), false},
    AccessCase{"FileOwnerMayWrite",                 F, Owner::Me,       mode(0644), true},
    AccessCase{"FileMarkedReadOnly",                F, Owner::Me,       mode(0444), false},
    AccessCase{"FileOthersBitsDoNotHelpTheOwner",   F, Owner::Me,       mode(0466), false},
    AccessCase{"FileGroupMayWrite",                 F, Owner::MyGroup,  mode(0464), true},
    AccessCase{"FileGroupReadOnly",                 F, Owner::MyGroup,  mode(0646), false},
    AccessCase{"FileOthersMayWrite",                F, Owner::Stranger, mode(0442), true},
    AccessCase{"FileOthersReadOnly",                F, Owner::Stranger, mode(0664), false}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(WriteAccessTest, WhatIsNoWritableFileOrFolder) {
    TempDir dir;
    dir.makeFolder("sub");
    EXPECT_FALSE(mayReplaceFile(dir.file("sub")));           // a folder where the file should be
    EXPECT_FALSE(mayReplaceFile(dir.file("missing/a.ini"))); // a folder that is not there
    EXPECT_TRUE(mayReplaceFile(dir.file("sub/a.ini")));
}
