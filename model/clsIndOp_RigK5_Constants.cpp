// The model constants file "Const.ini" and the temperature border table of the TXF procedure.
//
//   VS-K5 ALN Rev.1.0      <- must match, blanks around it ignored
//   -9.5                   <- constant 0 (border 0)
//   ...                    <- 21 constants in all, lines 2 to 22
//
// A line that is not a finite single-precision number ("1e40", "nan", "-Infinity") refuses the
// whole file: the TXF procedure would otherwise write nonsense into the radio.
#include "model/clsIndOp_RigK5.h"

#include "app/common/Product.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace {

std::string trimBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

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
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
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

bool startsWithoutCase(const std::string& text, std::size_t at, const char* word) {
    for (; *word != '\0'; ++word, ++at) {
        if (at >= text.size() || std::tolower(static_cast<unsigned char>(text[at])) !=
                                     static_cast<unsigned char>(*word)) {
            return false;
        }
    }
    return true;
}

// "inf", "infinity" and "nan" in any case, signed or not, and whatever follows them: what a
// number reader takes for infinity or not-a-number is never a constant, not a word reading 0.
bool isNotANumberWord(const std::string& text) {
    const std::size_t at = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    return startsWithoutCase(text, at, "inf") || startsWithoutCase(text, at, "nan");
}

} // namespace

std::optional<float> clsIndOp_RigK5::constantValue(const std::string& line) {
    std::string text;
    for (char c : line) {
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') {
            text += c;
        }
    }
    if (text.size() > 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h')) {
        std::size_t end = 2;
        while (end < text.size() && end < 10 &&
               std::isxdigit(static_cast<unsigned char>(text[end]))) {
            ++end;
        }
        return static_cast<float>(std::strtoul(text.substr(2, end - 2).c_str(), nullptr, 16));
    }
    if (isNotANumberWord(text)) {
        return std::nullopt;
    }
    const std::string number = leadingNumber(text);
    // No number reads 0; one beyond single precision becomes infinity here and is refused.
    const auto value = static_cast<float>(std::strtod(number.c_str(), nullptr));
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

bool clsIndOp_RigK5::RigProp_ReadParametersFromExtFile() {
    return readParametersFrom("Const.ini");
}

bool clsIndOp_RigK5::readParametersFrom(const std::string& fileName) {
    std::ifstream in(fileName);
    std::string line;
    if (!in || !readLine(in, line) || trimBlanks(line) != trimBlanks(product::Title)) {
        return false;
    }
    for (std::size_t i = 0; i <= 20; ++i) {
        if (!readLine(in, line)) {
            return false; // the constants read so far stay; the file is refused
        }
        const auto value = constantValue(line);
        if (!value) {
            return false; // refused like a short file: the constants read so far stay
        }
        txfConstants[i] = *value;
    }
    return true;
}

std::int16_t clsIndOp_RigK5::RigOp_Table_Txf_TempBorder(std::int16_t Index) const {
    if (Index < 0 || Index >= TxfBorderCount) {
        throw std::out_of_range("temperature border index " + std::to_string(Index));
    }
    return txfTempBorder[static_cast<std::size_t>(Index)];
}
