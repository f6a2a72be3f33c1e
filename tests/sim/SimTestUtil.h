// Helpers of the simulated-radio tests: frames as the computer sends them, and the computer's
// receive stream cut back into frames.
#pragma once

#include "sim/SimProtocol.h"

#include <cstdint>
#include <string>
#include <vector>

namespace simtest {

using vxk5sim::Bytes;

// FE FE EE EF cmd data FD.
inline Bytes hostFrame(std::uint8_t command, const Bytes& data) {
    Bytes frame;
    frame.reserve(data.size() + 6); // built up in place: GCC 12 misreads an insert after a
    for (std::uint8_t b : {std::uint8_t{0xFE}, std::uint8_t{0xFE}, std::uint8_t{0xEE},
                           std::uint8_t{0xEF}, command}) { // brace-initialised vector at -O2
        frame.push_back(b);
    }
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(0xFD);
    return frame;
}

inline Bytes identityQuery() {
    return hostFrame(0xE0, {0x73, 0x51, 0x00, 0x00});
}
inline Bytes cloneReadStart() {
    return hostFrame(0xE2, {0x73, 0x51, 0x00, 0x01});
}

// E8 frame with the command byte followed by raw payload characters.
inline Bytes e8Frame(std::uint8_t command, const std::string& chars) {
    Bytes data{0x73, 0x51, 0x00, 0x01, command};
    data.insert(data.end(), chars.begin(), chars.end());
    return hostFrame(0xE8, data);
}

// E8 frame carrying one byte value as two upper-case hex characters.
inline Bytes e8Value(std::uint8_t command, int value) {
    static const char digits[] = "0123456789ABCDEF";
    return e8Frame(command, std::string{digits[(value >> 4) & 0xF], digits[value & 0xF]});
}

inline Bytes unlockFrame() {
    return e8Frame(0x00, "5Rk9Tz3Wq1");
}

// Everything between a preamble and the next FD, without the preambles: dst src cmd data.
struct Stream {
    std::vector<Bytes> frames;
    Bytes outside; // bytes that belonged to no frame
};

inline Stream splitFrames(const Bytes& bytes) {
    Stream s;
    bool in = false;
    Bytes cur;
    for (std::uint8_t b : bytes) {
        if (b == 0xFE) {
            in = true;
            cur.clear();
        } else if (b == 0xFD && in) {
            s.frames.push_back(cur);
            in = false;
        } else if (in) {
            cur.push_back(b);
        } else {
            s.outside.push_back(b);
        }
    }
    return s;
}

// The radio's answer frames only (EF EE cmd data).
inline std::vector<Bytes> answers(const Bytes& bytes) {
    std::vector<Bytes> out;
    for (const Bytes& f : splitFrames(bytes).frames) {
        if (f.size() >= 2 && f[0] == 0xEF && f[1] == 0xEE) {
            out.push_back(f);
        }
    }
    return out;
}

} // namespace simtest
