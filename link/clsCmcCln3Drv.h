// SPDX-License-Identifier: GPL-3.0-or-later
// The clone frame driver: frames a command body, writes it to the port, finds its echo on the
// receive line, waits for the radio's answer, checks and stores what comes back, resends on
// silence and reports the outcome as an error code.
//
// One exchange, an adjustment readout with an answer (work mode Adjust):
//   computer sends   FE FE EE EF  E8 73 51 00 01 03 31 34  FD
//   echo comes back  FE FE EE EF  E8 73 51 00 01 03 31 34  FD   -> Echo -> Answer
//   radio answers    FE FE EF EE  E8 73 51 00 01 03 37 46  FD   -> checked, accepted
//   varLastE8Answer() == 73 51 00 01 03 37 46, Running() false, nowError() None.
//
// The receive path (read) only takes bytes and makes decisions: it never reads the port and
// never holds more than 256 bytes. The driver writes through the serial control its port
// manager hands it; it owns no port of its own.
//
// Clone write pacing. The body E3 of a clone write awaits no answer, but its echo and the echo
// of every record are awaited: each echo that comes back sends the next E4 record from the
// address list; after the last record the mode becomes CloneWriteEnd, the end frame E5
// "Vexo Inc." goes out, and its E6 answer decides (0x00 accepted, anything else WriteRefused).
// A missing echo is NoEcho, a refused send of a following frame WriteSendRefused. Running()
// stays true from E3 to the E6 answer, so the sequencer waits for all of it.
#pragma once

#include "link/clsCmcTick.h"
#include "platform/Bytes.h"

#include <cstdint>
#include <string>
#include <vector>

class SerialControl;
class clsCmcEeprom;

// What the next command is and what it awaits.
enum class WorkMode : std::int16_t {
    None = 0,
    Identity = 1,        // E0, answered by E1
    CloneRead = 2,       // E2, answered by E4 records and E5
    CloneWriteStart = 3, // E3 and the E4 records, each paced by its echo
    CloneWriteEnd = 4,   // E5, answered by E6
    Adjust = 5,          // E8, answered by E8 when an answer is asked for
};

enum class WaitState : std::int16_t { Idle = 0, Echo = 1, Answer = 2 };

// The driver's error codes; the link's error message turns them into words.
enum class DriverError : std::int16_t {
    None = 0,
    NoEcho = 1,           // the echo did not come back in time (never resent)
    NoAnswer = 2,         // no acceptable answer in time and no resend left
    BadFrame = 3,         // an answer of the awaited command failed its checks
    ImageOverflow = 4,    // a clone-read record lies outside the memory image
    WriteRefused = 6,     // the radio refused a clone write
    WriteSendRefused = 7, // the next clone-write frame could not be sent
};

class clsCmcCln3Drv {
  public:
    // Frames kept by the receiver are at most this long; the echo search looks at as many of
    // the latest received bytes.
    static constexpr std::size_t RxBufMax = 256;

    clsCmcCln3Drv();

    // The port it writes through; the port manager that owns both hands it over.
    void setPort(SerialControl* value) { port = value; }

    std::int32_t echoTimeout() const { return echoTimeoutMs; }
    std::int32_t answerTimeout() const { return answerTimeoutMs; }

    WorkMode workMode() const { return mode; }
    // Also: waitAnswer for the modes that are answered; the last answer and lastEeAdr cleared.
    void setWorkMode(WorkMode value);
    void setWaitAnswer(bool value) { answerAwaited = value; }
    void setRetryCount(std::int16_t value) { retries = value; }
    void setMyEep(clsCmcEeprom* image) { eep = image; }
    void setSizDataOfPacket(std::int16_t value) { packetSize = value; }
    // Also sets the next write address to the list's first (-1 for a list without a range).
    void setCloneWriteAdrList(const std::string& value);
    // Addresses a clone read must have delivered before its end frame counts as success; the
    // radio may send its records in any order, but a record lost on the line must not pass.
    // first > last (the default) asks for nothing.
    void setRequiredReadRange(std::int32_t first, std::int32_t last);

