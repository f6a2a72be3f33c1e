// SPDX-License-Identifier: GPL-3.0-or-later
// What crossed the line, as the radio's end of the cable saw it. The line carries one byte per
// 1.0417 ms, and a UART starts on the bytes the moment the port is handed them. So a frame of n
// bytes handed to the port at t has reached the radio whole at t + n x 1.0417 ms, or later when
// the line was still busy with the bytes before it (the UART sends one byte after the other),
// exactly as the simulated radio reckons it. The moment the bench reads them off the
// pseudo-terminal is kept too; it may come later, when the utility's own work (a repaint) holds
// up the event loop they share.
// The radio's answers are kept with the moments their first and last bytes went onto the
// pseudo-terminal. The cable's echo of the computer's own bytes is not kept: it crosses at the
// same moments as the bytes themselves.
//
//   log.waitAsked(200, 13);                      // after the command ending at byte 13
//   log.computerBytes(FE FE EE EF E8 73 51 00 01 0C 43 39 FD, t, t + 0.1 ms);
//   log.computerFrames().back().lineEndNs;       // t + 13 x 1.0417 ms
//   log.computerFrames().back().waitMs;          // 200
#pragma once

#include "platform/Bytes.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace vsk5bench {

// A frame the computer sent (FE FE EE EF ... FD).
struct ComputerFrame {
    Bytes bytes;
    std::int64_t handedNs = 0;        // the utility handed its first byte to the port
    std::int64_t firstReadNs = 0;     // its first byte came off the pseudo-terminal
    std::int64_t lineStartNs = 0;     // its first byte began to cross the line
    std::int64_t lineEndNs = 0;       // the radio had its last byte (and the computer its echo)
    std::int64_t endOffset = 0;       // the computer's bytes sent so far, this frame's included
    std::int32_t waitMs = 0;          // the wait the model asked for after it; 0: none
    std::vector<std::size_t> answers; // indexes into radioFrames()
};

// An answer of the radio (FE FE EF EE ... FD).
struct RadioFrame {
    Bytes bytes;
    std::int64_t firstSentNs = 0;
    std::int64_t lastSentNs = 0;
};

class LineLog {
  public:
    // Bytes the computer wrote, handed to the port at sentNs and read off the pseudo-terminal at
    // readNs.
    void computerBytes(const Bytes& bytes, std::int64_t sentNs, std::int64_t readNs);
    // Bytes the radio's end put on the line at nowNs: the echo and the radio's answers.
    void radioBytes(const Bytes& bytes, std::int64_t nowNs);
    // The model was asked to wait this long after the live command it has just handed to the
    // port, whose last byte is the computer's byte number endOffset (counted from 1). Several
    // frames may be handed over in one tick, so the count, not the order, says which it is.
    void waitAsked(std::int32_t ms, std::int64_t endOffset);

    // Whole frames only, in the order they were sent.
    const std::vector<ComputerFrame>& computerFrames() const { return sent; }
    const std::vector<RadioFrame>& radioFrames() const { return answered; }
    // The computer's bytes read so far.
    std::int64_t bytesRead() const { return readCount; }
    // The frames whose first byte was read in [fromNs, toNs].
    std::vector<const ComputerFrame*> framesReadBetween(std::int64_t fromNs,
                                                        std::int64_t toNs) const;
    // The frames handed to the port from fromNs on that end by byte endOffset.
    std::vector<const ComputerFrame*> framesSentBy(std::int64_t fromNs,
                                                   std::int64_t endOffset) const;

    // A moment of the bench's own (a key pressed, a procedure at its end), for write().
    void mark(const std::string& what, std::int64_t atNs) { marks.push_back({atNs, what}); }
    // One line per frame: when, which side, its bytes, and the wait after it; the marks in
    // between.
    void write(std::ostream& out, std::int64_t originNs) const;

  private:
    void computerByte(std::uint8_t byte, std::int64_t sentNs, std::int64_t readNs);

    std::vector<ComputerFrame> sent;
    std::vector<RadioFrame> answered;
    ComputerFrame open; // the computer frame under way
    bool openStarted = false;
    RadioFrame radioOpen; // the radio frame under way, echo or answer
    bool radioStarted = false;
    std::int64_t lineFreeNs = 0; // when the line has carried the computer's last byte
    std::int64_t readCount = 0;
    std::map<std::int64_t, std::int32_t> pendingWaits; // by the end offset of their frame
    std::vector<std::pair<std::int64_t, std::string>> marks;
};

} // namespace vsk5bench
