// SPDX-License-Identifier: GPL-3.0-or-later
// The window's bench.
#include "app/WindowBench.h"

#include "common/clsCmcProfileIO.h"
#include "ui/UiHooks.h"
#include "ui/frmInstruments.h"
#include "ui/frmMain.h"

#include <QEventLoop>
#include <QTimer>

// The dialog's fields take what the settings file keeps, no more.
static_assert(frmInstruments::LongestSettleMs == BenchSettings::LongestSettleMs);
static_assert(frmInstruments::LowestMaximumDbm == BenchSettings::LowestMaximumDbm);
static_assert(frmInstruments::HighestMaximumDbm == BenchSettings::HighestMaximumDbm);

WindowBench::WindowBench(clsCmcProfileIO& settingsFile, frmMain& mainWindow)
    : profile(settingsFile), window(mainWindow) {}

WindowBench::~WindowBench() {
    shutDown();
}

void WindowBench::load() {
    bench = bench_settings::load(profile);
    buildGenerator();
}

void WindowBench::chooseInstruments() {
    frmInstruments dialog({bench.generator, bench.settleMs}, &window);
    if (ui::execModal(dialog) != QDialog::Accepted) {
        return;
    }
    const frmInstruments::Choice choice = dialog.choice();
    BenchSettings chosen = bench;
    chosen.generator = choice.generator;
    chosen.settleMs = choice.settleMs;
    if (!bench_settings::save(profile, chosen)) {
        MsgBoxProduct(profile.notSavedText());
    }
    const bool sameGenerator = chosen.generator.resource == bench.generator.resource &&
                               chosen.generator.profile == bench.generator.profile &&
                               chosen.generator.maximumLevelDbm == bench.generator.maximumLevelDbm;
    bench = chosen; // for this session, also when the file could not keep it
    if (!sameGenerator) {
        switchOutputOff(); // the old one may be connected still; it must not stay on
        buildGenerator();
    }
}

void WindowBench::buildGenerator() {
    signalGenerator.reset();
    if (bench.generator.resource.empty()) {
        return;
    }
    std::string why;
    signalGenerator = instruments::BenchGenerator::create(bench.generator, why);
    if (!signalGenerator) {
        news.push_back(why);
        return;
    }
    connect(&signalGenerator->instrument(), &instruments::ScpiInstrument::connectionLost, this,
            &WindowBench::tell);
    connect(&signalGenerator->generator(), &instruments::SignalGenerator::refused, this,
            &WindowBench::tell);
}

void WindowBench::tell(const QString& message) {
    news.push_back(message.toStdString());
}

void WindowBench::switchOutputOff() {
    if (signalGenerator && signalGenerator->instrument().isConnected()) {
        signalGenerator->generator().switchOutputOff();
    }
}

void WindowBench::reportNews() {
    std::vector<std::string> now;
    now.swap(news);
    for (const std::string& message : now) {
        MsgBoxProduct(message);
    }
}

void WindowBench::shutDown() {
    if (closed) {
        return;
    }
    closed = true;
    if (!signalGenerator || !signalGenerator->instrument().isConnected()) {
        return; // nothing was ever switched on through a connection that does not stand
    }
    instruments::ScpiInstrument& scpi = signalGenerator->instrument();
    QEventLoop loop;
    QTimer bound;
    bound.setSingleShot(true);
    connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);
    const auto quitWhenIdle = [&] {
        if (scpi.idle()) {
            loop.quit();
        }
    };
    connect(&scpi, &instruments::ScpiInstrument::completed, &loop, quitWhenIdle);
    connect(&scpi, &instruments::ScpiInstrument::failed, &loop, quitWhenIdle);
    connect(&scpi, &instruments::ScpiInstrument::connectionLost, &loop, &QEventLoop::quit);
    signalGenerator->generator().switchOutputOff();
    // The command's own deadline ends it; the bound holds also where the instrument's clock
    // does not move with the event loop's.
    bound.start(scpi.timeout());
    loop.exec();
    signalGenerator.reset();
}
