// SPDX-License-Identifier: GPL-3.0-or-later
// The benches' common machinery: the scratch folder, the ticks on the test clock, the wire.
#include "tests/support/SimBench.h"

#include "common/CommonRoutines.h"
#include "platform/TickCount.h"

#include <QDir>

#include <filesystem>

namespace testsupport {

constexpr std::int64_t TickIntervalMs = 50; // the program's timer

SimBench::SimBench(const vxk5sim::SimConfig& config, const std::string& settings)
    : line(std::make_unique<SimSerialControl>(config)), control(line.get()) {
    previousFolder = QDir::currentPath();
    std::filesystem::copy_file(VSK5_SOURCE_DIR "/sim/Const.ini", dir.file("Const.ini"));
    if (!settings.empty()) {
        dir.writeFile("VSK5ALN.ini", settings);
    }
    QDir::setCurrent(QString::fromStdString(dir.path()));
}

SimBench::~SimBench() {
    QDir::setCurrent(previousFolder);
}

void SimBench::tick(int count) {
    for (int i = 0; i < count; ++i) {
        tickOnTestClock(
            *control, [this] { return door().msUntilDue(); }, [this] { runTick(); });
    }
}

void SimBench::tickOnTestClock(SimSerialControl& line,
                               const std::function<std::int32_t()>& msUntilDue,
                               const std::function<void()>& runTick) {
    std::int64_t left = TickIntervalMs;
    // Between two timer ticks the program also runs when a wait falls due (its due timer)
    // and, with a paced radio, when bytes arrive (the port's receive event).
    for (;;) {
        const std::int64_t due = msUntilDue();
        const std::int64_t arrival = line.msUntilArrival();
        std::int64_t next = left;
        for (const std::int64_t t : {due, arrival}) {
            if (t > 0 && t < next) {
                next = t;
            }
        }
        if (next >= left) {
            break;
        }
        platform::TickCount::advanceTestClock(static_cast<std::int32_t>(next));
        left -= next;
        if (next == arrival) {
            line.notifyReceived(); // the receive event runs the tick itself
        } else {
            runTick();
        }
    }
    platform::TickCount::advanceTestClock(static_cast<std::int32_t>(left));
    runTick();
}

bool SimBench::runUntil(const std::function<bool()>& done, int maxTicks) {
    for (int i = 0; i < maxTicks; ++i) {
        if (done()) {
            return true;
        }
        tick();
    }
    return done();
}

bool SimBench::connect() {
    door().click(RigDoor::Connect);
    // Connected once the items are loaded and every value has gone out to the radio.
    return runUntil([this] { return door().editEnabled(); }) && allSent();
}

bool SimBench::allSent() {
    return runUntil([this] {
        for (std::int16_t i = 0; i < console().ListCount(); ++i) {
            if (console().flgChanged(i)) {
                return false;
            }
        }
        return !seq().OpRunning();
    });
}

std::vector<std::string> SimBench::e8Payloads() const {
    std::vector<std::string> payloads;
    for (const SimSerialControl::Write& write : control->writes()) { // a whole frame each
        const Bytes& frame = write.bytes;
        // FE FE EE EF E8 73 51 00 01 payload FD
        if (frame.size() >= 10 && frame[4] == 0xE8) {
            payloads.push_back(ByteStrToHex(Bytes(frame.begin() + 9, frame.end() - 1)));
        }
    }
    return payloads;
}

} // namespace testsupport
