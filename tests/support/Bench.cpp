// SPDX-License-Identifier: GPL-3.0-or-later
// The test bench: the whole utility built against the in-process simulated radio.
#include "tests/support/Bench.h"

#include "common/CommonRoutines.h"
#include "platform/TickCount.h"

#include <QDir>
#include <QPushButton>

#include <fstream>
#include <sstream>

namespace testsupport {

namespace {

std::string sampleConstants() {
    std::ifstream in(VSK5_SOURCE_DIR "/sim/Const.ini");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

Bench::Bench(const vxk5sim::SimConfig& config, const std::string& settings) {
    previousFolder = QDir::currentPath();
    dir.writeFile("Const.ini", sampleConstants());
    if (!settings.empty()) {
        dir.writeFile("VSK5ALN.ini", settings);
    }
    QDir::setCurrent(QString::fromStdString(dir.path()));
    auto serialControl = std::make_unique<SimSerialControl>(config);
    control = serialControl.get();
    Utility::Places places;
    places.settingsFolder = dir.path();
    places.backupFolder = dir.path() + "backups";
    root = std::make_unique<Utility>(places, std::move(serialControl));
    root->startUp(false); // the bench runs the ticks itself, on the test clock
}

Bench::~Bench() {
    root.reset();
    QDir::setCurrent(previousFolder);
}

void Bench::tick(int count) {
    for (int i = 0; i < count; ++i) {
        std::int64_t left = Utility::TickIntervalMs;
        // Between two timer ticks the program also runs when a wait falls due (its due timer)
        // and, with a paced radio, when bytes arrive (the port's receive event).
        for (;;) {
            const std::int64_t due = root->door().msUntilDue();
            const std::int64_t arrival = control->msUntilArrival();
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
                control->notifyReceived(); // the receive event runs the tick itself
            } else {
                root->tick();
            }
        }
        platform::TickCount::advanceTestClock(static_cast<std::int32_t>(left));
        root->tick();
    }
}

bool Bench::runUntil(const std::function<bool()>& done, int maxTicks) {
    for (int i = 0; i < maxTicks; ++i) {
        if (done()) {
            return true;
        }
        tick();
    }
    return done();
}

bool Bench::connect() {
    window().cmd00(0).click();
    // Connected once the items are loaded and every value has gone out to the radio.
    return runUntil([this] {
        if (!model().RigProp_EditEnabled() || seq().OpRunning()) {
            return false;
        }
        for (std::int16_t i = 0; i < console().ListCount(); ++i) {
            if (console().flgChanged(i)) {
                return false;
            }
        }
        return true;
    });
}

std::vector<Bytes> Bench::framesWritten() const {
    std::vector<Bytes> frames;
    Bytes frame;
    for (std::uint8_t b : control->written()) {
        frame.push_back(b);
        if (b == 0xFD) {
            frames.push_back(frame);
            frame.clear();
        }
    }
    return frames;
}

std::vector<std::string> Bench::e8Payloads() const {
    std::vector<std::string> payloads;
    for (const Bytes& frame : framesWritten()) {
        // FE FE EE EF E8 73 51 00 01 payload FD
        if (frame.size() >= 10 && frame[4] == 0xE8) {
            payloads.push_back(ByteStrToHex(Bytes(frame.begin() + 9, frame.end() - 1)));
        }
    }
    return payloads;
}

} // namespace testsupport
