// SPDX-License-Identifier: GPL-3.0-or-later
// The key buffer of the cmd00 buttons and the channel dialog's OK button.
#include "ui/KeyBuffer.h"

#include <utility>

namespace {

// Stored shifted: the code as the buffer holds it, the caption one code higher per character.
constexpr const char* StoredCode = "TFSWJDFCFODI2";
constexpr const char* StoredText = "Ifmmp!ufdiojdjbo";

} // namespace

KeyBuffer::KeyBuffer() : KeyBuffer(StoredCode, StoredText) {}

KeyBuffer::KeyBuffer(std::string code, std::string scrambledText)
    : code(std::move(code)), scrambledText(std::move(scrambledText)) {}

char KeyBuffer::Encode(char typed) {
    const auto shifted = static_cast<unsigned char>(static_cast<unsigned char>(typed) + 1u);
    // Only ASCII letters change case; other bytes pass through shifted, whatever the locale.
    if (shifted >= 'a' && shifted <= 'z') {
        return static_cast<char>(shifted - 'a' + 'A');
    }
    return static_cast<char>(shifted);
}

std::string KeyBuffer::Decode(const std::string& scrambled) {
    std::string plain = scrambled;
    for (char& c : plain) {
        c = static_cast<char>(static_cast<unsigned char>(c) - 1u);
    }
    return plain;
}

std::optional<std::string> KeyBuffer::Feed(const std::string& typed) {
    std::optional<std::string> result;
    for (char c : typed) {
        buffer += Encode(c);
        if (buffer.size() > code.size()) {
            buffer.erase(0, buffer.size() - code.size());
        }
        if (!code.empty() && buffer == code) {
            result = Decode(scrambledText);
        }
    }
    return result;
}
