// SPDX-License-Identifier: GPL-3.0-or-later
// Option parsing of the vxk5-sim tool.
#include "sim/SimOptions.h"

#include <array>
#include <charconv>
#include <cstdlib>
#include <functional>
#include <sstream>

namespace vxk5sim {
namespace {

bool parseInt(const std::string& text, long min, long max, long& out) {
    long value = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last || text.empty() || value < min || value > max) {
        return false;
    }
    out = value;
    return true;
}

bool parseRate(const std::string& text, double& out) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !(value >= 0.0 && value <= 1.0)) {
        return false;
    }
    out = value;
    return true;
}

// "92,104,98" -> three numbers, each min..max.
bool parseTriple(const std::string& text, long min, long max, std::array<int, 3>& out) {
    std::stringstream in(text);
    std::string part;
    long values[3] = {0, 0, 0};
    int n = 0;
    while (std::getline(in, part, ',')) {
        if (n == 3 || !parseInt(part, min, max, values[n])) {
            return false;
        }
        ++n;
    }
    if (n != 3) {
        return false;
    }
    out = {static_cast<int>(values[0]), static_cast<int>(values[1]), static_cast<int>(values[2])};
    return true;
}

// "92,104,98" -> the optimum settings of T1, T2 and T3, each 0..255.
bool parseOptimum(const std::string& text, BandOptimum& out) {
    std::array<int, 3> settings{};
    if (!parseTriple(text, 0, 255, settings)) {
        return false;
    }
    out = {settings[0], settings[1], settings[2]};
    return true;
}

// "8" -> 8 for every band; "6,8,10" -> low, mid, high. Half widths 1..255 setting steps.
bool parseWidths(const std::string& text, std::array<int, 3>& out) {
    long single = 0;
    if (parseInt(text, 1, 255, single)) {
        out.fill(static_cast<int>(single));
        return true;
    }
    return parseTriple(text, 1, 255, out);
}

// "127.0.0.1:5025" -> host and port (1..65535; 0 lets the system choose).
bool parseAddress(const std::string& text, std::string& host, int& port) {
    const auto colon = text.rfind(':');
    long value = 0;
    if (colon == std::string::npos || colon == 0 ||
        !parseInt(text.substr(colon + 1), 0, 65535, value)) {
        return false;
    }
    host = text.substr(0, colon);
    port = static_cast<int>(value);
    return true;
}

struct Option {
    const char* name;
    const char* argument; // nullptr for a switch
    const char* help;
    std::function<bool(SimOptions&, const std::string&)> apply;
};

