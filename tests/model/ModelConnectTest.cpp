// SPDX-License-Identifier: GPL-3.0-or-later
// "Connect" against the simulated radio where the golden trace of Connect (which pins every
// frame, value and wait) cannot say it: the backup every Connect leaves of the radio's bytes, a
// backups folder that cannot be written, and a record lost outside the adjustment area, which
// does not matter.
#include "tests/support/DoorBench.h"

#include "model/ServiceJob.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>

#include <filesystem>
#include <functional>

using testsupport::DoorBench;

TEST(ModelConnectTest, EveryConnectLeavesABackupOfTheRadiosBytesBesideTheOthers) {
    DoorBench bench;
    const Bytes radioBefore(bench.radio().memory().begin(), bench.radio().memory().end());
    ASSERT_TRUE(bench.connect());
    ASSERT_TRUE(bench.connect()); // the same second, most likely: the name must still be new
    const QStringList names =
        QDir(QString::fromStdString(bench.folder().file("backups"))).entryList(QDir::Files);
    ASSERT_EQ(names.size(), 2);
    const QRegularExpression pattern("^VX-K5_0001_\\d{8}-\\d{6}(-2)?\\.img$");
    for (const QString& name : names) {
        EXPECT_TRUE(pattern.match(name).hasMatch()) << name.toStdString();
        const std::string bytes = bench.folder().readFile("backups/" + name.toStdString());
        EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), radioBefore);
    }
    const ServiceRecord& record = bench.door().job().record();
    EXPECT_EQ(record.sessionStarts().size(), 2u); // the same radio: one job
    EXPECT_EQ(record.imageAtConnect(), radioBefore);
}

namespace {

// How the backups folder is spoiled before Connect.
struct BackupFault {
    const char* name;
    std::function<void(testsupport::TempDir&)> spoil;
};

class BackupFaultTest : public ::testing::TestWithParam<BackupFault> {};

} // namespace

TEST_P(BackupFaultTest, IsSaidOnceTheConnectGoesOnAndNothingNamesABackup) {
    DoorBench bench;
    GetParam().spoil(bench.folder());
    ASSERT_TRUE(bench.connect());
    EXPECT_EQ(bench.view().message(), "Cannot write the backup of the VX-K5's memory to '" +
                                          bench.folder().file("backups") +
                                          "'.\r\nBefore you change anything, save the image "
                                          "with \"Save image as\u2026\" in the File menu.");
    EXPECT_FALSE(bench.e8Payloads().empty()); // every value went out after it
    EXPECT_EQ(bench.door().job().record().sessionStarts().front().backupFile, "");
    EXPECT_NE(bench.door().reportHtml().find("<td>not written</td>"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Backups, BackupFaultTest,
    ::testing::Values(BackupFault{"AFileWhereTheFolderShouldBe",
                                  [](testsupport::TempDir& d) {
                                      d.writeFile("backups", "a file where the folder should be");
                                  }},
                      BackupFault{"AFolderMarkedReadOnly",
                                  [](testsupport::TempDir& d) {
                                      d.makeFolder("backups");
                                      d.setMode("backups", std::filesystem::perms(0555));
                                  }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ModelConnectTest, ARecordLostOutsideTheAdjustmentAreaDoesNotMatter) {
    vxk5sim::SimConfig config;
    config.dropRecord = 0;
    DoorBench bench(config);
    ASSERT_TRUE(bench.connect());
    EXPECT_TRUE(bench.view().messages.empty());
}
