// The clone frame driver: frames a command body, writes it to the port, finds its echo on the
// receive line, waits for the radio's answer, checks and stores what comes back, resends on
// silence and reports the outcome as an error number.
//
// One exchange, an adjustment readout with an answer (work mode 5):
//   computer sends   FE FE EE EF  E8 73 51 00 01 03 31 34  FD
//   echo comes back  FE FE EE EF  E8 73 51 00 01 03 31 34  FD   -> waitState 1 -> 2
//   radio answers    FE FE EF EE  E8 73 51 00 01 03 37 46  FD   -> checked, accepted
//   varLastE8Answer() == 73 51 00 01 03 37 46, Running() false, nowError() 0.
//
// What the driver keeps of an answer is the "received frame": the bytes after the last
// preamble byte up to (not including) FD, i.e. EF EE, command, data. Positions in it are
// counted from 1 in the comments below.
//
// The receive path (read) only takes bytes and makes decisions: it never reads the port and
// never holds more than 256 bytes. The driver writes through its port manager (myObjCom) and
// the manager's serial control; it owns no port of its own.
//
// Clone write pacing. The body E3 of a clone write awaits no answer, but its echo and the echo
// of every record are awaited (work mode 3 keeps the cycle open for the echo): each echo that
// comes back sends the next 0xE4 record from the address list; after the last record the mode
// becomes 4, the end frame E5 "Vexo Inc." goes out, and its E6 answer decides (0x00 accepted,
// anything else error 6). A missing echo is error 1, a refused send of a following frame
// error 7. Running() stays true from E3 to the E6 answer, so the sequencer waits for all of it.
#pragma once

#include "link/clsCmcTick.h"
#include "platform/Bytes.h"

#include <cstdint>
#include <string>
#include <vector>

class clsCmcEeprom;
class frmCom;

class clsCmcCln3Drv {
  public:
    // Error numbers (nowError / lastError). 5 is never raised here.
    static constexpr std::int16_t ErrNoEcho = 1;
    static constexpr std::int16_t ErrNoAnswer = 2;
    static constexpr std::int16_t ErrBadFrame = 3;
    static constexpr std::int16_t ErrImageOverflow = 4;
    static constexpr std::int16_t ErrWriteRefused = 6;
    static constexpr std::int16_t ErrWriteSendRefused = 7;

    // Frames kept by the receiver are at most this long; the echo search looks at as many of
    // the latest received bytes.
    static constexpr std::size_t RxBufMax = 256;

    clsCmcCln3Drv();

    frmCom* myObjCom() const { return com; }
    void setMyObjCom(frmCom* value) { com = value; }

    std::int32_t echoTimeout() const { return echoTimeoutMs; }
    void setEchoTimeout(std::int32_t ms) { echoTimeoutMs = ms; }
    std::int32_t answerTimeout() const { return answerTimeoutMs; }
    void setAnswerTimeout(std::int32_t ms) { answerTimeoutMs = ms; }

    std::int16_t workMode() const { return mode; }
    // Also: waitAnswer true for modes 1, 2 and 4, false otherwise; varLastE8Answer and
    // lastEeAdr cleared.
    void setWorkMode(std::int16_t value);
    bool waitAnswer() const { return answerAwaited; }
    void setWaitAnswer(bool value) { answerAwaited = value; }
    std::int16_t retryCount() const { return retries; }
    void setRetryCount(std::int16_t value) { retries = value; }
    std::int16_t retryLeft() const { return retriesLeft; }
    void setMyEep(clsCmcEeprom* image) { eep = image; }
    std::int16_t sizDataOfPacket() const { return packetSize; }
    void setSizDataOfPacket(std::int16_t value) { packetSize = value; }
    const std::string& cloneWriteAdrList() const { return writeAdrList; }
    // Also sets curWriteAdr to the list's first address (-1 for a list without a range).
    void setCloneWriteAdrList(const std::string& value);

    bool Running() const { return running; }
    std::int16_t lastError() const { return lastErr; }
    void setLastError(std::int16_t value) { lastErr = value; }
    std::int16_t nowError() const { return nowErr; }
    // Stores the value, copies a nonzero one into lastError and always ends the cycle.
    void setNowError(std::int16_t value);
    const Bytes& ansInfo() const { return identityAnswer; }
    const Bytes& varLastE8Answer() const { return lastAnswer; }
    std::int32_t lastEeAdr() const { return lastStoredAdr; }
    // Addresses a clone read must have delivered before its end frame counts as success; the
    // radio may send its records in any order, but a record lost on the line must not pass.
    // first > last (the default) asks for nothing.
    void setRequiredReadRange(std::int32_t first, std::int32_t last);

    // No cycle open, the port open, and more than 256 bytes free in its output buffer.
    bool SendEnable() const;
    bool waitEcho() const { return mode >= 1 && mode <= 5; }

    // Sends the body and arms the resends (retryLeft := retryCount); 0 = sent, 1 = refused.
    std::int16_t Send(const Bytes& body);
    // Frames and writes the body; 0 = sent, 1 = refused (cycle open, SendEnable false, or the
    // port failed to take the frame).
    std::int16_t RealSend(const Bytes& body);
    // Sends the last body again while resends are left; 1 when none is left or it is refused.
    std::int16_t RetrySend();

    // Newly received bytes, in any cut.
    void read(const Bytes& chunk);
    // Echo and answer deadlines; called on every timer tick.
    void task();
    // Cycle ended, receive buffer cleared, clone-write address 0, nowError 0 (lastError kept).
    void Reset();
    void ClearRxBuffer();

    // State for the port manager's status and for tests.
    std::int16_t waitState() const { return state; }
    const Bytes& txFrame() const { return frameOut; }
    std::int32_t curWriteAdr() const { return writeAdr; }
    std::uint8_t expectedE8Sub() const { return e8Sub; }
    std::size_t rxBufSize() const { return rxBuf.size(); }

    // True when a received frame is malformed for its command (see the checks in the source).
    bool isBadFrame(const Bytes& f) const;

  private:
    void setWaitState(std::int16_t s);
    void onRxEvent(int ev, const Bytes& frame);
    std::int16_t checkAnswer(const Bytes& f);
    static std::int32_t recordAdr(const Bytes& f);
    std::int16_t storeReadFrame(const Bytes& f, clsCmcEeprom* image);
    bool requiredRangeRead() const;
    Bytes makeWriteFrame();
    void sendNextWriteFrame();
    void endCycle();
    void appendToRxBuf(Bytes::const_iterator first, Bytes::const_iterator last);

    frmCom* com = nullptr;
    std::int32_t echoTimeoutMs = 1000;
    std::int32_t answerTimeoutMs = 1200;
    std::int16_t retries = 0;
    std::int16_t retriesLeft = 0;
    bool answerAwaited = false;
    std::int16_t mode = 0;
    std::string writeAdrList;
    std::int16_t packetSize = 0;
    clsCmcEeprom* eep = nullptr;
    Bytes lastBody;
    Bytes frameOut;
    Bytes rxBuf;
    std::int16_t state = 0;
    clsCmcTick waitTick;
    bool readyToSend = true;
    bool outsideFrame = true;
    std::int32_t writeAdr = 0;
    std::int32_t lastStoredAdr = 0;
    std::int32_t requiredFirst = 0;
    std::int32_t requiredLast = -1;
    std::vector<bool> readCovered; // addresses stored by the clone read under way
    bool running = false;
    std::int16_t nowErr = 0;
    std::int16_t lastErr = 0;
    Bytes identityAnswer;
    Bytes lastAnswer;
    std::uint8_t e8Sub = 0;
};
