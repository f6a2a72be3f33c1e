// SPDX-License-Identifier: GPL-3.0-or-later
// The SCPI command queue.
#include "instruments/ScpiInstrument.h"

#include "instruments/InstrumentLog.h"
#include "instruments/InstrumentMessages.h"
#include "platform/TickCount.h"

namespace instruments {
namespace {

const QByteArray kErrorQuery = "SYST:ERR?";
// How often a deadline is looked at: the program's tick.
constexpr int kDeadlineCheckMs = 50;

// An SCPI error queue answers "0,..." (or "+0,...") when it is empty.
bool noError(const QByteArray& answer) {
    const QByteArray text = answer.trimmed();
    return text.startsWith('0') || text.startsWith("+0");
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

ScpiInstrument::ScpiInstrument(std::unique_ptr<Transport> t, QObject* parent)
    : QObject(parent), transport(std::move(t)) {
    transport->setParent(nullptr); // owned here, not by a Qt parent
    connect(transport.get(), &Transport::opened, this, [this] {
        state = State::Connected;
        emit connected();
        sendNext();
    });
    connect(transport.get(), &Transport::lineReceived, this, &ScpiInstrument::onLine);
    connect(transport.get(), &Transport::failed, this, &ScpiInstrument::onTransportFailed);
    deadlineTimer.setInterval(kDeadlineCheckMs);
    connect(&deadlineTimer, &QTimer::timeout, this, &ScpiInstrument::tick);
}

// The transport closes as it goes; nothing it says then may reach a queue being torn down.
ScpiInstrument::~ScpiInstrument() {
    QObject::disconnect(transport.get(), nullptr, this, nullptr);
}

void ScpiInstrument::connectToInstrument() {
    state = State::Opening;
    lateAnswers = 0;
    transport->open();
}

int ScpiInstrument::query(const std::string& command) {
    return enqueue(Kind::Query, command, false);
}

int ScpiInstrument::set(const std::string& command) {
    return enqueue(Kind::Setting, command, false);
}

int ScpiInstrument::setFirst(const std::string& command) {
    return enqueue(Kind::Setting, command, true);
}

int ScpiInstrument::enqueue(Kind kind, const std::string& command, bool first) {
    const int ticket = nextTicket++;
    if (state == State::Lost || state == State::Closed) {
        // Reported from the event loop, as every other outcome is.
        QTimer::singleShot(0, this, [this, ticket, command] {
            emit failed(ticket, text(instrument_messages::notConnected(command)));
        });
        return ticket;
    }
    const Command c{ticket, kind, command};
    if (first) {
        waiting.push_front(c);
    } else {
        waiting.push_back(c);
    }
    sendNext();
    return ticket;
}

void ScpiInstrument::dropWaiting(const std::function<std::string(const std::string&)>& why) {
    std::deque<Command> dropped;
    dropped.swap(waiting);
    for (const Command& c : dropped) {
        emit failed(c.ticket, text(why(c.text)));
    }
}

void ScpiInstrument::sendNext() {
    if (onWire || waiting.empty() || state != State::Connected) {
        return;
    }
    onWire = std::make_unique<Command>(waiting.front());
    waiting.pop_front();
    const QByteArray command = QByteArray::fromStdString(onWire->text);
    const bool isQuery = onWire->kind == Kind::Query;
    qCInfo(lcInstruments, "out %s", command.constData());
    transport->send(command, isQuery);
    if (!isQuery) {
        transport->send(kErrorQuery, true); // the setting's verdict
    }
    sentAt = platform::TickCount::now();
    deadlineTimer.start();
}

void ScpiInstrument::onLine(const QByteArray& line) {
    qCInfo(lcInstruments, "in %s%s", line.constData(), lateAnswers > 0 ? " (late, dropped)" : "");
    if (lateAnswers > 0) {
        --lateAnswers;
        return;
    }
    if (!onWire) {
        return; // nothing asked: an instrument talking out of turn
    }
    const Command done = *onWire;
    finishOnWire();
    if (done.kind == Kind::Query) {
        emit answered(done.ticket, QString::fromUtf8(line.trimmed()));
    } else if (noError(line)) {
        emit completed(done.ticket);
    } else {
        const std::string instrumentText = line.trimmed().toStdString();
        emit failed(done.ticket,
                    text(instrument_messages::instrumentError(done.text, instrumentText)));
    }
    sendNext();
}

void ScpiInstrument::tick() {
    if (!onWire || platform::TickCount::since(sentAt) < timeoutMs) {
        return;
    }
    const Command late = *onWire;
    finishOnWire();
    ++lateAnswers; // a query's answer or a setting's error reply is still owed
    qCInfo(lcInstruments, "no answer to %s within %d ms", late.text.c_str(), timeoutMs);
    emit failed(late.ticket, text(instrument_messages::noAnswer(late.text, timeoutMs)));
    sendNext();
}

void ScpiInstrument::finishOnWire() {
    onWire.reset();
    deadlineTimer.stop();
}

void ScpiInstrument::onTransportFailed(const QString& why) {
    qCInfo(lcInstruments, "connection failed: %s", qPrintable(why));
    const bool wasOpening = state == State::Opening;
    state = State::Lost;
    const std::string reason = why.toStdString();
    const std::string message = wasOpening ? instrument_messages::cannotConnect(reason)
                                           : instrument_messages::connectionLost(reason);
    std::deque<Command> pending;
    pending.swap(waiting);
    if (onWire) {
        pending.push_front(*onWire);
        finishOnWire();
    }
    for (const Command& c : pending) {
        emit failed(c.ticket, text(message));
    }
    emit connectionLost(text(message));
}

} // namespace instruments
