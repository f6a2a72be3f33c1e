// End-to-end tests of the vxk5-sim tool: it is started as its own process, its first output
// line names the pseudo-terminal, a frame written there is echoed and answered, the --link
// symlink lives as long as the tool, and SIGTERM ends it cleanly. Waits are bounded reads of
// the child's output and the terminal (5 s at most), never sleeps.
#include "sim/SimOptions.h"
#include "tests/sim/SimTestUtil.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

extern char** environ;

using namespace simtest;

namespace {

constexpr int kWaitMs = 5000;

// The tool as a child process with its standard output on a pipe.
class ToolProcess {
  public:
    explicit ToolProcess(std::vector<std::string> args) {
        int fds[2];
        if (pipe(fds) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        args.insert(args.begin(), VXK5_SIM_TOOL);
        std::vector<char*> argv;
        for (std::string& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&pid, VXK5_SIM_TOOL, &actions, nullptr, argv.data(), environ) != 0) {
            pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        out = fds[0];
    }
    ~ToolProcess() {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        if (out >= 0) {
            close(out);
        }
    }

    bool started() const { return pid > 0; }

    // One line of the tool's output, or "" when none came in time.
    std::string readLine() {
        std::string line;
        char c = 0;
        while (poll1(out, POLLIN) && read(out, &c, 1) == 1) {
            if (c == '\n') {
                return line;
            }
            line += c;
        }
        return line;
    }
    // Everything the tool prints until it closes its output.
    std::string readRest() {
        std::string text;
        char buf[512];
        while (poll1(out, POLLIN)) {
            const ssize_t n = read(out, buf, sizeof buf);
            if (n <= 0) {
                break;
            }
            text.append(buf, static_cast<std::size_t>(n));
        }
        return text;
    }
    // Sends the signal and returns the exit status (-1 if it did not end normally).
    int stop(int signal) {
        kill(pid, signal);
        int status = 0;
        waitpid(pid, &status, 0);
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    static bool poll1(int fd, short events) {
        pollfd p{fd, events, 0};
        return poll(&p, 1, kWaitMs) == 1;
    }

  private:
    pid_t pid = -1;
    int out = -1;
};

// Reads from the terminal until n bytes have come or the wait runs out.
Bytes readBytes(int fd, std::size_t n) {
    Bytes got;
    std::uint8_t buf[256];
    while (got.size() < n && ToolProcess::poll1(fd, POLLIN)) {
        const ssize_t r = read(fd, buf, sizeof buf);
        if (r <= 0) {
            break;
        }
        got.insert(got.end(), buf, buf + r);
    }
    return got;
}

int openRaw(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd >= 0) {
        termios tio{};
        tcgetattr(fd, &tio);
        cfmakeraw(&tio);
        tcsetattr(fd, TCSANOW, &tio);
    }
    return fd;
}

} // namespace

TEST(SimTool, ServesTheRadioOnAPseudoTerminalAndStopsCleanly) {
    const std::string link = "/tmp/vxk5-sim-test-" + std::to_string(getpid());
    ToolProcess tool({"--no-pace", "--link", link, "--temperature", "99"});
    ASSERT_TRUE(tool.started());
    const std::string device = tool.readLine();
    ASSERT_EQ(device.rfind("/dev/", 0), 0u) << "first line: " << device;

    struct stat st {};
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));

    const int fd = openRaw(link);
    ASSERT_GE(fd, 0) << std::strerror(errno);
    const Bytes query = identityQuery();
    ASSERT_EQ(write(fd, query.data(), query.size()), static_cast<ssize_t>(query.size()));
    Bytes expected = query;
    expected.insert(expected.end(), {0xFE, 0xFE, 0xEF, 0xEE, 0xE1, 0x73, 0x51, 0x00, 0x01, 0xFD});
    EXPECT_EQ(readBytes(fd, expected.size()), expected);
    EXPECT_NE(tool.readLine().find("E0 identity query -> E1 73 51 00 01"), std::string::npos);

    // A client closing and another opening: the tool keeps serving.
    close(fd);
    const int again = openRaw(device);
    ASSERT_GE(again, 0);
    for (const Bytes& frame : {unlockFrame(), e8Frame(3, "00")}) {
        ASSERT_EQ(write(again, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
    }
    const Bytes got = readBytes(again, unlockFrame().size() + e8Frame(3, "00").size() + 13);
    const auto a = answers(got);
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0], (Bytes{0xEF, 0xEE, 0xE8, 0x73, 0x51, 0x00, 0x01, 0x03, '6', '3'}))
        << "temperature 99";
    close(again);

    EXPECT_EQ(tool.stop(SIGTERM), 0);
    EXPECT_NE(lstat(link.c_str(), &st), 0) << "the link is removed on exit";
}

TEST(SimTool, HelpPrintsTheUsageAndBadOptionsAreRefused) {
    ToolProcess help({"--help"});
    ASSERT_TRUE(help.started());
    EXPECT_EQ(help.readRest(), vxk5sim::simUsage("vxk5-sim"));
    EXPECT_EQ(help.stop(0), 0);

    ToolProcess bad({"--bogus"});
    ASSERT_TRUE(bad.started());
    EXPECT_EQ(bad.readRest(), "") << "errors go to standard error, not into the device line";
    EXPECT_EQ(bad.stop(0), 2);
}
