// SPDX-License-Identifier: GPL-3.0-or-later
// The line log: frames cut at FD, the computer's frames timed by the line's rate, the radio's
// answers told from the echo by their address bytes.
#include "bench/LineLog.h"

#include "bench/Clock.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace vsk5bench {

namespace {

constexpr std::uint8_t EndOfFrame = 0xFD;
// An answer is addressed from the radio (EF) to the computer (EE); the echo of the computer's
// own frame carries EE EF.
constexpr std::size_t AddressAt = 2;
constexpr std::uint8_t RadioAddress = 0xEF;

const std::int64_t ByteNsWhole = std::llround(ByteNs);

std::string hexText(const Bytes& bytes) {
    std::string text;
    char pair[3];
    for (std::uint8_t b : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", b);
        text += pair;
    }
    return text;
}

} // namespace

void LineLog::computerBytes(const Bytes& bytes, std::int64_t sentNs, std::int64_t readNs) {
    for (std::uint8_t b : bytes) {
        computerByte(b, sentNs, readNs);
    }
}

void LineLog::computerByte(std::uint8_t byte, std::int64_t sentNs, std::int64_t readNs) {
    if (!openStarted) {
        openStarted = true;
        open = ComputerFrame{};
        open.handedNs = sentNs;
        open.firstReadNs = readNs;
        open.lineStartNs = std::max(lineFreeNs, sentNs);
    }
    // The UART starts a byte when the one before is through; the radio has it one byte time
    // later.
    lineFreeNs = std::max(lineFreeNs, sentNs) + ByteNsWhole;
    ++readCount;
    open.bytes.push_back(byte);
    open.lineEndNs = lineFreeNs;
    open.endOffset = readCount;
    if (byte == EndOfFrame) {
        if (const auto wait = pendingWaits.find(readCount); wait != pendingWaits.end()) {
            open.waitMs = wait->second;
        }
        pendingWaits.erase(pendingWaits.begin(), pendingWaits.upper_bound(readCount));
        sent.push_back(std::move(open));
        openStarted = false;
    }
}

void LineLog::radioBytes(const Bytes& bytes, std::int64_t nowNs) {
    for (std::uint8_t b : bytes) {
        if (!radioStarted) {
            radioStarted = true;
            radioOpen = RadioFrame{};
            radioOpen.firstSentNs = nowNs;
        }
        radioOpen.bytes.push_back(b);
        radioOpen.lastSentNs = nowNs;
        if (b != EndOfFrame) {
            continue;
        }
        radioStarted = false;
        const bool answer =
            radioOpen.bytes.size() > AddressAt && radioOpen.bytes[AddressAt] == RadioAddress;
        if (answer && !sent.empty()) {
            sent.back().answers.push_back(answered.size());
            answered.push_back(std::move(radioOpen));
        }
    }
}

void LineLog::waitAsked(std::int32_t ms, std::int64_t endOffset) {
    if (endOffset > readCount) {
        pendingWaits[endOffset] = ms;
        return;
    }
    // A command that was not sent: the model waits all the same, after the frame sent last.
    for (auto f = sent.rbegin(); f != sent.rend(); ++f) {
        if (f->endOffset == endOffset) {
            f->waitMs = ms;
            return;
        }
    }
}

std::vector<const ComputerFrame*> LineLog::framesReadBetween(std::int64_t fromNs,
                                                             std::int64_t toNs) const {
    std::vector<const ComputerFrame*> frames;
    for (const ComputerFrame& f : sent) {
        if (f.firstReadNs >= fromNs && f.firstReadNs <= toNs) {
            frames.push_back(&f);
        }
    }
    return frames;
}

std::vector<const ComputerFrame*> LineLog::framesSentBy(std::int64_t fromNs,
                                                        std::int64_t endOffset) const {
    std::vector<const ComputerFrame*> frames;
    for (const ComputerFrame& f : sent) {
        if (f.handedNs >= fromNs && f.endOffset <= endOffset) {
            frames.push_back(&f);
        }
    }
    return frames;
}

void LineLog::write(std::ostream& out, std::int64_t originNs) const {
    char head[96];
    auto nextMark = marks.begin();
    const auto marksUntil = [&](std::int64_t ns) {
        for (; nextMark != marks.end() && nextMark->first <= ns; ++nextMark) {
            std::snprintf(head, sizeof head, "%12.3f ms  #  ",
                          msBetween(originNs, nextMark->first));
            out << head << nextMark->second << '\n';
        }
    };
    for (const ComputerFrame& f : sent) {
        marksUntil(f.handedNs);
        std::snprintf(head, sizeof head, "%12.3f ms  >  through at %12.3f ms  ",
                      msBetween(originNs, f.handedNs), msBetween(originNs, f.lineEndNs));
        out << head << hexText(f.bytes);
        if (f.waitMs > 0) {
            out << "  (wait " << f.waitMs << " ms)";
        }
        out << '\n';
        for (std::size_t i : f.answers) {
            const RadioFrame& a = answered[i];
            std::snprintf(head, sizeof head, "%12.3f ms  <  last byte at %12.3f ms  ",
                          msBetween(originNs, a.firstSentNs), msBetween(originNs, a.lastSentNs));
            out << head << hexText(a.bytes) << '\n';
        }
    }
    marksUntil(std::numeric_limits<std::int64_t>::max());
}

} // namespace vsk5bench
