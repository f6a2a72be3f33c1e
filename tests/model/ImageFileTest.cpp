// SPDX-License-Identifier: GPL-3.0-or-later
// Image files: the backup names, a name that is never taken twice, and the name rule that ties
// an image to a radio.
#include "model/ImageFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QDateTime>

using testsupport::TempDir;

TEST(ImageFileTest, BackupNamesCarryTheModelTheSubCodeAndTheLocalTime) {
    const QDateTime at(QDate(2026, 12, 6), QTime(9, 3, 7));
    EXPECT_EQ(ImageFile::backupName("0001", at), "VX-K5_0001_20261206-090307.img");
}

TEST(ImageFileTest, AFreePathNeverNamesAFileThatExists) {
    TempDir dir;
    const std::string name = "VX-K5_0001_20261206-090307.img";
    EXPECT_EQ(ImageFile::freePath(dir.path(), name), dir.file(name));
    dir.writeFile(name, "x");
    dir.writeFile("VX-K5_0001_20261206-090307-2.img", "x");
    EXPECT_EQ(ImageFile::freePath(dir.path(), name), dir.file("VX-K5_0001_20261206-090307-3.img"));
}

namespace {

struct NameCase {
    const char* path;
    bool names;
};

class ImageNameTest : public ::testing::TestWithParam<NameCase> {};

} // namespace

TEST_P(ImageNameTest, NamesTheRadioOnlyByItsOwnPrefix) {
    EXPECT_EQ(ImageFile::namesRadio(GetParam().path, "0001"), GetParam().names) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(Names, ImageNameTest,
                         ::testing::Values(NameCase{"VX-K5_0001_20261206-090307.img", true},
                                           NameCase{"/jobs/VX-K5_0001_edited.img", true},
                                           NameCase{"/VX-K5_0001_/other.img", false},
                                           NameCase{"VX-K5_0002_20261206-090307.img", false},
                                           NameCase{"VX-K6_0001_20261206-090307.img", false},
                                           NameCase{"vx-k5_0001_lower.img", false},
                                           NameCase{"VX-K5_00012.img", false}));
