// SPDX-License-Identifier: GPL-3.0-or-later
// The whole utility as the program builds it (the composition root Utility, the real
// QtSerialControl over QSerialPort, the 50 ms QTimer, the system clock), its COM 1 mapped to
// the paced simulated radio on a pseudo-terminal, in a scratch folder of its own that holds its
// settings file, the sample Const.ini and its backups. The serial control is handed in counted
// (CountingSerialControl), the console's events pass the wait watch (WaitWatch); both pass
// everything on unchanged. Its window is shown (on the offscreen platform unless the
// caller chose another); message boxes are noted and printed instead of shown, since nobody is
// there to close them.
//
//   UtilityOnPty bench(app, "[OPTION]\nMR-1(Appear)=1\n");
//   bench.utility().window().cmd00(0).click();                 // Connect
//   app.runUntil([&] { return bench.utility().door().editEnabled(); }, 60000);
#pragma once

#include "app/Utility.h"
#include "bench/CountingSerialControl.h"
#include "bench/LineLog.h"
#include "bench/PacedPty.h"
#include "bench/WaitWatch.h"
#include "platform/SessionLog.h"

#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QListWidget;

namespace vsk5bench {

class BenchApp;

class UtilityOnPty {
  public:
    // settings: more of the settings file, after its [PORTS] section.
    UtilityOnPty(BenchApp& app, const std::string& settings);
    ~UtilityOnPty();
    UtilityOnPty(const UtilityOnPty&) = delete;
    UtilityOnPty& operator=(const UtilityOnPty&) = delete;

    // False when no pseudo-terminal or scratch folder could be had, or the start-up failed.
    bool ok() const { return started; }
    BenchApp& app() { return application; }
    Utility& utility() { return *root; }
    LineLog& log() { return lineLog; }
    PacedPty& line() { return pty; }
    QListWidget& consoleList();
    // The scratch folder, with a separator at its end.
    std::string folder() const;
    const std::vector<std::string>& messages() const { return shown; }

    // The key on console row `row`, as the technician presses it; the moment just before.
    std::int64_t press(int row, int key, int modifiers = 0);
    // No exchange open, no wait of the model running, and the line quiet: every byte handed
    // to the port has crossed it and the radio has nothing more to send.
    bool linkIdle();
    // Runs until linkIdle(); false when it did not come within timeoutMs.
    bool settle(int timeoutMs);
    // The computer's bytes the utility has handed to the port so far.
    std::int64_t bytesHandedOver() const { return counted->bytesHandedOver(); }
    // When the utility handed this frame to the port.
    std::int64_t handedAt(const ComputerFrame& frame) const { return frame.handedNs; }
    // Right after the end of a piece of work was seen: the count of the bytes handed over by
    // then, once they have all come off the pseudo-terminal (and are in the log).
    std::optional<std::int64_t> drain();

  private:
    BenchApp& application;
    QTemporaryDir dir;
    LineLog lineLog;
    PacedPty pty;
    std::vector<std::string> shown;
    CountingSerialControl* counted = nullptr;       // owned by the utility
    std::optional<platform::SessionLog> sessionLog; // as the program keeps one, and at its cost
    std::unique_ptr<Utility> root;
    std::unique_ptr<WaitWatch> watch;
    bool started = false;
};

} // namespace vsk5bench
