// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated signal generator on a free local TCP port, served from the test's own event
// loop, for a program that is given its resource name ("[INSTRUMENTS]\nGenerator=" +
// resource()). Waiting on it is waiting for a condition, bounded only against a hang.
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
