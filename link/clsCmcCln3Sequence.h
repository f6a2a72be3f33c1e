// SPDX-License-Identifier: GPL-3.0-or-later
// Whole operations on the radio, each a short run of clone-protocol commands: identity query,
// identity check plus clone read, identity check plus clone write, and one adjustment (E8)
// command with or without an answer. A caller starts one with a single call and then watches
// OpRunning(); the sequencer takes one step per tick (task), opens the port on demand, checks
// the radio's identity, says when an operation failed (operationFailed) and releases the port
// after comHoldReload milliseconds without an exchange. An operation is over at the first
// task() after its last exchange has ended; one task() per tick, ahead of the model's, is all
// the link needs.
//
//   seq.easySendE8NoAnswer("0035526B39547A33577131");
//     -> port opened, frame FE FE EE EF E8 73 51 00 01 00 35 52 ... 31 FD written in this call;
//        its exchange ends there (no answer is awaited), but OpRunning() stays true until the
//        next task(), so that whoever sent it sends nothing more in this tick.
//   seq.easyCloneRead();
//     -> E0 73 51 00 00, the E1 answer checked against "7351" and the sub code rule, then
//        E2 73 51 <sub code> and the records until the E5 end frame; OpRunning() throughout.
#pragma once

#include "link/clsCmcTick.h"
#include "platform/Bytes.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <string>

class clsCmcRadio;
class frmCom;

enum class Operation : std::int16_t { None = 0, CloneRead, CloneWrite, E8 };

// The sequencer's own errors; the driver's are separate.
enum class SequencerError : std::int16_t {
    None = 0,
    ModelCode = 1, // the radio answered another model code (or did not answer)
    SubCode = 2,   // the radio's sub code is not one this utility may work on
    Identity = 3,  // the identity query failed on the line
};

class clsCmcCln3Sequence : public QObject {
    Q_OBJECT

  public:
    // The radio model's rule for the sub code the radio answers.
    using SubNameRule = std::function<bool(const std::string& nameS)>;

    // Resets the link (driver and port manager), then ComPortNo 1 and no automatic release.
    clsCmcCln3Sequence(frmCom& com, clsCmcRadio& radio, SubNameRule subNameRule);

    // Driver reset, port manager reset (port closed, defaults, error flags cleared), Standby.
    void Reset();
    // Operation, step and E8 text back to idle.
    void Standby();
    // Gives up the operation under way without closing the port: the driver's open exchange
    // ends (a late answer is dropped) and the sequencer is idle, ready to send at once. A
    // command without an answer that is on the line stays there.
    void abandonOperation();
    void easyReset(std::int16_t portNo);
    void easyCloneRead();
    void easyCloneWrite();
    // Sends the E8 command in this call when the link is idle; the operation ends at the next
    // task() call, its exchange (and so the port's hold time) at once. True when the frame went out
    // in this call; false when it did not (the port is closed or lost, or an exchange is still
    // under way and the command waits for it), and then nothing may be recorded as sent.
    [[nodiscard]] bool easySendE8NoAnswer(const std::string& e8Text);
    // Sends the E8 command and keeps OpRunning() true until the answer is in (two resends).
    void easySendE8ReqAnswer(const std::string& e8Text);
    // One step; called once on every tick.
    void task();

    Operation operation() const { return op; }
    std::int16_t ComPortNo() const { return comPortNo; }
    std::int32_t comHoldReload() const { return holdReload; }
    // Milliseconds the port stays open after the last operation; 0 = never released. Restarts
    // the idle countdown.
    void setComHoldReload(std::int32_t milliseconds);

    bool OpRunning() const { return step != 0; }
    // Milliseconds until the idle port is released; 0 when no release is pending.
    std::int32_t msUntilRelease();
    SequencerError error() const { return seqError; }

    // The radio's identity answer (EF EE E1 model sub ...) and the codes taken from it as
    // upper-case hex text; empty when the answer is too short to hold them.
    std::string ansNameM() const;
    std::string ansNameS() const;

  signals:
    // An operation ended in an error: the port is closed, the codes say why.
    void operationFailed();

  private:
    enum class Phase : std::int16_t {
        None = 0,
        Identity,
        CloneRead,
        CloneWrite,
        E8,
        ErrorEnd,
        Done,
    };

    void start(Operation operation, bool answerRequired = false);
    Phase nextPhase();
    Phase afterIdentity();
    void startPhase(Phase phase);
    void prepareOp();
    // The operation's last exchange has ended, though the operation is not over yet: a command
    // without an answer, handed to the port.
    bool exchangeOver() const;

    frmCom& com;
    clsCmcRadio& radio;
    SubNameRule subNameLegal;
    std::int16_t comPortNo = 1;
    Operation op = Operation::None;
    std::int16_t step = 0; // steps taken in the operation under way; 0 = idle
    std::string e8Text;
    bool ansRequired = false;
    std::int32_t holdReload = 0;
    clsCmcTick comHoldTick;
    SequencerError seqError = SequencerError::None;
    bool lastSendTaken = false; // the driver took the frame of the phase started last
};
