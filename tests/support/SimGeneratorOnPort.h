// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated signal generator on a free local TCP port (and on a pseudo-terminal when given
// one), served from the test's own event loop, for a program that is given its resource name
// ("[INSTRUMENTS]\nGenerator=" + resource()) or a transport to its port. Waiting on it is
// waiting for a condition, bounded only against a hang.
#pragma once

#include "sim/SimGenerator.h"
#include "sim/SimGeneratorServer.h"

#include <QTimer>

#include <functional>
#include <string>

namespace testsupport {

class SimGeneratorOnPort {
  public:
    SimGeneratorOnPort();

    // "TCPIP::127.0.0.1::<port>::SOCKET"; empty when no port could be had.
    std::string resource() const;
    int port() const { return server.port(); }
    // Serves the generator on this terminal's master end as well.
    void serveTerminal(int masterFd) { server.serveTerminal(masterFd); }
    // Runs the event loop until done() holds; false when it did not within a minute.
    static bool waitFor(const std::function<bool()>& done);
    // As a pulled cable: every connection closed.
    void dropConnections() { server.dropConnections(); }

    vxk5sim::SimGenerator sim;

  private:
    vxk5sim::SimGeneratorServer server{sim};
    QTimer pump;
    bool listening = false;
};

} // namespace testsupport
