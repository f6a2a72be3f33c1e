// SPDX-License-Identifier: GPL-3.0-or-later
// The window's bench.
#include "app/WindowBench.h"

#include "common/clsCmcProfileIO.h"
#include "model/RigDoor.h"
#include "ui/AlignPanel.h"
#include "ui/UiHooks.h"
#include "ui/frmInstruments.h"
#include "ui/frmMain.h"

#include <QAction>
#include <QEventLoop>
#include <QTimer>

#include <utility>

WindowBench::WindowBench(clsCmcProfileIO& settingsFile, frmMain& mainWindow, RigDoor& door)
    : profile(settingsFile), window(mainWindow), radio(door) {}

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
    const bool sameSettle = chosen.settleMs == bench.settleMs;
    const bool sameMaximum = chosen.generator.maximumLevelDbm == bench.generator.maximumLevelDbm;
    bench = chosen; // for this session, also when the file could not keep it
    if (!sameGenerator) {
        buildGenerator();
    } else if (!sameSettle && alignment) {
        buildRun(AlignmentPlan(alignment->plan()));
    }
    if (!sameMaximum && alignment) {
        openPlan(bench.plan); // its levels are checked against the new maximum
    }
}

void WindowBench::buildGenerator() {
    // The run holds the generator it was built with: it goes first.
    std::optional<AlignmentPlan> plan;
    if (alignment) {
        plan = alignment->plan();
        alignment.reset();
    }
    retire();
    generatorLost = false;
    startWhenConnected = nullptr;
    if (!bench.generator.resource.empty()) {
        std::string why;
        signalGenerator = instruments::BenchGenerator::create(bench.generator, why);
        if (signalGenerator) {
            listenToGenerator();
        } else {
            news.push_back({why});
        }
    }
    if (plan) {
        buildRun(*plan);
    }
}

void WindowBench::listenToGenerator() {
    instruments::ScpiInstrument& scpi = signalGenerator->instrument();
    connect(&scpi, &instruments::ScpiInstrument::connectionLost, this, [this](const QString& why) {
        generatorLost = true;
        startWhenConnected = nullptr;
        tell(why);
    });
    connect(&scpi, &instruments::ScpiInstrument::connected, this, [this] {
        if (auto start = std::exchange(startWhenConnected, nullptr);
            start && alignment && !alignment->running()) {
            start();
        }
    });
    connect(&signalGenerator->generator(), &instruments::SignalGenerator::refused, this,
            &WindowBench::tell);
}

// The generator given up switches its output off and goes once that has been answered (or its
// deadline has passed): it must not stay on, and nothing here waits for it.
void WindowBench::retire() {
    if (!signalGenerator || !signalGenerator->instrument().isConnected()) {
        signalGenerator.reset();
        return;
    }
    // What the old one says from now on is no news of the bench's generator.
    QObject::disconnect(&signalGenerator->instrument(), nullptr, this, nullptr);
    QObject::disconnect(&signalGenerator->generator(), nullptr, this, nullptr);
    retiring = std::move(signalGenerator);
    retiring->generator().switchOutputOff(); // what it drops fails before anything listens
    const auto goWhenIdle = [this] {
        // Not inside the instrument's own signal, and only once "OUTP OFF" has had its answer.
        QTimer::singleShot(0, this, [this] {
            if (retiring && retiring->instrument().idle()) {
                retiring.reset();
                emit retired();
            }
        });
    };
    instruments::ScpiInstrument& scpi = retiring->instrument();
    connect(&scpi, &instruments::ScpiInstrument::completed, this, goWhenIdle);
    connect(&scpi, &instruments::ScpiInstrument::failed, this, goWhenIdle);
    connect(&scpi, &instruments::ScpiInstrument::connectionLost, this, goWhenIdle);
}

void WindowBench::buildRun(const AlignmentPlan& plan) {
    alignment.reset();
    alignment = std::make_unique<AlignmentRun>(
        radio, plan, signalGenerator ? &signalGenerator->generator() : nullptr, bench.settleMs);
    connect(alignment.get(), &AlignmentRun::finished, this, &WindowBench::runEnded);
    connect(alignment.get(), &AlignmentRun::wantsTick, this, &WindowBench::wantsTick);
    if (guided) {
        guided->showRun(alignment.get(), bench.plan);
        guided->refresh(radio.curves());
    }
}

