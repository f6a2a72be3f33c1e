// Reader and writer of the sectioned settings file. The file is small (a few dozen lines), so
// every call reads it whole; a write goes to a new file that is then renamed over the old one,
// so that a failed write never leaves a half-written settings file behind.
#include "platform/IniFile.h"

#include "platform/WriteAccess.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

namespace platform {
namespace {

// A line and the end it had: "\r\n", "\n", or "" for a last line without one. Each line keeps
// its own, so a file whose line ends are mixed comes back byte for byte.
struct Line {
    std::string text;
    std::string end;
};

struct FileText {
    std::vector<Line> lines;
    std::string newline = "\n"; // the file's own line end, for lines we add
};

std::string trim(const std::string& text) {
    const auto isBlank = [](unsigned char c) { return c == ' ' || c == '\t' || c == '\r'; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(static_cast<unsigned char>(text[first]))) {
        ++first;
    }
    while (last > first && isBlank(static_cast<unsigned char>(text[last - 1]))) {
        --last;
    }
    return text.substr(first, last - first);
}

bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

FileText load(const std::string& path) {
    FileText file;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return file;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();
    if (text.find("\r\n") != std::string::npos) {
        file.newline = "\r\n";
    }
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t lf = text.find('\n', start);
        if (lf == std::string::npos) {
            file.lines.push_back({text.substr(start), ""});
            break;
        }
        const bool crlf = lf > start && text[lf - 1] == '\r';
        file.lines.push_back(
            {text.substr(start, lf - start - (crlf ? 1 : 0)), crlf ? "\r\n" : "\n"});
        start = lf + 1;
    }
    return file;
}

bool isComment(const std::string& trimmed) {
    return !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#');
}

// The section name of a header line such as "[OPTION]", or nothing for any other line.
std::optional<std::string> sectionName(const std::string& line) {
    const std::string trimmed = trim(line);
    if (trimmed.size() < 2 || trimmed.front() != '[') {
        return std::nullopt;
    }
    const auto close = trimmed.find(']');
    if (close == std::string::npos) {
        return std::nullopt;
    }
    return trim(trimmed.substr(1, close - 1));
}

// The key of a "key = value" line, or nothing for a comment or a line without '='.
std::optional<std::string> keyName(const std::string& line) {
    const std::string trimmed = trim(line);
    const auto equals = trimmed.find('=');
    if (isComment(trimmed) || equals == std::string::npos) {
        return std::nullopt;
    }
    return trim(trimmed.substr(0, equals));
}

std::string valueOf(const std::string& line) {
    std::string value = trim(line.substr(line.find('=') + 1));
    // A value written in matching quotes is read without them, as the system's reader does.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
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
        const std::string& line = file.lines[i].text;
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

} // namespace

IniFile::IniFile(std::string path) : filePath(std::move(path)) {}

std::string IniFile::read(const std::string& section, const std::string& key,
                          const std::string& defaultValue) const {
    const FileText file = load(filePath);
    const Location where = locate(file, section, key);
    if (!where.keyLine) {
        return defaultValue;
    }
    return valueOf(file.lines[*where.keyLine].text);
}

bool IniFile::write(const std::string& section, const std::string& key,
                    const std::string& value) const {
    // The rename below would replace a read-only file without a word, and root may write
    // anywhere: the bits decide first.
    if (!mayReplaceFile(filePath)) {
        return false;
    }
    FileText file = load(filePath);
    const Location where = locate(file, section, key);
    if (where.keyLine && valueOf(file.lines[*where.keyLine].text) == value) {
        return true; // the line stays as the technician wrote it
    }
    const std::string entry = key + "=" + value;
    // A line added behind a last line without a line end gives that line the file's one.
    const auto behindLast = [&file] {
        if (!file.lines.empty() && file.lines.back().end.empty()) {
            file.lines.back().end = file.newline;
            return std::string();
        }
        return file.newline;
    };
    if (where.keyLine) {
        file.lines[*where.keyLine].text = entry;
    } else if (where.sectionLine) {
        const std::size_t at = where.lastContentLine + 1;
        const std::string end = at == file.lines.size() ? behindLast() : file.newline;
        file.lines.insert(file.lines.begin() + static_cast<std::ptrdiff_t>(at), {entry, end});
    } else {
        behindLast();
        file.lines.push_back({"[" + section + "]", file.newline});
        file.lines.push_back({entry, file.newline});
    }

    std::string text;
    for (const Line& line : file.lines) {
        text += line.text + line.end;
    }
    // Written beside the file, then renamed over it: a failed write leaves the old file whole.
    const std::string temporary = filePath + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out || !(out << text) || !out.flush()) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), filePath.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace platform
