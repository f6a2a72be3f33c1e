// SPDX-License-Identifier: GPL-3.0-or-later
// Frame and record coding of the simulated radio.
#include "sim/SimProtocol.h"

#include <cstdio>

namespace vxk5sim {
namespace {

void appendHexPair(Bytes& out, int value) {
    static const char digits[] = "0123456789ABCDEF";
    out.push_back(static_cast<std::uint8_t>(digits[(value >> 4) & 0xF]));
    out.push_back(static_cast<std::uint8_t>(digits[value & 0xF]));
}

} // namespace

Bytes makeAnswerFrame(std::uint8_t command, const Bytes& data) {
    Bytes frame;
    frame.reserve(data.size() + 6); // built up in place: GCC 12 misreads an insert after a
    // brace-initialised vector at -O2 as an out-of-bounds copy
    for (std::uint8_t b : {kPreamble, kPreamble, kComputerAddress, kRadioAddress, command}) {
        frame.push_back(b);
    }
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(kEndOfFrame);
    return frame;
}

Bytes encodeRecord(int address, const std::uint8_t* data, int count, int checksumError) {
    Bytes out;
    out.reserve(static_cast<std::size_t>(2 * (count + 4)));
    int sum = ((address >> 8) & 0xFF) + (address & 0xFF) + count;
    appendHexPair(out, address >> 8);
    appendHexPair(out, address);
    appendHexPair(out, count);
    for (int i = 0; i < count; ++i) {
        sum += data[i];
        appendHexPair(out, data[i]);
    }
    appendHexPair(out, (256 - sum % 256 + checksumError) % 256);
    return out;
}

int hexDigitValue(std::uint8_t c) {
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

DecodedRecord decodeRecord(const Bytes& ascii, int memorySize) {
    DecodedRecord result;
    if (ascii.size() % 2 != 0) {
        result.problem = "odd number of hex characters";
        return result;
    }
    Bytes raw;
    for (std::size_t i = 0; i < ascii.size(); i += 2) {
        const int hi = hexDigitValue(ascii[i]);
        const int lo = hexDigitValue(ascii[i + 1]);
        if (hi < 0 || lo < 0) {
            result.problem = "not hex";
            return result;
        }
        raw.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
    }
    if (raw.size() < 5) {
        result.problem = "too short";
        return result;
    }
    const int count = raw[2];
    if (static_cast<int>(raw.size()) != count + 4) {
        result.problem = "count does not match";
        return result;
    }
    int sum = 0;
    for (std::uint8_t b : raw) {
        sum += b;
    }
    if (sum % 256 != 0) {
        result.problem = "bad checksum";
        return result;
    }
    const int address = raw[0] * 256 + raw[1];
    if (address + count > memorySize) {
        result.problem = "outside the memory";
        return result;
    }
    result.ok = true;
    result.address = address;
    result.data.assign(raw.begin() + 3, raw.begin() + 3 + count);
    return result;
}

std::string spacedHex(const Bytes& bytes) {
    std::string text;
    char pair[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(pair, sizeof pair, "%02X", bytes[i]);
        if (i != 0) {
            text += ' ';
        }
        text += pair;
    }
    return text;
}

} // namespace vxk5sim
