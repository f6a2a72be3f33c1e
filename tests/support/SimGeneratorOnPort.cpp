// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated generator served from the event loop.
#include "tests/support/SimGeneratorOnPort.h"

#include <QTest>

#include <chrono>

namespace testsupport {

SimGeneratorOnPort::SimGeneratorOnPort() {
    listening = server.listen("127.0.0.1", 0);
    QObject::connect(&pump, &QTimer::timeout, [this] {
        using namespace std::chrono;
        server.service(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    });
    pump.start(1);
}

std::string SimGeneratorOnPort::resource() const {
    return listening ? "TCPIP::127.0.0.1::" + std::to_string(server.port()) + "::SOCKET" : "";
}

bool SimGeneratorOnPort::waitFor(const std::function<bool()>& done) {
    return QTest::qWaitFor(done, 60000); // only a hung test waits this long
}

} // namespace testsupport
