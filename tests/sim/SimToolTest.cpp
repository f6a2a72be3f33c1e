// SPDX-License-Identifier: GPL-3.0-or-later
// The vxk5-sim tool as its own process: its first output line names the pseudo-terminal (which
// it has set to raw mode), a frame written there is echoed and answered, and SIGTERM ends it
// cleanly. The tool runs on its own, in real time: every wait ends as soon as it has done its
// part, and is bounded only against a tool that hangs, far beyond what a busy machine takes.
#include "tests/sim/SimTestUtil.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

using namespace simtest;

TEST(SimTool, AnswersAnIdentityQueryOnItsPseudoTerminalAndStopsCleanly) {
    QProcess tool;
    tool.start(VXK5_SIM_TOOL, {"--no-pace"});
    ASSERT_TRUE(tool.waitForReadyRead(60000));
    const std::string device = tool.readLine().trimmed().toStdString();
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0) << "first line: " << device;
    const Bytes query = IdentityQuery;
    ASSERT_EQ(::write(fd, query.data(), query.size()), ssize_t(query.size()));
    Bytes line;
    std::uint8_t buffer[64];
    for (pollfd p{fd, POLLIN, 0}; line.size() < 20 && poll(&p, 1, 60000) == 1;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        line.insert(line.end(), buffer, buffer + std::max<ssize_t>(n, 0));
    }
    ::close(fd);
    EXPECT_EQ(line, cat(query, IdentityAnswer));
    tool.terminate();
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tool.exitCode(), 0);
}