void WindowBench::tell(const QString& message) {
    news.push_back({message.toStdString()});
}

// A failure the model has told already (the procedure's, the link's) is not told twice: the
// run says "BPF-LOW: " and the first line of what the window showed.
void WindowBench::runEnded(bool completed, const QString& message) {
    const std::string text = message.toStdString();
    const std::string& told = window.lastMessage();
    const std::size_t named = text.find(": ");
    const std::string why = named == std::string::npos ? text : text.substr(named + 2);
    if (!completed && !told.empty() && (text.ends_with(told) || told.rfind(why, 0) == 0)) {
        return;
    }
    news.push_back({text, completed});
}

AlignPanel& WindowBench::panel() {
    if (!guided) {
        guided = new AlignPanel(&window);
        guided->showRun(alignment.get(), bench.plan);
        connect(guided, &AlignPanel::planChosen, this, &WindowBench::openPlan);
        connect(guided, &AlignPanel::stepWanted, this, [this](std::size_t step) {
            whenGeneratorUp([this, step] { alignment->startStep(step); });
        });
        connect(guided, &AlignPanel::automaticWanted, this,
                [this] { whenGeneratorUp([this] { alignment->runAutomatic(); }); });
        guided->placeBeside(window);
    }
    return *guided;
}

void WindowBench::showGuided() {
    AlignPanel& shown = panel();
    if (!alignment && !triedRememberedPlan && !bench.plan.empty()) {
        triedRememberedPlan = true;
        openPlan(bench.plan);
    }
    shown.refresh(radio.curves());
    shown.show();
    shown.raise();
    shown.activateWindow();
}

void WindowBench::runAutomatic() {
    showGuided();
    whenGeneratorUp([this] { alignment->runAutomatic(); });
}

void WindowBench::openPlan(const std::string& path) {
    if (alignment && alignment->running()) {
        return;
    }
    const PlanLoad load =
        loadAlignmentPlan(path, bench.generator.maximumLevelDbm, radio.channels());
    if (!load.plan) {
        MsgBoxProduct(load.error);
        return;
    }
    bench.plan = path;
    if (!bench_settings::save(profile, bench)) {
        MsgBoxProduct(profile.notSavedText());
    }
    buildRun(*load.plan);
}

// A generator whose connection was lost is connected again before the step, which starts once
// it stands; when it cannot be had, its message says why and nothing starts.
void WindowBench::whenGeneratorUp(std::function<void()> start) {
    if (!alignment || alignment->running()) {
        return;
    }
    if (!signalGenerator || !generatorLost) {
        start();
        return;
    }
    generatorLost = false;
    startWhenConnected = std::move(start);
    signalGenerator->instrument().connectToInstrument();
}

void WindowBench::tick() {
    if (alignment) {
        alignment->tick();
    }
    const bool busy = alignment && alignment->running();
    if (guided && guided->isVisible()) {
        guided->refresh(radio.curves());
    }
    // The run holds the generator and the settle time it was built with.
    window.mnuOptInstruments().setEnabled(!busy);
    window.mnuAlignAutomatic().setEnabled(!busy);
}

void WindowBench::switchOutputOff() {
    if (signalGenerator && signalGenerator->instrument().isConnected()) {
        signalGenerator->generator().switchOutputOff();
    }
}

void WindowBench::reportNews() {
    std::vector<News> now;
    now.swap(news);
    for (const News& item : now) {
        if (item.information) {
            InfoBoxProduct(item.text);
        } else {
            MsgBoxProduct(item.text);
        }
    }
}

void WindowBench::shutDown() {
    if (closed) {
        return;
    }
    closed = true;
    alignment.reset(); // a step under way switches the output off as it goes
    retire();
    if (!retiring) {
        return; // nothing was ever switched on through a connection that does not stand
    }
    QEventLoop loop;
    QTimer bound;
    bound.setSingleShot(true);
    connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(this, &WindowBench::retired, &loop, &QEventLoop::quit);
    // The command's own deadline ends it; the bound holds also where the instrument's clock
    // does not move with the event loop's.
    bound.start(retiring->instrument().timeout());
    loop.exec();
    retiring.reset();
}
