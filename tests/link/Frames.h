// Frame builders for the link tests, written out from the frame layout so that a test states
// the bytes on the wire rather than calling the code under test to make them.
#pragma once

#include "platform/Bytes.h"

#include <cstdint>
#include <string>

namespace linktest {

// FE FE EE EF body FD: what the computer sends (and gets back as its echo).
inline Bytes pcFrame(const Bytes& body) {
    Bytes f = {0xFE, 0xFE, 0xEE, 0xEF};
    f.insert(f.end(), body.begin(), body.end());
    f.push_back(0xFD);
    return f;
}

// FE FE EF EE command data FD: what the radio sends.
inline Bytes radioFrame(std::uint8_t command, const Bytes& data) {
    Bytes f = {0xFE, 0xFE, 0xEF, 0xEE, command};
    f.insert(f.end(), data.begin(), data.end());
    f.push_back(0xFD);
    return f;
}

inline Bytes ascii(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

inline std::string hex2(unsigned value) {
    static const char digits[] = "0123456789ABCDEF";
    return {digits[(value >> 4) & 0xF], digits[value & 0xF]};
}

// The ASCII hex text of one memory record: address, count, data, checksum (sum 0 mod 256).
inline std::string recordText(std::uint16_t adr, const Bytes& data) {
    unsigned sum = (adr >> 8) + (adr & 0xFF) + static_cast<unsigned>(data.size());
    std::string text = hex2(adr >> 8) + hex2(adr & 0xFF) + hex2(static_cast<unsigned>(data.size()));
    for (std::uint8_t b : data) {
        sum += b;
        text += hex2(b);
    }
    text += hex2((256 - sum % 256) % 256);
    return text;
}

inline Bytes recordFrame(std::uint16_t adr, const Bytes& data) {
    return radioFrame(0xE4, ascii(recordText(adr, data)));
}

inline Bytes endFrame() {
    return radioFrame(0xE5, ascii("Vexo Inc."));
}

inline Bytes cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace linktest
