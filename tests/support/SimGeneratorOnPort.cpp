// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated generator served from the event loop.
#include "tests/support/SimGeneratorOnPort.h"

#include <QTest>

#include <chrono>

namespace testsupport {
namespace {

constexpr int HangMs = 60000; // only a hung test waits this long

std::int64_t realMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

SimGeneratorOnPort::SimGeneratorOnPort() {
    listening = server.listen("127.0.0.1", 0);
    QObject::connect(&pump, &QTimer::timeout, [this] { server.service(realMs()); });
    pump.start(1);
}

std::string SimGeneratorOnPort::resource() const {
    return listening ? "TCPIP::127.0.0.1::" + std::to_string(server.port()) + "::SOCKET" : "";
}

bool SimGeneratorOnPort::waitFor(const std::function<bool()>& done) {
    return QTest::qWaitFor(done, HangMs);
}

} // namespace testsupport
