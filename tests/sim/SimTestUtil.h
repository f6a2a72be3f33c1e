// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers of the simulated-radio tests: frames written out byte by byte as the computer sends
// them and as the radio must answer, and one exchange with a radio that is not paced.
#pragma once

#include "sim/SimRadio.h"

#include <cstdint>
#include <string>

namespace simtest {

using vxk5sim::Bytes;

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
inline Bytes hostFrame(std::uint8_t cmd, const Bytes& data) {
    return frame(0xEE, 0xEF, cmd, data);
}
inline Bytes radioFrame(std::uint8_t cmd, const Bytes& data) {
    return frame(0xEF, 0xEE, cmd, data);
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
// E8 frame for model 73 51, sub 00 01: the command byte, then the payload characters.
inline Bytes e8Frame(std::uint8_t command, const Bytes& chars) {
    return hostFrame(0xE8, cat({0x73, 0x51, 0x00, 0x01, command}, chars));
}
inline Bytes e8Value(std::uint8_t command, int value) {
    return e8Frame(command, hex({std::uint8_t(value)}));
}

inline const Bytes IdentityQuery = hostFrame(0xE0, {0x73, 0x51, 0x00, 0x00});
inline const Bytes IdentityAnswer = radioFrame(0xE1, {0x73, 0x51, 0x00, 0x01});
inline const Bytes Unlock = e8Frame(0x00, {'5', 'R', 'k', '9', 'T', 'z', '3', 'W', 'q', '1'});

// Sends one frame at t = 0 and returns everything the computer receives.
inline Bytes talk(vxk5sim::SimRadio& radio, const Bytes& frame) {
    radio.receive(frame, 0);
    return radio.transmit(0);
}

} // namespace simtest
