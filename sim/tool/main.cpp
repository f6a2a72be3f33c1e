// SPDX-License-Identifier: GPL-3.0-or-later
// vxk5-sim: serves the simulated VX-K5 on a pseudo-terminal, so the utility (or a technician
// practising without a radio) can open it like the serial port of a cloning cable.
//
// The first line on standard output is the device path; every exchange then prints one trace
// line. One thread, one poll loop: it sleeps until bytes arrive, a queued byte is due on the
// line, the terminal can take more output, or SIGINT/SIGTERM asks it to stop.
#include "sim/PseudoTerminal.h"
#include "sim/SimOptions.h"
#include "sim/SimRadio.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

int stopPipe[2] = {-1, -1};

void onStopSignal(int) {
    const char byte = 1;
    const ssize_t ignored = write(stopPipe[1], &byte, 1);
    (void)ignored;
}

std::int64_t monotonicMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// Ctrl-C and a termination request end the serving loop through the stop pipe.
bool installStopSignals() {
    if (pipe(stopPipe) != 0) {
        std::perror("vxk5-sim: pipe");
        return false;
    }
    fcntl(stopPipe[1], F_SETFL, fcntl(stopPipe[1], F_GETFL) | O_NONBLOCK);
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
    return true;
}

// One line per exchange, stamped with the seconds since the start.
void traceToStdout(vxk5sim::SimRadio& radio) {
    const std::int64_t startMs = monotonicMs();
    radio.setTraceHandler([startMs](const std::string& line) {
        const std::int64_t t = monotonicMs() - startMs;
        std::printf("[%6lld.%03lld] %s\n", static_cast<long long>(t / 1000),
                    static_cast<long long>(t % 1000), line.c_str());
        std::fflush(stdout);
    });
}

// Hands the terminal the bytes that are due, as many as it takes now.
void sendDue(vxk5sim::SimRadio& radio, vxk5sim::PseudoTerminal& pty,
             std::vector<std::uint8_t>& pending) {
    const vxk5sim::Bytes due = radio.transmit(monotonicMs());
    pending.insert(pending.end(), due.begin(), due.end());
    while (!pending.empty()) {
        const ssize_t n = pty.write(pending.data(), pending.size());
        if (n <= 0) {
            break; // terminal full (EAGAIN): wait for POLLOUT
        }
        pending.erase(pending.begin(), pending.begin() + n);
    }
}

enum class Step { Go, Stop, Fail };

// Waits for the next byte due, bytes from the computer or the stop signal; takes what arrived.
Step serveOnce(vxk5sim::SimRadio& radio, vxk5sim::PseudoTerminal& pty, bool pending) {
    int timeout = -1;
    const std::int64_t next = radio.nextTransmitMs();
    if (next >= 0) {
        timeout = static_cast<int>(std::max<std::int64_t>(0, next - monotonicMs()));
    }
    pollfd fds[2] = {{pty.master(), static_cast<short>(POLLIN | (pending ? POLLOUT : 0)), 0},
                     {stopPipe[0], POLLIN, 0}};
    if (poll(fds, 2, timeout) < 0) {
        if (errno == EINTR) {
            return Step::Go;
        }
        std::perror("vxk5-sim: poll");
        return Step::Fail;
    }
    if ((fds[1].revents & POLLIN) != 0) {
        return Step::Stop;
    }
    if ((fds[0].revents & (POLLERR | POLLNVAL)) != 0 && (fds[0].revents & POLLIN) == 0) {
        std::fprintf(stderr, "vxk5-sim: the pseudo-terminal failed\n");
        return Step::Fail;
    }
    if ((fds[0].revents & POLLIN) != 0) {
        std::uint8_t buf[4096];
        const ssize_t n = pty.read(buf, sizeof buf);
        if (n > 0) {
            radio.receive(vxk5sim::Bytes(buf, buf + n), monotonicMs());
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            std::perror("vxk5-sim: read");
            return Step::Fail;
        }
    }
    return Step::Go;
}

int serve(vxk5sim::SimRadio& radio, vxk5sim::PseudoTerminal& pty) {
    std::vector<std::uint8_t> pending; // due bytes the terminal has not taken yet
    for (;;) {
        sendDue(radio, pty, pending);
        switch (serveOnce(radio, pty, !pending.empty())) {
        case Step::Go:
            break;
        case Step::Stop:
            return 0;
        case Step::Fail:
            return 1;
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const vxk5sim::SimOptions options = vxk5sim::parseSimOptions(args);
    if (options.help) {
        std::fputs(vxk5sim::simUsage("vxk5-sim").c_str(), stdout);
        return 0;
    }
    if (!options.error.empty()) {
        std::fprintf(stderr, "vxk5-sim: %s\n%s", options.error.c_str(),
                     vxk5sim::simUsage("vxk5-sim").c_str());
        return 2;
    }
    if (!installStopSignals()) {
        return 1;
    }
    vxk5sim::PseudoTerminal pty(options.linkPath);
    if (!pty.ok()) {
        std::fprintf(stderr, "vxk5-sim: %s\n", pty.error().c_str());
        return 1;
    }
    std::printf("%s\n", pty.path().c_str());
    std::fflush(stdout);

    vxk5sim::SimRadio radio(options.config);
    if (!options.quiet) {
        traceToStdout(radio);
    }
    const int status = serve(radio, pty);

    pty.hangUp();
    if (!options.quiet) {
        std::printf("vxk5-sim: stopped\n");
    }
    return status;
}
