// SPDX-License-Identifier: GPL-3.0-or-later
// The hexadecimal conversions, the fixed-width fields and the one rounding rule.
#include "common/CommonRoutines.h"

#include <cmath>
#include <cstdio>

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

namespace {

// Value of the leading hexadecimal digits of text (0 when it does not start with one),
// kept to its low 16 bits.
std::uint16_t leadingHexValue(const std::string& text) {
    std::uint32_t value = 0;
    for (char c : text) {
        const int digit = hexDigitValue(c);
        if (digit < 0) {
            break;
        }
        value = ((value << 4) | static_cast<std::uint32_t>(digit)) & 0xFFFFu;
    }
    return static_cast<std::uint16_t>(value);
}

} // namespace

std::string ConvNewLine(const std::string& text) {
    std::string result = text;
    for (std::size_t i = 0; i + 1 < result.size(); ++i) {
        if (result[i] == '\\' && result[i + 1] == 'n') {
            result[i] = '\r';
            result[i + 1] = '\n';
            ++i;
        }
    }
    return result;
}

Bytes StrToByteStr(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

std::int16_t HexAsciiToInt(const Bytes& bytes) {
    return static_cast<std::int16_t>(leadingHexValue(std::string(bytes.begin(), bytes.end())));
}

Bytes HexToByteStr(const std::string& text) {
    Bytes result;
    std::size_t i = 0;
    while (text.size() - i >= 2) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        result.push_back(static_cast<std::uint8_t>(leadingHexValue(text.substr(i, 2))));
        i += 2;
    }
    return result;
}

std::string ByteStrToHex(const Bytes& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string result;
    result.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        result += digits[b >> 4];
        result += digits[b & 0x0F];
    }
    return result;
}

std::string IntToHex2(int n) {
    return ByteStrToHex({static_cast<std::uint8_t>(static_cast<unsigned>(n) & 0xFFu)});
}

std::string IntToAsciiHex2(int n) {
    return ByteStrToHex(StrToByteStr(IntToHex2(n)));
}

std::string liveCommandText(int command, int value) {
    return IntToHex2(command) + IntToAsciiHex2(value);
}

std::string rightField(const std::string& text, std::size_t width) {
    const std::string padded = std::string(width, ' ') + text;
    return padded.substr(padded.size() - width);
}

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find("\r\n"));
}

std::string trimBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::optional<AmpersandHex> ampersandHex(const std::string& text) {
    if (text.size() < 3 || text[0] != '&' || (text[1] != 'H' && text[1] != 'h') ||
        hexDigitValue(text[2]) < 0) {
        return std::nullopt;
    }
    AmpersandHex number{0, 2};
    for (; number.length < text.size() && number.length < 10; ++number.length) {
        const int digit = hexDigitValue(text[number.length]);
        if (digit < 0) {
            break;
        }
        number.value = number.value * 16 + static_cast<std::uint32_t>(digit);
    }
    return number;
}

std::string twoDigits(int n) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

std::int64_t roundHalfEven(double value) {
    // The default floating-point rounding mode rounds halves to even.
    return static_cast<std::int64_t>(std::nearbyint(value));
}
