// SPDX-License-Identifier: GPL-3.0-or-later
// The utility over the real serial path against the paced simulated radio.
#include "bench/UtilityOnPty.h"

#include "bench/BenchApp.h"
#include "bench/Clock.h"
#include "ui/UiHooks.h"

#include <QKeySequence>
#include <QListWidget>
#include <QTest>

#include <fstream>
#include <iostream>

namespace vsk5bench {

namespace {

bool copyConstants(const std::string& to) {
    std::ifstream in(VSK5_SOURCE_DIR "/sim/Const.ini", std::ios::binary);
    std::ofstream out(to, std::ios::binary);
    out << in.rdbuf();
    return in.good() && out.good();
}

bool writeText(const std::string& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << text;
    return out.good();
}

} // namespace

UtilityOnPty::UtilityOnPty(BenchApp& app, const std::string& settings)
    : application(app), pty({}, lineLog) {
    ui::setMessageBoxHook([this](ui::BoxIcon, const std::string&, const std::string& text) {
        shown.push_back(text);
        std::cerr << "message box: " << text << std::endl;
        return 1;
    });
    const std::string here = folder();
    if (!dir.isValid() || !pty.ok() || !copyConstants(here + "Const.ini") ||
        !writeText(here + "VSK5ALN.ini", "[PORTS]\nCOM1=" + pty.devicePath() + "\n" + settings)) {
        return;
    }
    sessionLog.emplace(here + "logs");
    Utility::Places places;
    places.settingsFolder = here;
    places.userSettingsFolder = here + "user";
    places.constantsFile = here + "Const.ini";
    places.dataFolder = here;
    places.backupFolder = here + "backups";
    auto serial = std::make_unique<CountingSerialControl>(here + "VSK5ALN.ini");
    counted = serial.get();
    root = std::make_unique<Utility>(places, std::move(serial));
    pty.setHandOver([this](std::int64_t n) { return counted->handedAt(n); });
    watch = std::make_unique<WaitWatch>(root->door().console(), lineLog,
                                        [this] { return bytesHandedOver(); });
    started = root->startUp(); // the real 50 ms timer
    if (started) {
        root->window().show();
    }
}

UtilityOnPty::~UtilityOnPty() {
    watch.reset();
    root.reset();
    ui::setMessageBoxHook({});
}

QListWidget& UtilityOnPty::consoleList() {
    return root->window().lboConsole();
}

std::string UtilityOnPty::folder() const {
    return dir.path().toStdString() + "/";
}

std::int64_t UtilityOnPty::press(int row, int key, int modifiers) {
    QListWidget& list = consoleList();
    list.setCurrentRow(row);
    const std::int64_t at = nowNs();
    QTest::keyClick(&list, static_cast<Qt::Key>(key), Qt::KeyboardModifiers(modifiers));
    lineLog.mark("key " + QKeySequence(key | modifiers).toString().toStdString() + " on row " +
                     std::to_string(row),
                 at);
    return at;
}

bool UtilityOnPty::linkIdle() {
    if (root->door().seq().OpRunning() || root->door().model().msUntilDue() > 0 ||
        counted->bytesHandedOver() > lineLog.bytesRead() || pty.radio().pendingTransmit() > 0) {
        return false;
    }
    const auto& frames = lineLog.computerFrames();
    return frames.empty() || nowNs() >= frames.back().lineEndNs;
}

bool UtilityOnPty::settle(int timeoutMs) {
    return application.runUntil([this] { return linkIdle(); }, timeoutMs).has_value();
}

std::optional<std::int64_t> UtilityOnPty::drain() {
    const std::int64_t handed = bytesHandedOver();
    // The pseudo-terminal is read within moments; a second is plenty.
    if (!application.runUntil([&] { return lineLog.bytesRead() >= handed; }, 1000)) {
        return std::nullopt;
    }
    return handed;
}

} // namespace vsk5bench
