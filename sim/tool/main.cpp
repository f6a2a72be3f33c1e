// SPDX-License-Identifier: GPL-3.0-or-later
// vxk5-sim: serves the simulated VX-K5 on a pseudo-terminal, so the utility (or a technician
// practising without a radio) can open it like the serial port of a cloning cable.
//
// The first line on standard output is the device path; every exchange then prints one trace
// line. With --generator (or --generator-pty) it serves a simulated signal generator beside the
// radio, and the radio's detector follows that generator. One thread, one poll loop: it sleeps
// until bytes arrive, a queued byte or a held answer is due, the terminal can take more output,
// or SIGINT/SIGTERM asks it to stop.
#include "sim/PseudoTerminal.h"
#include "sim/SimGeneratorServer.h"
#include "sim/SimOptions.h"
#include "sim/SimRadio.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <memory>
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
std::function<void(const std::string&)> stampedTrace() {
    const std::int64_t startMs = monotonicMs();
    return [startMs](const std::string& line) {
        const std::int64_t t = monotonicMs() - startMs;
        std::printf("[%6lld.%03lld] %s\n", static_cast<long long>(t / 1000),
                    static_cast<long long>(t % 1000), line.c_str());
        std::fflush(stdout);
    };
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

// The simulated generator, when one was asked for: its SCPI, its socket and its terminal.
struct Generator {
    vxk5sim::SimGenerator scpi;
    vxk5sim::SimGeneratorServer server{scpi};
    std::unique_ptr<vxk5sim::PseudoTerminal> terminal;
};

// Sets the generator up as the options say and attaches it to the radio; nullptr on failure
// (reported), or when none was asked for.
std::unique_ptr<Generator> startGenerator(const vxk5sim::SimOptions& options, bool& ok) {
    ok = true;
    if (!options.hasGenerator()) {
        return nullptr;
    }
    auto g = std::make_unique<Generator>();
    g->scpi.faults() = options.generatorFaults;
    if (!options.generatorHost.empty() &&
        !g->server.listen(options.generatorHost, options.generatorPort)) {
        std::fprintf(stderr, "vxk5-sim: %s\n", g->server.error().c_str());
        ok = false;
        return nullptr;
    }
    if (!options.generatorPty.empty()) {
        g->terminal = std::make_unique<vxk5sim::PseudoTerminal>(options.generatorPty);
        if (!g->terminal->ok()) {
            std::fprintf(stderr, "vxk5-sim: %s\n", g->terminal->error().c_str());
            ok = false;
            return nullptr;
        }
        g->server.serveTerminal(g->terminal->master());
    }
    return g;
}

void announceGenerator(const Generator& g, const vxk5sim::SimOptions& options) {
    if (!options.generatorHost.empty()) {
        std::printf("vxk5-sim: signal generator on TCPIP::%s::%d::SOCKET\n",
                    options.generatorHost.c_str(), g.server.port());
    }
    if (g.terminal) {
        std::printf("vxk5-sim: signal generator on ASRL%s::INSTR\n", g.terminal->link().c_str());
    }
    std::fflush(stdout);
}

enum class Step { Go, Stop, Fail };

// Milliseconds until the earlier of two due times (-1: none), for poll().
int waitFor(std::int64_t a, std::int64_t b) {
    const std::int64_t next = a < 0 ? b : (b < 0 ? a : std::min(a, b));
    return next < 0 ? -1 : static_cast<int>(std::max<std::int64_t>(0, next - monotonicMs()));
}

// Waits for the next byte due, bytes from the computer or the stop signal; takes what arrived.
Step serveOnce(vxk5sim::SimRadio& radio, vxk5sim::PseudoTerminal& pty, bool pending,
               Generator* generator) {
    std::vector<pollfd> fds = {
        {pty.master(), static_cast<short>(POLLIN | (pending ? POLLOUT : 0)), 0},
        {stopPipe[0], POLLIN, 0}};
    if (generator != nullptr) {
        const std::vector<pollfd> more = generator->server.pollFds();
        fds.insert(fds.end(), more.begin(), more.end());
    }
    const int timeout =
        waitFor(radio.nextTransmitMs(), generator != nullptr ? generator->server.nextDueMs() : -1);
    if (poll(fds.data(), fds.size(), timeout) < 0) {
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
    if (generator != nullptr) {
        generator->server.service(monotonicMs());
    }
    return Step::Go;
}

int serve(vxk5sim::SimRadio& radio, vxk5sim::PseudoTerminal& pty, Generator* generator) {
    std::vector<std::uint8_t> pending; // due bytes the terminal has not taken yet
    for (;;) {
        sendDue(radio, pty, pending);
        switch (serveOnce(radio, pty, !pending.empty(), generator)) {
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
    bool generatorOk = true;
    const std::unique_ptr<Generator> generator = startGenerator(options, generatorOk);
    if (!generatorOk) {
        return 1;
    }
    std::printf("%s\n", pty.path().c_str());
    std::fflush(stdout);

    vxk5sim::SimRadio radio(options.config);
    if (generator) {
        radio.attachGenerator(&generator->scpi);
    }
    if (generator && !options.quiet) {
        announceGenerator(*generator, options);
    }
    if (!options.quiet) {
        const auto trace = stampedTrace();
        radio.setTraceHandler(trace);
        if (generator) {
            generator->server.setTraceHandler(trace);
        }
    }
    const int status = serve(radio, pty, generator.get());

    pty.hangUp();
    if (!options.quiet) {
        std::printf("vxk5-sim: stopped\n");
    }
    return status;
}
