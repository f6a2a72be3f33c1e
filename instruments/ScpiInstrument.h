// SPDX-License-Identifier: GPL-3.0-or-later
// An SCPI instrument on any transport: commands wait in a queue and go out one at a time, each
// with a deadline. A query ends with its answer; a setting ends when the instrument's error
// queue, asked with SYST:ERR? right after it, answers 0. Deadlines are kept on the program's
// tick count and checked by a timer of the instrument's own (or by tick()), so nothing waits.
//
//   set("POW -30.0 dBm")   -> "POW -30.0 dBm", "SYST:ERR?"   <- 0,"No error"    completed(t)
//   set("POWR -30 dBm")    -> "POWR -30 dBm", "SYST:ERR?"    <- -113,"Undefined header"
//                                                               failed(t, "... -113,...")
//   query("*IDN?")         -> "*IDN?"                         <- VXK5SIM,SG-1,0,1.0
//                                                               answered(t, "VXK5SIM,SG-1,0,1.0")
#pragma once

#include "instruments/Transport.h"

#include <QTimer>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>

namespace instruments {

class ScpiInstrument : public QObject {
    Q_OBJECT
  public:
    static constexpr int kDefaultTimeoutMs = 2000;

    explicit ScpiInstrument(std::unique_ptr<Transport> transport, QObject* parent = nullptr);
    ~ScpiInstrument() override;

    // Opens the transport; connected() or connectionLost() follows. Commands given before
    // then wait for the connection.
    void connectToInstrument();
    bool isConnected() const { return transport->isOpen() && state == State::Connected; }
    void setTimeoutMs(int milliseconds) { timeoutMs = milliseconds; }
    int timeout() const { return timeoutMs; }

    // Each returns a ticket that its answered(), completed() or failed() carries.
    int query(const std::string& command);
    int set(const std::string& command);
    // A setting that goes ahead of everything waiting (switching an output off): it follows
    // the command on the wire, if any, at once.
    int setFirst(const std::string& command);
    // Fails every command still waiting to be sent, with the text why(command) gives (the one
    // on the wire runs to its end).
    void dropWaiting(const std::function<std::string(const std::string&)>& why);
    bool idle() const { return !onWire && waiting.empty(); }

    // Checks the deadline of the command on the wire; the instrument's timer calls it too.
    void tick();

  signals:
    void connected();
    void answered(int ticket, const QString& answer);
    void completed(int ticket);
    void failed(int ticket, const QString& message);
    void connectionLost(const QString& message);

  private:
    enum class State { Closed, Opening, Connected, Lost };
    enum class Kind { Query, Setting };
    struct Command {
        int ticket = 0;
        Kind kind = Kind::Query;
        std::string text;
    };

    int enqueue(Kind kind, const std::string& text, bool first);
    void sendNext();
    void onLine(const QByteArray& line);
    void onTransportFailed(const QString& why);
    void finishOnWire();

    std::unique_ptr<Transport> transport;
    State state = State::Closed;
    std::deque<Command> waiting;
    std::unique_ptr<Command> onWire;
    std::int32_t sentAt = 0;
    int timeoutMs = kDefaultTimeoutMs;
    int nextTicket = 1;
    // Answers still owed to commands that ran out of time: they are dropped when they come,
    // so that a late answer is never taken for the next command's.
    int lateAnswers = 0;
    QTimer deadlineTimer;
};

} // namespace instruments
