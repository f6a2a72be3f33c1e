// SPDX-License-Identifier: GPL-3.0-or-later
// Frames written out byte by byte from their layout, for the tests of the link and of the
// simulated radio alike: a test states the bytes on the wire instead of asking the code under
// test to make them.
#pragma once

#include "platform/Bytes.h"

#include <cstdint>

namespace testsupport {

inline Bytes cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// FE FE to from command data FD, built up in place: GCC 12 misreads an insert after a
// brace-initialised vector at -O2 as an out-of-bounds write.
inline Bytes frame(std::uint8_t to, std::uint8_t from, std::uint8_t command, const Bytes& data) {
    Bytes f;
    f.reserve(data.size() + 6);
    for (std::uint8_t b : {std::uint8_t{0xFE}, std::uint8_t{0xFE}, to, from, command}) {
        f.push_back(b);
    }
    return cat(f, cat(data, {0xFD}));
}
// FE FE EE EF command data FD: what the computer sends (and gets back as its echo).
inline Bytes hostFrame(std::uint8_t command, const Bytes& data) {
    return frame(0xEE, 0xEF, command, data);
}
// FE FE EF EE command data FD: what the radio sends.
inline Bytes radioFrame(std::uint8_t command, const Bytes& data) {
    return frame(0xEF, 0xEE, command, data);
}

// Upper-case ASCII hex of each byte.
inline Bytes hex(const Bytes& raw) {
    static const char* digits = "0123456789ABCDEF";
    Bytes text;
    for (std::uint8_t b : raw) {
        text = cat(text, {std::uint8_t(digits[b >> 4]), std::uint8_t(digits[b & 15])});
    }
    return text;
}

} // namespace testsupport
