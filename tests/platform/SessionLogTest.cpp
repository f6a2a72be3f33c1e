// SPDX-License-Identifier: GPL-3.0-or-later
// The session log: named by the session's start, the oldest logs removed beyond 20 sessions or
// 50 MB, a line's form, and a folder that cannot be written told once while the program goes on.
#include "platform/SessionLog.h"
#include "platform/TickCount.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <ostream>

using platform::SessionLog;

namespace {

struct LogCase {
    const char* name;
    int oldLogs;            // "2026-01-01_00-00-00.log" and on, one second apart
    std::int64_t oldSize;   // bytes each
    bool folderUnderAFile;  // the folder cannot be made
    int logsAfter;          // in the folder once the session has started, its own counted
    const char* oldestKept; // the first of them
};

void PrintTo(const LogCase& c, std::ostream* os) {
    *os << c.name;
}

class SessionLogTest : public ::testing::TestWithParam<LogCase> {};

constexpr std::int64_t MB = 1024 * 1024;
const char* const NewLog = "2026-12-07_14-03-07.log";

} // namespace

TEST_P(SessionLogTest, KeepsTheNewestSessionsAndWritesItsLines) {
    const LogCase& c = GetParam();
    testsupport::TempDir dir;
    dir.makeFolder("logs");
    for (int i = 0; i < c.oldLogs; ++i) {
        QFile old(QString::fromStdString(dir.file("logs/")) +
                  QString("2026-01-01_00-00-%1.log").arg(i, 2, 10, QChar('0')));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.resize(c.oldSize)); // sparse
    }
    dir.writeFile("file", "");
    const std::string folder = dir.file(c.folderUnderAFile ? "file/logs" : "logs");
    {
        const SessionLog log(folder, QDateTime(QDate(2026, 12, 7), QTime(14, 3, 7)));
        platform::TickCount::advanceTestClock(1234);
        qCInfo(platform::lcPlatform, "a line");
        EXPECT_EQ(log.isOpen(), !c.folderUnderAFile);
        EXPECT_EQ(SessionLog::takeTrouble(),
                  c.folderUnderAFile ? "The session log cannot be written in " + folder + "." : "");
        EXPECT_EQ(SessionLog::takeTrouble(), "") << "told once";
        EXPECT_EQ(SessionLog::currentPath(), c.folderUnderAFile ? "" : folder + "/" + NewLog);
        EXPECT_EQ(SessionLog::currentFolder(), folder);
    }
    EXPECT_EQ(SessionLog::currentPath(), "");
    const QStringList logs = QDir(QString::fromStdString(dir.file("logs"))).entryList(QDir::Files);
    ASSERT_EQ(logs.size(), c.logsAfter);
    if (c.logsAfter > 0) {
        EXPECT_EQ(logs.front().toStdString(), c.oldestKept);
    }
    if (!c.folderUnderAFile) {
        EXPECT_EQ(logs.back().toStdString(), NewLog);
        EXPECT_EQ(dir.readFile(std::string("logs/") + NewLog), "      1234 platform a line\n");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Logs, SessionLogTest,
    ::testing::Values(
        LogCase{"TheFirstSession", 0, 0, false, 1, NewLog},
        LogCase{"NineteenOlderStay", 19, 1000, false, 20, "2026-01-01_00-00-00.log"},
        LogCase{"TheLast20SessionsAreKept", 25, 1000, false, 20, "2026-01-01_00-00-06.log"},
        LogCase{"AtMost50MBAreKept", 5, 20 * MB, false, 3, "2026-01-01_00-00-03.log"},
        LogCase{"ALogOver50MBGoes", 1, 51 * MB, false, 1, NewLog},
        LogCase{"AFolderThatCannotBeMadeIsToldOnce", 3, 1000, true, 3, "2026-01-01_00-00-00.log"}),
    [](const ::testing::TestParamInfo<LogCase>& info) { return std::string(info.param.name); });