    bool Running() const { return running; }
    DriverError lastError() const { return lastErr; }
    void clearLastError() { lastErr = DriverError::None; }
    DriverError nowError() const { return nowErr; }
    // Stores the error, copies it into lastError and always ends the cycle.
    void setNowError(DriverError value);
    const Bytes& ansInfo() const { return identityAnswer; }
    const Bytes& varLastE8Answer() const { return lastAnswer; }
    std::int32_t lastEeAdr() const { return lastStoredAdr; }
    // Memory bytes the clone read or write under way (or the last one) has carried so far.
    std::int32_t cloneBytesDone() const { return bytesCarried; }
    WaitState waitState() const { return state; }
    std::size_t rxBufSize() const { return rxBuf.size(); }
    // The deadline of the echo or answer wait, in milliseconds from now; 0 when none runs.
    std::int32_t deadlineLeft() { return state == WaitState::Idle ? 0 : waitTick.counter(); }
    // Milliseconds until the last frame sent, and every frame before it, has crossed the line at
    // 9600 bit/s (its echo is in); 0 once it has.
    std::int32_t msUntilLineFree() { return lineBusy.counter(); }

    // No cycle open, the port open, and more than 256 bytes free in its output buffer.
    bool SendEnable() const;
    bool waitEcho() const { return mode != WorkMode::None; }

    // Sends the body and arms the resends; 0 = sent, 1 = refused.
    [[nodiscard]] std::int16_t Send(const Bytes& body);
    // Frames and writes the body; 0 = sent, 1 = refused (cycle open, SendEnable false, or the
    // port failed to take the frame).
    [[nodiscard]] std::int16_t RealSend(const Bytes& body);
    // Sends the last body again while resends are left; 1 when none is left or it is refused.
    [[nodiscard]] std::int16_t RetrySend();

    // Newly received bytes, in any cut.
    void read(const Bytes& chunk);
    // Echo and answer deadlines; called on every timer tick.
    void task();
    // Cycle ended, receive buffer cleared, write address 0, nowError None (lastError kept).
    void Reset();
    void ClearRxBuffer();

  private:
    void setWaitState(WaitState s);
    Bytes readForEcho(Bytes chunk);
    Bytes readAnswer(Bytes chunk);
    void onEcho();
    void onAnswer(const Bytes& frame);
    bool checkAnswer(const Bytes& f);
    bool storeReadFrame(const Bytes& f);
    bool requiredRangeRead() const;
    Bytes makeWriteFrame();
    void sendNextWriteFrame();
    void endCycle();
    void appendToRxBuf(Bytes::const_iterator first, Bytes::const_iterator last);

    SerialControl* port = nullptr;
    std::int32_t echoTimeoutMs = 1000;
    std::int32_t answerTimeoutMs = 1200;
    std::int16_t retries = 0;
    std::int16_t retriesLeft = 0;
    bool answerAwaited = false;
    WorkMode mode = WorkMode::None;
    std::string writeAdrList;
    std::int16_t packetSize = 0;
    clsCmcEeprom* eep = nullptr;
    Bytes lastBody;
    Bytes frameOut; // the whole frame of the open cycle; empty when none is open
    Bytes rxBuf;
    WaitState state = WaitState::Idle;
    clsCmcTick waitTick;
    clsCmcTick lineBusy;
    bool readyToSend = true;
    bool outsideFrame = true;
    std::int32_t writeAdr = 0;
    std::int32_t lastStoredAdr = 0;
    std::int32_t requiredFirst = 0;
    std::int32_t requiredLast = -1;
    std::vector<bool> readCovered; // addresses stored by the clone read under way
    std::int32_t bytesCarried = 0;
    bool running = false;
    DriverError nowErr = DriverError::None;
    DriverError lastErr = DriverError::None;
    Bytes identityAnswer;
    Bytes lastAnswer;
    std::uint8_t e8Sub = 0; // first payload byte of the last adjustment command
};
