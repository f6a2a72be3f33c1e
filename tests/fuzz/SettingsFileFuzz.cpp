// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the settings file reader and writer on any file content. A few writes of names
// and values the program could store (no line breaks, no blanks at either end, keys without
// '=' that do not start a comment or a section) go into the file, and after each:
//   - the key reads back exactly what was written;
//   - every other line of the file stands as it stood, line end included: the write replaced
//     the key's line, inserted one line into its section, or appended the section at the end
//     (giving a last line without a line end one), so no other key or section can read
//     differently.
// The parameters come from the input's end, the file's content is the rest (so a real
// settings file is a seed as it is).
#include "common/CommonRoutines.h"
#include "platform/IniFile.h"
#include "tests/fuzz/FuzzChecks.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using fuzzcheck::require;

namespace {

const std::string path = fuzzcheck::scratchFile("VSK5ALN.ini");

std::string fromAlphabet(FuzzedDataProvider& in, const char* alphabet, std::size_t maxLength) {
    const std::string chars = alphabet;
    std::string text(in.ConsumeIntegralInRange<std::size_t>(0, maxLength), ' ');
    for (char& c : text) {
        c = chars[in.ConsumeIntegralInRange<std::size_t>(0, chars.size() - 1)];
    }
    return text;
}

// A name the program could use: one of its own, or made of the characters its names use.
std::string nameOf(FuzzedDataProvider& in, const std::vector<std::string>& own,
                   const char* alphabet) {
    const std::size_t pick = in.ConsumeIntegralInRange<std::size_t>(0, own.size());
    if (pick < own.size()) {
        return own[pick];
    }
    std::string name = "k" + fromAlphabet(in, alphabet, 8);
    return name.back() == ' ' ? name + "x" : name;
}

std::string valueOf(FuzzedDataProvider& in) {
    const std::string value = trimBlanks(fromAlphabet(in, "0159-.aZ =;[]#\"'&H", 12));
    const bool quoted = value.size() >= 2 && value.front() == value.back() &&
                        (value.front() == '"' || value.front() == '\'');
    return quoted ? value + "0" : value;
}

std::string readAll() {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

struct Line {
    std::string text;
    std::string end; // "\r\n", "\n" or "" (a last line without one)
    bool operator==(const Line&) const = default;
};

std::vector<Line> linesOf(const std::string& text) {
    std::vector<Line> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t lf = text.find('\n', start);
        if (lf == std::string::npos) {
            lines.push_back({text.substr(start), ""});
            break;
        }
        const bool cr = lf > start && text[lf - 1] == '\r';
        lines.push_back({text.substr(start, lf - start - (cr ? 1 : 0)), cr ? "\r\n" : "\n"});
        start = lf + 1;
    }
    return lines;
}

std::string joined(const std::vector<Line>& lines) {
    std::string text;
    for (const Line& line : lines) {
        text += line.text + line.end;
    }
    return text;
}

// The file before and after a write: the same lines but for the key's own line, or the same
// bytes once the one line inserted (or the section appended) is taken out; a last line
// without a line end may have gained one.
bool onlyTheKeyChanged(const std::string& before, const std::string& after,
                       const std::string& entry, const std::string& header) {
    const std::vector<Line> old = linesOf(before);
    std::vector<Line> now = linesOf(after);
    if (now.size() == old.size()) {
        std::size_t differ = 0;
        for (std::size_t i = 0; i < now.size(); ++i) {
            if (!(now[i] == old[i])) {
                ++differ;
                if (now[i].text != entry || now[i].end != old[i].end) {
                    return false;
                }
            }
        }
        return differ <= 1;
    }
    const bool mayGain = !before.empty() && before.back() != '\n';
    const auto sameBytes = [&](const std::string& rest) {
        return rest == before || (mayGain && (rest == before + "\n" || rest == before + "\r\n"));
    };
    if (now.size() == old.size() + 2 && now[now.size() - 2].text == header &&
        now.back().text == entry) {
        return sameBytes(joined(std::vector<Line>(now.begin(), now.end() - 2)));
    }
    for (std::size_t at = 0; now.size() == old.size() + 1 && at < now.size(); ++at) {
        std::vector<Line> rest = now;
        rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(at));
        if (now[at].text == entry && sameBytes(joined(rest))) {
            return true;
        }
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    struct Write {
        std::string section, key, value;
    };
    std::vector<Write> writes(in.ConsumeIntegralInRange(1, 3));
    for (Write& w : writes) {
        w.section = nameOf(in, {"OPTION", "PORTS", "option"}, "AbZz09()-_. [;#");
        w.key = nameOf(in, {"ComPort", "MR-12(RF Power)", "COM1", "comport"}, "AbZz09()-_. [];#");
        w.value = valueOf(in);
    }
    const std::string content = in.ConsumeRemainingBytesAsString();
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;

    const platform::IniFile ini(path);
    for (const Write& w : writes) {
        const std::string before = readAll();
        require(ini.write(w.section, w.key, w.value), "a write to a writable file failed");
        require(ini.read(w.section, w.key, "\x01") == w.value, "a write does not read back");
        require(onlyTheKeyChanged(before, readAll(), w.key + "=" + w.value, "[" + w.section + "]"),
                "a write changed another line");
    }
    return 0;
}
