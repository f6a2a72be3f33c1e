// Whole operations on the radio, each a short run of clone-protocol commands: identity query,
// identity check plus clone read, identity check plus clone write, and one adjustment (E8)
// command with or without an answer. A caller starts one with a single call and then watches
// OpRunning(); the sequencer takes one step per timer tick (task), opens the port on demand,
// checks the radio's identity, reports failures once through the host's MsgBoxCloneErr and
// releases the port after comHoldReload milliseconds without an operation.
//
//   gObjSeq().easySendE8NoAnswer("0035526B39547A33577131");
//     -> port opened, frame FE FE EE EF E8 73 51 00 01 00 35 52 ... 31 FD written in this call;
//        OpRunning() stays true until the next task() call.
//   gObjSeq().easyCloneRead();
//     -> E0 73 51 00 00, E1 answer checked against "7351" and the sub code rule, then
//        E2 73 51 <sub code> and the records until the E5 end frame; OpRunning() is true
//        throughout.
//
// The sequencer reaches the port manager through gObjCom() and the radio identity through
// gObjRadio(); gObjCom() must be set before the sequencer is created.
#pragma once

#include "link/clsCmcTick.h"
#include "platform/Bytes.h"

#include <cstdint>
#include <string>

class clsCmcCln3Sequence {
  public:
    // Operation numbers.
    static constexpr std::int16_t OpIdentity = 1;
    static constexpr std::int16_t OpCloneRead = 2;
    static constexpr std::int16_t OpCloneWrite = 3;
    static constexpr std::int16_t OpE8 = 4;

    // Sequencer errors (the driver's codes are separate).
    static constexpr std::int16_t ErrModelCode = 1;
    static constexpr std::int16_t ErrSubCode = 2;
    static constexpr std::int16_t ErrIdentity = 3;

    // Resets the link (driver and port manager), then ComPortNo 1 and no automatic release.
    clsCmcCln3Sequence();

    // Driver reset, port manager reset (port closed, defaults, error flags cleared), Standby.
    void Reset();
    // Operation, step and E8 text back to idle.
    void Standby();
    // Gives up the operation under way without closing the port: the driver's open exchange
    // ends (a late answer is dropped) and the sequencer is idle, ready to send at once.
    void abandonOperation();
    void easyReset(std::int16_t portNo);
    void easyCloneRead();
    void easyCloneWrite();
    // Sends the E8 command in this call when the link is idle; the operation ends at the next
    // task() call. True when the frame went out in this call; false when it did not (the port
    // is closed or lost, or an exchange is still under way and the command waits for it), and
    // then nothing may be recorded as sent.
    [[nodiscard]] bool easySendE8NoAnswer(const std::string& e8Text);
    // Sends the E8 command and keeps OpRunning() true until the answer is in (two resends).
    void easySendE8ReqAnswer(const std::string& e8Text);
    void start();
    // One step; called on every tick, and once more in the same tick while OpRunning().
    void task();

    std::int16_t Operation() const { return operation; }
    // Also clears e8AnsRequired: an answer request must be set after the operation.
    void setOperation(std::int16_t value);
    const std::string& e8HexStrToSend() const { return e8Text; }
    void setE8HexStrToSend(const std::string& value) { e8Text = value; }
    bool e8AnsRequired() const { return ansRequired; }
    void setE8AnsRequired(bool value) { ansRequired = value; }
    std::int16_t ComPortNo() const { return comPortNo; }
    void setComPortNo(std::int16_t value) { comPortNo = value; }
    std::int32_t comHoldReload() const { return holdReload; }
    // Milliseconds the port stays open after the last operation; 0 = never released. Restarts
    // the idle countdown.
    void setComHoldReload(std::int32_t milliseconds);

    bool OpRunning() const { return step != 0; }
    std::int16_t error() const { return seqError; }
    std::int16_t phase() const { return curPhase; }
    std::int16_t opStep() const { return step; }

    // The radio's identity answer (EF EE E1 model sub ...) and the codes taken from it as
    // upper-case hex text; empty when the answer is too short to hold them.
    Bytes ansInfo() const;
    std::string ansNameM() const;
    std::string ansNameS() const;

  private:
    void startPhase();
    void prepareOp();
    void reportError();

    std::int16_t comPortNo = 1;
    std::int16_t operation = 0;
    std::int16_t curPhase = 0;
    std::int16_t step = 0;
    std::string e8Text;
    bool ansRequired = false;
    std::int32_t holdReload = 0;
    clsCmcTick comHoldTick;
    std::int16_t seqError = 0;
    bool lastSendTaken = false; // the driver took the frame of the phase started last
};