const std::vector<Option>& optionTable() {
    auto integer = [](long min, long max, auto setter) {
        return [=](SimOptions& o, const std::string& text) {
            long value = 0;
            if (!parseInt(text, min, max, value)) {
                return false;
            }
            setter(o, value);
            return true;
        };
    };
    auto band = [](int index) {
        return [=](SimOptions& o, const std::string& text) {
            return parseOptimum(text, o.config.bandOptimum[static_cast<std::size_t>(index)]);
        };
    };
    static const std::vector<Option> table{
        {"--help", nullptr, "show this text and exit",
         [](SimOptions& o, const std::string&) { return o.help = true; }},
        {"--link", "PATH", "also make a symlink PATH to the device (removed on exit)",
         [](SimOptions& o, const std::string& t) {
             o.linkPath = t;
             return !t.empty();
         }},
        {"--no-pace", nullptr, "hand out bytes at once instead of at 9600 bit/s",
         [](SimOptions& o, const std::string&) {
             o.config.pacing = false;
             return true;
         }},
        {"--answer-delay", "MS", "radio turnaround before each answer while pacing (default 2)",
         integer(0, 1000000,
                 [](SimOptions& o, long v) { o.config.answerDelayMs = static_cast<int>(v); })},
        {"--quiet", nullptr, "print only the device path, no trace lines",
         [](SimOptions& o, const std::string&) { return o.quiet = true; }},
        {"--temperature", "N", "raw temperature sensor reading 0..255 (default 173, about 25 C)",
         integer(0, 255,
                 [](SimOptions& o, long v) { o.config.temperature = static_cast<int>(v); })},
        {"--level", "N", "level input (LVIN) reading 0..255 (default 128)",
         integer(0, 255, [](SimOptions& o, long v) { o.config.level = static_cast<int>(v); })},
        {"--signal", "N", "detector reading 0..255 with the band-pass tuned (default 160)",
         integer(0, 255, [](SimOptions& o, long v) { o.config.signal = static_cast<int>(v); })},
        {"--volume", "N", "volume D/A 0..255 (default 128)",
         integer(0, 255, [](SimOptions& o, long v) { o.config.volume = static_cast<int>(v); })},
        {"--bpf-low", "T1,T2,T3", "band-pass optimum below 150 MHz (default 92,104,98)", band(0)},
        {"--bpf-mid", "T1,T2,T3", "band-pass optimum from 150 to 162 MHz (default 118,126,122)",
         band(1)},
        {"--bpf-high", "T1,T2,T3", "band-pass optimum from 162 MHz (default 148,140,152)", band(2)},
        {"--bpf-width", "W|L,M,H",
         "band-pass half width in steps 1..255, all bands or each (default 8)",
         [](SimOptions& o, const std::string& t) { return parseWidths(t, o.config.bandWidth); }},
        {"--detector-noise", "N", "detector readings wander by up to N counts 0..255 (default 0)",
         integer(0, 255,
                 [](SimOptions& o, long v) { o.config.detectorNoise = static_cast<int>(v); })},
        {"--detector-seed", "N", "seed of the detector noise (default 1)",
         integer(
             0, 4294967295L,
             [](SimOptions& o, long v) { o.config.detectorSeed = static_cast<std::uint32_t>(v); })},
        {"--wrong-model", nullptr, "identity answer with model code 73 52",
         [](SimOptions& o, const std::string&) { return o.config.wrongModel = true; }},
        {"--bad-sub", nullptr, "identity answer with sub code 01 01",
         [](SimOptions& o, const std::string&) { return o.config.badSubCode = true; }},
        {"--no-echo", nullptr, "the cable does not loop the computer's bytes back",
         [](SimOptions& o, const std::string&) { return o.config.noEcho = true; }},
        {"--no-answer", nullptr, "the radio never answers",
         [](SimOptions& o, const std::string&) { return o.config.noAnswer = true; }},
        {"--bad-checksum", "N", "clone-read record N (from 0) carries a wrong checksum",
         integer(0, 1000000,
                 [](SimOptions& o, long v) { o.config.badChecksumRecord = static_cast<int>(v); })},
        {"--silence-after", "N", "a clone read stops after N records, without its end frame",
         integer(
             0, 1000000,
             [](SimOptions& o, long v) { o.config.silenceAfterRecords = static_cast<int>(v); })},
        {"--garbage", nullptr, "stray bytes (never FE or FD) before every answer frame",
         [](SimOptions& o, const std::string&) { return o.config.garbage = true; }},
        {"--noise", "RATE", "chance 0..1 per byte of being corrupted or dropped on the way back",
         [](SimOptions& o, const std::string& t) { return parseRate(t, o.config.noiseRate); }},
        {"--seed", "N", "seed of the line noise (default 1)",
         integer(
             0, 4294967295L,
             [](SimOptions& o, long v) { o.config.noiseSeed = static_cast<std::uint32_t>(v); })},
        {"--refuse-write", nullptr, "a clone write ends with E6 01",
         [](SimOptions& o, const std::string&) { return o.config.refuseWrite = true; }},
        {"--stuck-cell", "ADDR",
         "the memory byte at ADDR (0..2047, e.g. 1968 = BPF Low T1) keeps "
         "its value whatever is written",
         integer(0, 2047, [](SimOptions& o, long v) { o.config.stuckCell = static_cast<int>(v); })},
        {"--generator", "HOST:PORT",
         "also serve a signal generator (SCPI) there; the radio's detector follows it",
         [](SimOptions& o, const std::string& t) {
             return parseAddress(t, o.generatorHost, o.generatorPort);
         }},
        {"--generator-pty", "PATH", "also serve the generator on a pseudo-terminal linked at PATH",
         [](SimOptions& o, const std::string& t) {
             o.generatorPty = t;
             return !t.empty();
         }},
        {"--generator-delay", "MS", "the generator holds every answer MS milliseconds",
         integer(
             0, 1000000,
             [](SimOptions& o, long v) { o.generatorFaults.answerDelayMs = static_cast<int>(v); })},
        {"--generator-drop-after", "N", "the generator closes the connection after N more lines",
         integer(0, 1000000,
                 [](SimOptions& o, long v) {
                     o.generatorFaults.dropAfterLines = static_cast<int>(v);
                 })},
        {"--generator-error", "TEXT",
         "the generator refuses every setting with this error, e.g. '-222,\"Data out of range\"'",
         [](SimOptions& o, const std::string& t) {
             o.generatorFaults.settingError = t;
             return !t.empty();
         }},
    };
    return table;
}

} // namespace

SimOptions parseSimOptions(const std::vector<std::string>& args) {
    SimOptions options;
    options.config.pacing = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool inlineValue = false;
        if (const auto eq = name.find('='); eq != std::string::npos && name.rfind("--", 0) == 0) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            inlineValue = true;
        }
        const Option* option = nullptr;
        for (const Option& candidate : optionTable()) {
            if (name == candidate.name) {
                option = &candidate;
            }
        }
        if (option == nullptr) {
            options.error = "unknown option " + args[i];
            return options;
        }
        if (option->argument != nullptr && !inlineValue) {
            if (i + 1 >= args.size()) {
                options.error = name + " needs " + option->argument;
                return options;
            }
            value = args[++i];
        } else if (option->argument == nullptr && inlineValue) {
            options.error = name + " takes no value";
            return options;
        }
        if (!option->apply(options, value)) {
            options.error = "bad value for " + name + ": " + value;
            return options;
        }
    }
    return options;
}

std::string simUsage(const std::string& program) {
    std::string text = "Usage: " + program +
                       " [options]\n"
                       "Simulated VX-K5 radio on a pseudo-terminal. The first line printed is the\n"
                       "device to open; then one line per exchange. Ends on Ctrl-C or SIGTERM.\n"
                       "With --generator a signal generator answers SCPI beside it.\n\n"
                       "Options:\n";
    for (const Option& option : optionTable()) {
        std::string left = std::string("  ") + option.name;
        if (option.argument != nullptr) {
            left += std::string(" ") + option.argument;
        }
        if (left.size() < 28) {
            left.resize(28, ' ');
        } else {
            left += "\n" + std::string(28, ' ');
        }
        text += left + option.help + "\n";
    }
    return text;
}

} // namespace vxk5sim
