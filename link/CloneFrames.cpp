// SPDX-License-Identifier: GPL-3.0-or-later
// Building and checking the clone protocol's frames and records.
#include "link/CloneFrames.h"

#include "common/CommonRoutines.h"

#include <algorithm>

namespace frames {
namespace {

int hexValue(std::uint8_t c) {
    return hexDigitValue(static_cast<char>(c));
}

// Two ASCII hex digits at pos as one byte, -1 when they are not both digits.
int hexByteAt(const Bytes& f, std::size_t pos) {
    const int high = hexValue(f[pos]);
    const int low = hexValue(f[pos + 1]);
    return (high < 0 || low < 0) ? -1 : high * 16 + low;
}

// The identity bytes (model and sub code) read as hex text must be decimal digits.
bool identityIsDecimal(const Bytes& f) {
    const std::string text = ByteStrToHex(Bytes(f.begin() + PosData, f.begin() + PosData + 4));
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isBadRecord(const Bytes& f) {
    if (f.size() % 2 == 0 || f.size() < RecordOverhead + 2) {
        return true;
    }
    unsigned sum = 0;
    for (std::size_t pos = PosData; pos + 1 < f.size(); pos += 2) {
        const int value = hexByteAt(f, pos);
        if (value < 0) {
            return true;
        }
        sum += static_cast<unsigned>(value);
    }
    const int count = hexByteAt(f, PosData + 4);
    return sum % 256 != 0 || count != static_cast<int>((f.size() - RecordOverhead) / 2);
}

} // namespace

namespace {

// A command byte followed by text, sized up front (inserting behind a one-byte vector trips a
// false array-bounds warning of the optimiser).
Bytes commandWithText(std::uint8_t command, const std::string& text) {
    Bytes body(1 + text.size());
    body[0] = command;
    std::copy(text.begin(), text.end(), body.begin() + 1);
    return body;
}

} // namespace

Bytes frameOf(const Bytes& body) {
    Bytes frame(body.size() + 5);
    frame[0] = Preamble;
    frame[1] = Preamble;
    frame[2] = AdrRadio;
    frame[3] = AdrComputer;
    std::copy(body.begin(), body.end(), frame.begin() + 4);
    frame.back() = EndOfFrame;
    return frame;
}

bool isBadFrame(const Bytes& f, std::uint8_t expectedE8Sub) {
    if (f.size() < 3 || f[0] != AdrComputer || f[1] != AdrRadio) {
        return true;
    }
    switch (f[PosCommand]) {
    case CmdIdentityAnswer:
        return f.size() < 7 || !identityIsDecimal(f);
    case CmdRecord:
        return isBadRecord(f);
    case CmdEnd:
        return Bytes(f.begin() + PosData, f.end()) != Bytes(EndMark.begin(), EndMark.end());
    case CmdWriteResult:
        return f.size() < 4; // the result byte must be there
    case CmdAdjust:
        return f.size() < 8 || !identityIsDecimal(f) || f[7] != expectedE8Sub;
    default:
        return false;
    }
}

Record recordOf(const Bytes& f) {
    Record record;
    // Four hex digits, 0..0xFFFF; a record beyond the image is refused when it is stored.
    record.address = hexByteAt(f, PosData) * 256 + hexByteAt(f, PosData + 2);
    const int count = hexByteAt(f, PosData + 4);
    for (int i = 0; i < count; ++i) {
        record.data.push_back(
            static_cast<std::uint8_t>(hexByteAt(f, PosData + 6 + 2 * static_cast<std::size_t>(i))));
    }
    return record;
}

Bytes recordBody(std::int32_t address, const Bytes& data) {
    // Address high, address low, count and the data, sized up front; then the checksum.
    Bytes record(data.size() + 3);
    record[0] = static_cast<std::uint8_t>((address / 256) & 0xFF);
    record[1] = static_cast<std::uint8_t>(address % 256);
    record[2] = static_cast<std::uint8_t>(data.size());
    std::copy(data.begin(), data.end(), record.begin() + 3);
    unsigned sum = 0;
    for (std::uint8_t b : record) {
        sum += b;
    }
    record.push_back(static_cast<std::uint8_t>((256 - sum % 256) % 256));
    return commandWithText(CmdRecord, ByteStrToHex(record));
}

Bytes endBody() {
    return commandWithText(CmdEnd, EndMark);
}

} // namespace frames
