// SPDX-License-Identifier: GPL-3.0-or-later
// The application object that watches the utility between events.
#include "bench/BenchApp.h"

#include "bench/Clock.h"

#include <QEventLoop>
#include <QTimer>

namespace vsk5bench {

BenchApp::BenchApp(int& argc, char** argv) : QApplication(argc, argv) {}

bool BenchApp::notify(QObject* receiver, QEvent* event) {
    ++depth;
    const bool handled = QApplication::notify(receiver, event);
    --depth;
    // Only between two whole events: inside one, the utility may be half way through a tick.
    if (depth == 0 && afterEvent) {
        afterEvent();
    }
    return handled;
}

std::optional<std::int64_t> BenchApp::runUntil(const std::function<bool()>& done, int timeoutMs) {
    if (done()) {
        return nowNs();
    }
    std::optional<std::int64_t> at;
    QEventLoop loop;
    afterEvent = [&] {
        if (!at && done()) {
            at = nowNs();
            loop.quit();
        }
    };
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    afterEvent = nullptr;
    return at;
}

void BenchApp::runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace vsk5bench
