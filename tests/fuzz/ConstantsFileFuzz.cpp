// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the constants file reader on any file content. The file is accepted exactly when
// its first line, blanks trimmed, names this product and 21 lines follow, each a finite number;
// then every constant is the number its line holds. A file refused at its first line changes
// nothing. A line that is a plain decimal (or "&H" hexadecimal) number reads as that number,
// and no line ever reads as infinity or not-a-number.
#include "model/TxfTable.h"
#include "tests/fuzz/FuzzChecks.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

using fuzzcheck::require;

namespace {

// The lines as a line reader hands them: split at LF, one CR before it dropped.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t lf = text.find('\n', start);
        std::string line = text.substr(start, lf == std::string::npos ? lf : lf - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
        start = lf == std::string::npos ? text.size() : lf + 1;
    }
    return lines;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? ""
                                      : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// What a line must read as when it is a plain number once its blanks are gone.
void checkLine(const std::string& line, const std::optional<float>& value) {
    require(!value || std::isfinite(*value), "a constant read as infinity or not-a-number");
    std::string text;
    for (char c : line) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
            text += c;
        }
    }
    static const std::regex decimal("[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]{1,4})?");
    static const std::regex hex("&[Hh]([0-9A-Fa-f]{1,8})");
    std::smatch match;
    if (text.size() < 40 && std::regex_match(text, decimal)) {
        const auto expected = static_cast<float>(std::strtod(text.c_str(), nullptr));
        require(std::isfinite(expected) ? value && *value == expected : !value,
                "a decimal constant read wrong");
    } else if (std::regex_match(text, match, hex)) {
        const auto expected = static_cast<float>(std::stoul(match[1].str(), nullptr, 16));
        require(value && *value == expected, "a hexadecimal constant read wrong");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = fuzzcheck::scratchFile("Const.ini");
    const std::string content(reinterpret_cast<const char*>(data), size);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    const std::vector<std::string> lines = linesOf(content);

    TxfTable table;
    const bool accepted = table.readConstantsFrom(path);
    const bool titled = !lines.empty() && trimmed(lines[0]) == "VS-K5 ALN Rev.1.0";
    bool numbers = lines.size() >= 1 + TxfTable::BorderCount;
    for (std::size_t i = 1; i < lines.size() && i <= TxfTable::BorderCount; ++i) {
        const auto value = TxfTable::constantValue(lines[i]);
        checkLine(lines[i], value);
        numbers = numbers && value.has_value();
        if (accepted) {
            require(table.constant(static_cast<int>(i - 1)) == *value, "a constant not as read");
        }
    }
    require(accepted == (titled && numbers), "a file accepted or refused against its contents");
    for (int i = 0; !titled && i < TxfTable::BorderCount; ++i) {
        require(table.constant(i) == 0.0f, "a refused file changed a constant");
    }
    return 0;
}
