// SPDX-License-Identifier: GPL-3.0-or-later
// The machine's description, from /proc, /etc/debian_version, uname and Qt.
#include "bench/MachineText.h"

#include <QtGlobal>

#include <sys/utsname.h>

#include <fstream>
#include <thread>

namespace vsk5bench {

namespace {

// The rest of the first line of `file` that starts with `key`, blanks and ':' skipped.
std::string field(const std::string& file, const std::string& key) {
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(key, 0) == 0) {
            const auto value = line.find_first_not_of(" \t:", key.size());
            return value == std::string::npos ? "" : line.substr(value);
        }
    }
    return "?";
}

std::string firstLine(const std::string& file) {
    std::ifstream in(file);
    std::string line;
    return std::getline(in, line) ? line : "?";
}

} // namespace

std::string machineText() {
    utsname system{};
    uname(&system);
    return std::to_string(std::thread::hardware_concurrency()) + " cores, " +
           field("/proc/cpuinfo", "model name") + ", " + field("/proc/meminfo", "MemTotal") +
           " RAM\nLinux " + system.release + ", Debian " + firstLine("/etc/debian_version") +
           ", Qt " + qVersion();
}

} // namespace vsk5bench
