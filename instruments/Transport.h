// SPDX-License-Identifier: GPL-3.0-or-later
// One connection to an instrument, whatever carries it: a command goes out as one line, an
// answer comes back as one line, and nothing here ever blocks the caller's thread. Every
// transport reports by signal: opened() once the connection stands, lineReceived() per answer,
// failed() once when it could not be opened or was lost (it is closed by then).
//
//   transport.open();                      ... opened()
//   transport.send("*IDN?", true);         ... lineReceived("VXK5SIM,SG-1,0,1.0")
//   (the instrument is switched off)       ... failed("the instrument closed the connection")
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace instruments {

class Transport : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;
    ~Transport() override = default;

    virtual void open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // One command, the line end added here. expectAnswer tells the transports that must fetch
    // an answer themselves (USBTMC, VXI-11) to read one; a stream delivers answers unasked.
    virtual void send(const QByteArray& command, bool expectAnswer) = 0;

  signals:
    void opened();
    void lineReceived(const QByteArray& line);
    void failed(const QString& why);

  protected:
    // Bytes from a stream: every complete line goes out by lineReceived(), without its line
    // end ("\n" or "\r\n"); the rest waits for more.
    void takeBytes(const QByteArray& bytes);
    // Reports a failure once per opening; close() has been called by then.
    void fail(const QString& why);
    void clearLineBuffer() {
        partial.clear();
        failReported = false;
    }

  private:
    QByteArray partial;
    bool failReported = false;
};

} // namespace instruments
