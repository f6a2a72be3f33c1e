// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up to the first window, in a child process.
#include "bench/FirstWindow.h"

#include "app/start.h"
#include "bench/Clock.h"
#include "common/Product.h"
#include "ui/UiHooks.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <vector>

namespace vsk5bench {

namespace {

constexpr double FirstWindowLimitMs = 100;
// A window that never paints (a platform without one) must not hold the bench up.
constexpr int ChildLimitMs = 20000;

// The first paint event of the main window: its moment, then the window closed.
class FirstPaint : public QObject {
  public:
    std::int64_t atNs = 0;
    long rssKb = -1;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = dynamic_cast<frmMain*>(watched);
        if (atNs == 0 && window != nullptr && event->type() == QEvent::Paint) {
            atNs = nowNs();
            rssKb = residentKb();
            QTimer::singleShot(0, window, &QWidget::close);
        }
        return false;
    }

  private:
    static long residentKb() {
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("VmRSS:", 0) == 0) {
                return std::stol(line.substr(6));
            }
        }
        return -1;
    }
};

struct ChildTimes {
    std::int64_t spawnNs = 0, mainNs = 0, appNs = 0, startNs = 0, paintNs = 0;
    long rssKb = -1;
};

std::optional<ChildTimes> runChild(const std::string& folder) {
    QProcess child;
    ChildTimes t;
    t.spawnNs = nowNs();
    child.start(QCoreApplication::applicationFilePath(),
                {"--first-window", QString::fromStdString(folder)});
    if (!child.waitForFinished(ChildLimitMs + 10000) || child.exitCode() != 0) {
        std::cerr << child.readAllStandardError().toStdString();
        return std::nullopt;
    }
    const std::string out = child.readAllStandardOutput().toStdString();
    if (std::sscanf(out.c_str(),
                    "first-window main=%" SCNd64 " app=%" SCNd64 " start=%" SCNd64 " paint=%" SCNd64
                    " rss=%ld",
                    &t.mainNs, &t.appNs, &t.startNs, &t.paintNs, &t.rssKb) != 5) {
        return std::nullopt;
    }
    return t;
}

} // namespace

int firstWindowChild(int argc, char** argv, const std::string& folder, std::int64_t mainNs) {
    // As vsk5-aln's main: the name first, so that Qt names the per-user folders after it.
    QApplication::setApplicationName(product::ShortName);
    QApplication app(argc, argv);
    const std::int64_t appNs = nowNs();
    ui::setMessageBoxHook([](ui::BoxIcon, const std::string&, const std::string& text) {
        std::cerr << "message box: " << text << std::endl;
        return 1;
    });
    FirstPaint paint;
    app.installEventFilter(&paint);
    QTimer::singleShot(ChildLimitMs, [] { QCoreApplication::exit(2); });
    StartupPlaces places;
    places.lockFolder = folder;
    places.logFolder = folder + "logs"; // the program's start writes its session log too
    places.utility.settingsFolder = folder;
    places.utility.userSettingsFolder = folder + "user";
    places.utility.constantsFile = folder + "Const.ini";
    places.utility.dataFolder = folder;
    places.utility.backupFolder = folder + "backups";
    const std::int64_t startNs = nowNs();
    runUtility(places);
    std::printf("first-window main=%" PRId64 " app=%" PRId64 " start=%" PRId64 " paint=%" PRId64
                " rss=%ld\n",
                mainNs, appNs, startNs, paint.atNs, paint.rssKb);
    return paint.atNs != 0 ? 0 : 1;
}

Figure measureFirstWindow(int runs) {
    Figure f{"First window", "ms", {}, {}, {}, FirstWindowLimitMs, {}};
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    std::ofstream(folder + "Const.ini", std::ios::binary)
        << std::ifstream(VSK5_SOURCE_DIR "/sim/Const.ini", std::ios::binary).rdbuf();
    std::vector<ChildTimes> done;
    for (int i = 0; i < runs; ++i) {
        if (const auto t = runChild(folder)) {
            done.push_back(*t);
        }
    }
    if (done.size() != static_cast<std::size_t>(runs) || runs == 0) {
        f.notes.push_back("the child did not show its window");
        return f;
    }
    std::sort(done.begin(), done.end(), [](const ChildTimes& a, const ChildTimes& b) {
        return a.paintNs - a.spawnNs < b.paintNs - b.spawnNs;
    });
    const ChildTimes& t = done[done.size() / 2];
    f.value = msBetween(t.spawnNs, t.paintNs);
    char note[200];
    std::snprintf(note, sizeof note,
                  "median of %d starts, process start -> first paint of the main window "
                  "(fastest %.1f, slowest %.1f)",
                  runs, msBetween(done.front().spawnNs, done.front().paintNs),
                  msBetween(done.back().spawnNs, done.back().paintNs));
    f.notes.push_back(note);
    std::snprintf(note, sizeof note,
                  "of which: to main() %.1f, QApplication %.1f, runUtility -> first paint %.1f ms;"
                  " VmRSS then %.1f MB",
                  msBetween(t.spawnNs, t.mainNs), msBetween(t.mainNs, t.appNs),
                  msBetween(t.startNs, t.paintNs), static_cast<double>(t.rssKb) / 1024.0);
    f.notes.push_back(note);
    return f;
}

} // namespace vsk5bench
