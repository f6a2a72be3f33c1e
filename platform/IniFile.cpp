// SPDX-License-Identifier: GPL-3.0-or-later
// Reader and writer of the sectioned settings file. The file is small (a few dozen lines), so
// every call reads it whole (and looks at it through views, so that even a file of megabytes
// costs one copy per call); a write goes to a new file that is then renamed over the old one,
// so that a failed write never leaves a half-written settings file behind.
#include "platform/IniFile.h"

#include "platform/SessionLog.h"
#include "platform/WriteAccess.h"

#include <algorithm>
#include <cctype>
#include <deque>
#include <fstream>
#include <optional>
#include <string_view>
#include <vector>

namespace platform {
namespace {

// A line and the end it had: "\r\n", "\n", or "" for a last line without one. Each line keeps
// its own, so a file whose line ends are mixed comes back byte for byte. The lines are views
// into the text read (a file of megabytes is not copied line by line for every key); a line
// a write adds or replaces lives in `added`.
struct Line {
    std::string_view text;
    std::string_view end;
};

struct FileText {
    FileText() = default;
    FileText(const FileText&) = delete; // its lines look into its own text
    FileText& operator=(const FileText&) = delete;

    std::string text;
    std::vector<Line> lines;
    std::string_view newline = "\n"; // the file's own line end, for lines we add
    std::deque<std::string> added;
};

std::string_view trim(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

void load(const std::string& path, FileText& file) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : -1;
    // The settings are read key by key: one line for a run of reads of the same file.
    static std::string lastLogged;
    if (lcPlatform().isInfoEnabled() && path != lastLogged) {
        qCInfo(lcPlatform, "read %s (%lld bytes)", path.c_str(), static_cast<long long>(size));
        lastLogged = path;
    }
    if (size <= 0) {
        return;
    }
    file.text.resize(static_cast<std::size_t>(size));
    in.seekg(0);
    in.read(file.text.data(), size);
    file.text.resize(static_cast<std::size_t>(in.gcount()));
    const std::string_view text = file.text;
    if (text.find("\r\n") != std::string_view::npos) {
        file.newline = "\r\n";
    }
    file.lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos) {
            file.lines.push_back({text.substr(start), ""});
            break;
        }
        const bool crlf = lf > start && text[lf - 1] == '\r';
        file.lines.push_back(
            {text.substr(start, lf - start - (crlf ? 1 : 0)), crlf ? "\r\n" : "\n"});
        start = lf + 1;
    }
}

bool isComment(std::string_view trimmed) {
    return !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#');
}

// The section name of a header line such as "[OPTION]", or nothing for any other line.
std::optional<std::string_view> sectionName(std::string_view line) {
    const std::string_view trimmed = trim(line);
    if (trimmed.size() < 2 || trimmed.front() != '[') {
        return std::nullopt;
    }
    const auto close = trimmed.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return trim(trimmed.substr(1, close - 1));
}

// The key of a "key = value" line, or nothing for a comment or a line without '='.
std::optional<std::string_view> keyName(std::string_view line) {
    const std::string_view trimmed = trim(line);
    const auto equals = trimmed.find('=');
    if (isComment(trimmed) || equals == std::string_view::npos) {
        return std::nullopt;
    }
    return trim(trimmed.substr(0, equals));
}

std::string valueOf(std::string_view line) {
    std::string_view value = trim(line.substr(line.find('=') + 1));
    // A value written in matching quotes is read without them, as the system's reader does.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

struct Location {
    std::optional<std::size_t> sectionLine; // the header line of the section
    std::optional<std::size_t> keyLine;     // the line that holds the key
    std::size_t lastContentLine = 0;        // last non-blank line of the section
};

Location locate(const FileText& file, const std::string& section, const std::string& key) {
    Location where;
    bool inSection = false;
    for (std::size_t i = 0; i < file.lines.size(); ++i) {
        const std::string_view line = file.lines[i].text;
        if (const auto name = sectionName(line)) {
            if (where.sectionLine && inSection) {
                break; // a later section of the same name is not searched, as by the system
            }
            inSection = sameName(*name, section);
            if (inSection) {
                where.sectionLine = i;
                where.lastContentLine = i;
            }
            continue;
        }
        if (!inSection) {
            continue;
        }
        if (!trim(line).empty()) {
            where.lastContentLine = i;
        }
        const auto name = keyName(line);
        if (name && !where.keyLine && sameName(*name, key)) {
            where.keyLine = i;
        }
    }
    return where;
}

// key=value written into the file's lines: in place of the key's line, behind the last line
// of its section, or in a new section at the end.
void setEntry(FileText& file, const Location& where, const std::string& section,
              const std::string& entry) {
    const std::string_view line = file.added.emplace_back(entry);
    // A line added behind a last line without a line end gives that line the file's one.
    const auto behindLast = [&file]() -> std::string_view {
        if (!file.lines.empty() && file.lines.back().end.empty()) {
            file.lines.back().end = file.newline;
            return "";
        }
        return file.newline;
    };
    if (where.keyLine) {
        file.lines[*where.keyLine].text = line;
    } else if (where.sectionLine) {
        const std::size_t at = where.lastContentLine + 1;
        const std::string_view end = at == file.lines.size() ? behindLast() : file.newline;
        file.lines.insert(file.lines.begin() + static_cast<std::ptrdiff_t>(at), {line, end});
    } else {
        behindLast();
        file.lines.push_back({file.added.emplace_back("[" + section + "]"), file.newline});
        file.lines.push_back({line, file.newline});
    }
}

} // namespace

IniFile::IniFile(std::string path) : filePath(std::move(path)) {}

std::string IniFile::read(const std::string& section, const std::string& key,
                          const std::string& defaultValue) const {
    return Snapshot(filePath).read(section, key, defaultValue);
}

struct IniFile::Snapshot::Text {
    FileText file;
};

IniFile::Snapshot::Snapshot(const std::string& path) : text(std::make_unique<Text>()) {
    load(path, text->file);
}

IniFile::Snapshot::~Snapshot() = default;

std::string IniFile::Snapshot::read(const std::string& section, const std::string& key,
                                    const std::string& defaultValue) const {
    const Location where = locate(text->file, section, key);
    if (!where.keyLine) {
        return defaultValue;
    }
    return valueOf(text->file.lines[*where.keyLine].text);
}

bool IniFile::write(const std::string& section, const std::string& key,
                    const std::string& value) const {
    return write({{section, key, value}});
}

bool IniFile::write(const std::vector<Entry>& entries) const {
    // The rename below would replace a read-only file without a word, and root may write
    // anywhere: the bits decide first.
    if (!mayReplaceFile(filePath)) {
        return false;
    }
    FileText file;
    load(filePath, file);
    bool changed = false;
    for (const Entry& e : entries) {
        const Location where = locate(file, e.section, e.key);
        if (where.keyLine && valueOf(file.lines[*where.keyLine].text) == e.value) {
            continue; // the line stays as the technician wrote it
        }
        setEntry(file, where, e.section, e.key + "=" + e.value);
        changed = true;
    }
    if (!changed) {
        return true;
    }
    std::string text;
    text.reserve(file.text.size() + 64 * entries.size());
    for (const Line& line : file.lines) {
        text.append(line.text).append(line.end);
    }
    if (text == file.text) {
        return true; // the entries undid each other: the file stays as it is
    }
    return replaceFile(filePath, text);
}

} // namespace platform
