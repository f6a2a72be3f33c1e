// SPDX-License-Identifier: GPL-3.0-or-later
// The raw socket transport.
#include "instruments/SocketTransport.h"

namespace instruments {
namespace {

const QString kClosed = QStringLiteral("the instrument closed the connection");

} // namespace

SocketTransport::SocketTransport(QString hostName, quint16 portNumber, QObject* parent)
    : Transport(parent), host(std::move(hostName)), port(portNumber) {
    connect(&socket, &QTcpSocket::connected, this, &Transport::opened);
    connect(&socket, &QTcpSocket::readyRead, this, [this] { takeBytes(socket.readAll()); });
    // A refused or dropped connection, and the far end closing it, all end the same way.
    connect(&socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
        fail(e == QAbstractSocket::RemoteHostClosedError ? kClosed : socket.errorString());
    });
    connect(&socket, &QTcpSocket::disconnected, this, [this] { fail(kClosed); });
}

// An open socket reports its own closing on destruction; nobody is left to hear it.
SocketTransport::~SocketTransport() {
    QObject::disconnect(&socket, nullptr, this, nullptr);
}

void SocketTransport::open() {
    clearLineBuffer();
    socket.connectToHost(host, port);
}

void SocketTransport::close() {
    socket.abort();
}

bool SocketTransport::isOpen() const {
    return socket.state() == QAbstractSocket::ConnectedState;
}

void SocketTransport::send(const QByteArray& command, bool) {
    socket.write(command + '\n');
}

} // namespace instruments
