// SPDX-License-Identifier: GPL-3.0-or-later
// The bench's application object: a QApplication that looks at the utility after every event
// it has delivered, so that a condition (the console loaded, a procedure at its end) is seen
// the moment the event that made it true is done: no polling, and no timer of the bench's
// own ticking beside the utility's.
//
//   const auto at = app.runUntil([&] { return model.adjStepNow() == 0; }, 60000);
//   if (at) ... *at is the moment (nowNs) it first held
#pragma once

#include <QApplication>

#include <cstdint>
#include <functional>
#include <optional>

namespace vsk5bench {

class BenchApp : public QApplication {
  public:
    BenchApp(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Runs the event loop until done() holds (looked at once at the start and after every
    // event) or timeoutMs have passed. The moment it first held, or nothing.
    std::optional<std::int64_t> runUntil(const std::function<bool()>& done, int timeoutMs);
    // Runs the event loop for this long, looking at nothing.
    void runFor(int ms);

  private:
    int depth = 0; // events delivered inside the delivery of another
    std::function<void()> afterEvent;
};

} // namespace vsk5bench
