// SPDX-License-Identifier: GPL-3.0-or-later
// Idle processor time, resident memory and the settings save.
#include "bench/SystemFigures.h"

#include "bench/BenchApp.h"
#include "bench/Clock.h"
#include "bench/UtilityOnPty.h"
#include "model/TestChannels.h"

#include <sys/resource.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace vsk5bench {

namespace {

constexpr double IdleCpuLimitPercent = 0.5, MemoryLimitMb = 50, SaveLimitMs = 500;
constexpr int QuietTimeoutMs = 10000;
// A procedure's end may set off a little more work a tick or two later (a reload of the
// readouts); the line must have been quiet this long before the idle time is counted.
constexpr int RestMs = 300;

std::int64_t cpuNs() {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    const auto ns = [](const timeval& t) {
        return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 +
               static_cast<std::int64_t>(t.tv_usec) * 1000;
    };
    return ns(use.ru_utime) + ns(use.ru_stime);
}

// A field of /proc/self/status in kB ("VmRSS:     41236 kB"); -1 when it is not there.
long statusKb(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::stol(line.substr(field.size() + 1));
        }
    }
    return -1;
}

// Sections a settings file may carry for other programs or older versions, about `bytes` of
// them, each a header and twenty keys of some sixty characters.
std::string foreignSections(long bytes, int first) {
    std::ostringstream text;
    for (int s = first; text.tellp() < bytes; ++s) {
        text << "[Archive-" << s << "]\n";
        for (int k = 0; k < 20; ++k) {
            text << "Entry-" << k << "=Serial 0001, bench " << s << ", reading " << k * 37
                 << ", kept for the record\n";
        }
    }
    return text.str();
}

// A figure with a target of its own and no floor.
Figure limited(const std::string& name, const std::string& unit, double limit) {
    Figure f;
    f.name = name;
    f.unit = unit;
    f.limit = limit;
    return f;
}

} // namespace

Figure measureIdleCpu(UtilityOnPty& b, int seconds) {
    Figure f = limited("Idle CPU over " + std::to_string(seconds) + " s", "%", IdleCpuLimitPercent);
    if (!b.settle(QuietTimeoutMs)) {
        f.notes.push_back("the line did not come to rest");
        return f;
    }
    b.app().runFor(RestMs);
    b.settle(QuietTimeoutMs);
    const std::size_t framesBefore = b.log().computerFrames().size();
    const std::int64_t cpuBefore = cpuNs();
    const std::int64_t wallBefore = nowNs();
    b.app().runFor(seconds * 1000);
    const double cpu = static_cast<double>(cpuNs() - cpuBefore);
    const double wall = static_cast<double>(nowNs() - wallBefore);
    f.value = 100.0 * cpu / wall;
    char note[160];
    std::snprintf(note, sizeof note,
                  "connected, no key pressed: %.1f ms of processor time in %.1f s; "
                  "%zu frames on the line meanwhile",
                  cpu / 1e6, wall / 1e9, b.log().computerFrames().size() - framesBefore);
    f.notes.push_back(note);
    return f;
}

Figure measureResidentMemory() {
    const long rss = statusKb("VmRSS");
    const long peak = statusKb("VmHWM");
    Figure f = limited("Resident memory (VmRSS)", "MB", MemoryLimitMb);
    if (rss > 0) {
        f.value = static_cast<double>(rss) / 1024.0;
        f.notes.push_back("this process, connected, after the procedures (the simulated radio "
                          "and the line log included); peak VmHWM " +
                          std::to_string(peak / 1024) + " MB");
    }
    return f;
}

Figure measureSettingsSave(UtilityOnPty& b, long bytes) {
    const std::string file = b.utility().settings().ProfileToSave();
    std::ostringstream own;
    own << std::ifstream(file, std::ios::binary).rdbuf();
    // Half the foreign sections before the utility's own, half after: the keys it saves are
    // found neither first nor last.
    const std::string grown =
        foreignSections(bytes / 2, 0) + own.str() + "\n" + foreignSections(bytes / 2, 1'000'000);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << grown;
    const auto size = static_cast<double>(grown.size());

    const std::int64_t start = nowNs();
    b.utility().shutDown();
    const double ms = msBetween(start, nowNs());
    char label[64];
    std::snprintf(label, sizeof label, "Settings save (%.1f MB file)", size / 1048576.0);
    Figure f = limited(label, "ms", SaveLimitMs);
    f.value = ms;
    // The port and the release time, and four keys for each test channel.
    const int keys = 2 + 4 * TestChannels::Count;
    f.notes.push_back("Utility::shutDown(): the port closed, then frmMain::saveData saves " +
                      std::to_string(keys) + " keys of [OPTION]");
    std::ifstream after(file, std::ios::binary | std::ios::ate);
    f.notes.push_back("the file afterwards: " + std::to_string(after.tellg()) +
                      " bytes; this process's peak VmHWM now " +
                      std::to_string(statusKb("VmHWM") / 1024) + " MB");
    return f;
}

} // namespace vsk5bench
