// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated generator's socket and terminal service.
#include "sim/SimGeneratorServer.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <deque>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vxk5sim {

struct SimGeneratorServer::Connection {
    struct Held {
        std::int64_t dueMs;
        std::string bytes;
    };
    int fd = -1;
    bool owned = true; // a terminal's master belongs to its PseudoTerminal
    bool closed = false;
    std::string input;
    std::deque<Held> held; // answers waiting for their time
    std::string output;    // due bytes the descriptor has not taken yet
};

namespace {

// A command line longer than this is no SCPI a generator takes; it is dropped unread.
constexpr std::size_t kLongestLine = 4096;

} // namespace

SimGeneratorServer::SimGeneratorServer(SimGenerator& g) : generator(g) {}

SimGeneratorServer::~SimGeneratorServer() {
    dropConnections();
    for (auto& c : connections) {
        c->closed = true; // terminals: not owned, not closed here
    }
    if (listenFd >= 0) {
        ::close(listenFd);
    }
}

bool SimGeneratorServer::listen(const std::string& host, int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1) {
        problem = "not an IPv4 address: " + host;
        return false;
    }
    listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    const int yes = 1;
    setsockopt(listenFd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    socklen_t length = sizeof address;
    if (listenFd < 0 || ::bind(listenFd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listenFd, 4) != 0 ||
        getsockname(listenFd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        problem =
            "cannot listen on " + host + ":" + std::to_string(port) + ": " + std::strerror(errno);
        return false;
    }
    boundPort = ntohs(address.sin_port);
    return true;
}

void SimGeneratorServer::serveTerminal(int masterFd) {
    auto c = std::make_unique<Connection>();
    c->fd = masterFd;
    c->owned = false;
    connections.push_back(std::move(c));
}

std::vector<pollfd> SimGeneratorServer::pollFds() const {
    std::vector<pollfd> fds;
    if (listenFd >= 0) {
        fds.push_back({listenFd, POLLIN, 0});
    }
    for (const auto& c : connections) {
        const short events = static_cast<short>(POLLIN | (c->output.empty() ? 0 : POLLOUT));
        fds.push_back({c->fd, events, 0});
    }
    return fds;
}

void SimGeneratorServer::service(std::int64_t nowMs) {
    accept();
    for (auto& c : connections) {
        read(*c, nowMs);
        flush(*c, nowMs);
    }
    std::erase_if(connections, [](const auto& c) { return c->closed; });
}

std::int64_t SimGeneratorServer::nextDueMs() const {
    std::int64_t next = -1;
    for (const auto& c : connections) {
        if (!c->held.empty() && (next < 0 || c->held.front().dueMs < next)) {
            next = c->held.front().dueMs;
        }
    }
    return next;
}

void SimGeneratorServer::dropConnections() {
    for (auto& c : connections) {
        if (c->owned && !c->closed) {
            ::close(c->fd);
            c->closed = true;
        }
    }
    std::erase_if(connections, [](const auto& c) { return c->closed; });
}

std::size_t SimGeneratorServer::connectionCount() const {
    return static_cast<std::size_t>(std::count_if(connections.begin(), connections.end(),
                                                  [](const auto& c) { return c->owned; }));
}

void SimGeneratorServer::accept() {
    for (int fd = -1; listenFd >= 0 && (fd = ::accept4(listenFd, nullptr, nullptr,
                                                       SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0;) {
        auto c = std::make_unique<Connection>();
        c->fd = fd;
        connections.push_back(std::move(c));
    }
}

void SimGeneratorServer::read(Connection& c, std::int64_t nowMs) {
    char buffer[1024];
    ssize_t n = 0;
    while (!c.closed && (n = ::read(c.fd, buffer, sizeof buffer)) > 0) {
        c.input.append(buffer, static_cast<std::size_t>(n));
        for (auto end = c.input.find('\n'); end != std::string::npos; end = c.input.find('\n')) {
            const std::string line = c.input.substr(0, end);
            c.input.erase(0, end + 1);
            const SimGenerator::Reply reply = generator.handle(line);
            if (traceHandler) {
                traceHandler("generator: " + line +
                             (reply.kind == SimGenerator::Reply::Kind::Answer ? " -> " + reply.text
                              : reply.kind == SimGenerator::Reply::Kind::Drop
                                  ? " [connection dropped]"
                                  : ""));
            }
            if (reply.kind == SimGenerator::Reply::Kind::Drop && c.owned) {
                ::close(c.fd);
                c.closed = true;
                return;
            }
            if (reply.kind == SimGenerator::Reply::Kind::Answer) {
                c.held.push_back({nowMs + generator.faults().answerDelayMs, reply.text + "\n"});
            }
        }
        if (c.input.size() > kLongestLine) {
            c.input.clear();
        }
    }
    // The far end closed the socket (a terminal's master reads EIO while no port holds it).
    if (!c.closed && c.owned && (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR))) {
        ::close(c.fd);
        c.closed = true;
    }
}

void SimGeneratorServer::flush(Connection& c, std::int64_t nowMs) {
    while (!c.closed && !c.held.empty() && c.held.front().dueMs <= nowMs) {
        c.output += c.held.front().bytes;
        c.held.pop_front();
    }
    while (!c.closed && !c.output.empty()) {
        // A socket whose far end has gone must not raise SIGPIPE in a test's process.
        const ssize_t n = c.owned ? ::send(c.fd, c.output.data(), c.output.size(), MSG_NOSIGNAL)
                                  : ::write(c.fd, c.output.data(), c.output.size());
        if (n <= 0) {
            return; // full for now: POLLOUT brings it back
        }
        c.output.erase(0, static_cast<std::size_t>(n));
    }
}

} // namespace vxk5sim
