// SPDX-License-Identifier: GPL-3.0-or-later
// The temperature borders and the constants file.
#include "model/TxfTable.h"

#include "common/CommonRoutines.h"
#include "common/Product.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace {

// 16 wide in the middle of the sensor's scale, 8 wide at both ends; the last border is 255.
constexpr std::array<std::int16_t, TxfTable::BorderCount> Borders = {
    0, 16, 24, 32, 40, 48, 64, 80, 96, 112, 128, 144, 160, 176, 192, 208, 216, 224, 232, 240, 255};

bool readLine(std::ifstream& in, std::string& line) {
    if (!std::getline(in, line)) {
        return false;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back(); // a file written with CR LF line ends
    }
    return true;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The leading number of text (no blanks in it any more): sign, digits with one point, exponent.
std::string leadingNumber(const std::string& text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    bool point = false;
    while (i < text.size() && (isDigit(text[i]) || (text[i] == '.' && !point))) {
        point = point || text[i] == '.';
        ++i;
    }
    std::string number = text.substr(0, i);
    if (i < text.size() && std::string("EeDd").find(text[i]) != std::string::npos) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        const std::size_t digits = j;
        while (j < text.size() && isDigit(text[j])) {
            ++j;
        }
        if (j > digits) {
            number += "e" + text.substr(i + 1, j - i - 1);
        }
    }
    return number;
}

// The word at `at`, in any case, not followed by another letter.
bool wordAt(const std::string& text, std::size_t at, const std::string& word) {
    for (std::size_t k = 0; k < word.size(); ++k, ++at) {
        if (at >= text.size() || std::tolower(static_cast<unsigned char>(text[at])) !=
                                     static_cast<unsigned char>(word[k])) {
            return false;
        }
    }
    return at >= text.size() || !std::isalpha(static_cast<unsigned char>(text[at]));
}

// "inf", "infinity" or "nan", signed or not: what a number reader takes for infinity or
// not-a-number is never a constant, and not a word reading 0 either.
bool isNotANumberWord(const std::string& text) {
    const std::size_t at = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    return wordAt(text, at, "inf") || wordAt(text, at, "infinity") || wordAt(text, at, "nan");
}

} // namespace

TxfTable::TxfTable() {
    std::copy(Borders.begin(), Borders.end(), borders.begin());
}

std::optional<float> TxfTable::constantValue(const std::string& line) {
    std::string text;
    for (char c : line) {
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') {
            text += c;
        }
    }
    if (const auto hex = ampersandHex(text)) {
        return static_cast<float>(hex->value); // what follows the digits does not matter
    }
    if (isNotANumberWord(text)) {
        return std::nullopt;
    }
    // No number reads 0; one beyond single precision becomes infinity here and is refused.
    const auto value = static_cast<float>(std::strtod(leadingNumber(text).c_str(), nullptr));
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

bool TxfTable::readConstantsFrom(const std::string& fileName) {
    std::ifstream in(fileName);
    std::string line;
    if (!in || !readLine(in, line) || trimBlanks(line) != trimBlanks(product::Title)) {
        return false;
    }
    for (std::size_t i = 0; i < BorderCount; ++i) {
        if (!readLine(in, line)) {
            return false;
        }
        const auto value = constantValue(line);
        if (!value) {
            return false;
        }
        constants[i] = *value;
    }
    return true;
}

std::int16_t TxfTable::RigOp_Table_Txf_TempBorder(std::int16_t Index) const {
    if (Index < 0 || Index > BorderCount) {
        throw std::out_of_range("temperature border index " + std::to_string(Index));
    }
    return borders[static_cast<std::size_t>(Index)];
}

std::int16_t TxfTable::area(std::int16_t reading) const {
    for (std::int16_t n = 0; n < AreaCount - 1; ++n) {
        if (reading < borders[static_cast<std::size_t>(n + 1)]) {
            return n;
        }
    }
    return AreaCount - 1;
}
