// SPDX-License-Identifier: GPL-3.0-or-later
// Puts the simulated generator on the wire: a TCP listener (SCPI over a raw socket, one line per
// command) and, for the serial path, the master of a pseudo-terminal. Nothing here waits: the
// caller's loop polls the descriptors pollFds() gives and calls service(), as vxk5-sim does,
// or a test calls service() from its own event loop.
//
//   vxk5sim::SimGenerator generator;
//   vxk5sim::SimGeneratorServer server(generator);
//   server.listen("127.0.0.1", 0);      // server.port() tells which port was free
//   for (;;) { poll(...server.pollFds()...); server.service(nowMs); }
#pragma once

#include "sim/SimGenerator.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <poll.h>
#include <string>
#include <vector>

namespace vxk5sim {

class SimGeneratorServer {
  public:
    explicit SimGeneratorServer(SimGenerator& generator);
    ~SimGeneratorServer();
    SimGeneratorServer(const SimGeneratorServer&) = delete;
    SimGeneratorServer& operator=(const SimGeneratorServer&) = delete;

    // Listens on host:port (port 0: any free port); false, with why in error(), otherwise.
    bool listen(const std::string& host, int port);
    int port() const { return boundPort; }
    const std::string& error() const { return problem; }
    // Also serves this pseudo-terminal master (not owned; it must outlive the server).
    void serveTerminal(int masterFd);

    // Every descriptor with something to wait for: listener, connections, the terminal.
    std::vector<pollfd> pollFds() const;
    // Accepts, reads and answers whatever is ready, and sends the held answers due by nowMs.
    void service(std::int64_t nowMs);
    // Milliseconds at which the next held answer is due; -1 when none is held.
    std::int64_t nextDueMs() const;
    // Closes every network connection, as a pulled cable would.
    void dropConnections();
    std::size_t connectionCount() const;
    // One readable line per command received and answer held ("generator: FREQ 145 MHz").
    void setTraceHandler(std::function<void(const std::string&)> handler) {
        traceHandler = std::move(handler);
    }

  private:
    struct Connection;

    void accept();
    void read(Connection& c, std::int64_t nowMs);
    void flush(Connection& c, std::int64_t nowMs);

    SimGenerator& generator;
    int listenFd = -1;
    int boundPort = 0;
    std::string problem;
    std::vector<std::unique_ptr<Connection>> connections;
    std::function<void(const std::string&)> traceHandler;
};

} // namespace vxk5sim
