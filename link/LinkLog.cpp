// SPDX-License-Identifier: GPL-3.0-or-later
// The frame lines of the session log.
#include "link/LinkLog.h"

#include "link/CloneFrames.h"
#include "link/clsCmcCln3Drv.h"

Q_LOGGING_CATEGORY(lcLink, "vsk5.link", QtWarningMsg)

namespace linklog {
namespace {

// Frames longer than the receiver keeps are cut; no frame of this link comes near it. The
// receiver keeps at most RxBufMax bytes of an answer; the extra bytes leave room for the preamble
// pair and end byte written around it (three, with a margin), so that an answer it kept is
// always written whole.
constexpr std::size_t MaxBytes = clsCmcCln3Drv::RxBufMax + 8;

struct Line {
    char text[8 + 3 * MaxBytes + 1];
    std::size_t length = 0;

    void add(const char* word) {
        while (*word != '\0' && length < 8) {
            text[length++] = *word++;
        }
    }
    // Not ByteStrToHex: it writes no blanks between the bytes, and the framed answer would
    // first have to be copied with its preamble and end byte; here nothing is allocated.
    void addHex(std::uint8_t byte) {
        static const char digits[] = "0123456789ABCDEF";
        text[length++] = ' ';
        text[length++] = digits[byte >> 4];
        text[length++] = digits[byte & 0x0F];
    }
};

// Formatted on the stack: the only allocations are those of the log line itself.
void write(const char* direction, bool framed, const Bytes& bytes) {
    Line line;
    line.add(direction);
    std::size_t room = MaxBytes - (framed ? 3 : 0);
    if (framed) {
        line.addHex(frames::Preamble);
        line.addHex(frames::Preamble);
    }
    for (auto it = bytes.begin(); it != bytes.end() && room > 0; ++it, --room) {
        line.addHex(*it);
    }
    if (framed) {
        line.addHex(frames::EndOfFrame);
    }
    line.text[line.length] = '\0';
    qCInfo(lcLink, "%s", line.text);
}

const char* errorWords(DriverError error) {
    switch (error) {
    case DriverError::None:
        return "";
    case DriverError::NoEcho:
        return "no echo";
    case DriverError::NoAnswer:
        return "no answer";
    case DriverError::BadFrame:
        return "bad frame";
    case DriverError::ImageOverflow:
        return "image overflow";
    case DriverError::WriteRefused:
        return "write refused";
    case DriverError::WriteSendRefused:
        return "write send refused";
    }
    return "unknown";
}

} // namespace

void error(DriverError error) {
    qCInfo(lcLink, "error %d, %s", static_cast<int>(error), errorWords(error));
}

void frame(const char* direction, const Bytes& bytes) {
    if (lcLink().isInfoEnabled()) {
        write(direction, false, bytes);
    }
}

void answer(const Bytes& inner) {
    if (lcLink().isInfoEnabled()) {
        write("in ", true, inner);
    }
}

} // namespace linklog
