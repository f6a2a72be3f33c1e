// SPDX-License-Identifier: GPL-3.0-or-later
// The frame lines of the session log.
#include "link/LinkLog.h"

#include "link/CloneFrames.h"

#include <iterator>

Q_LOGGING_CATEGORY(lcLink, "vsk5.link", QtWarningMsg)

namespace linklog {
namespace {

// Frames longer than the receiver keeps are cut; no frame of this link comes near it.
constexpr std::size_t MaxBytes = 264;

struct Line {
    char text[8 + 3 * MaxBytes + 1];
    std::size_t length = 0;

    void add(const char* word) {
        while (*word != '\0' && length < 8) {
            text[length++] = *word++;
        }
    }
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

} // namespace

void error(int code) {
    // By DriverError's codes.
    static const char* const words[] = {
        "", "no echo",       "no answer",         "bad frame", "image overflow",
        "", "write refused", "write send refused"};
    const bool known = code >= 0 && code < static_cast<int>(std::size(words));
    qCInfo(lcLink, "error %d, %s", code, known ? words[code] : "unknown");
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
