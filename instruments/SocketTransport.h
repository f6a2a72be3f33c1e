// SPDX-License-Identifier: GPL-3.0-or-later
// SCPI over a raw TCP socket (TCPIP::host::port::SOCKET), through QTcpSocket: connecting,
// writing and reading all happen in the event loop.
#pragma once

#include "instruments/Transport.h"

#include <QTcpSocket>

namespace instruments {

class SocketTransport : public Transport {
    Q_OBJECT
  public:
    SocketTransport(QString host, quint16 port, QObject* parent = nullptr);
    ~SocketTransport() override;

    void open() override;
    void close() override;
    bool isOpen() const override;
    void send(const QByteArray& command, bool expectAnswer) override;

  private:
    QString host;
    quint16 port;
    QTcpSocket socket;
};

} // namespace instruments
