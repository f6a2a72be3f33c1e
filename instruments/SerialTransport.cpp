// SPDX-License-Identifier: GPL-3.0-or-later
// The serial line transport.
#include "instruments/SerialTransport.h"

#include <QTimer>

namespace instruments {

SerialTransport::SerialTransport(QString device, SerialSettings lineSettings, QObject* parent)
    : Transport(parent), settings(std::move(lineSettings)) {
    port.setPortName(device);
    connect(&port, &QSerialPort::readyRead, this, [this] { takeBytes(port.readAll()); });
    // A pulled adapter shows as a resource error; the port is closed and it is reported once.
    connect(&port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        if (e == QSerialPort::ResourceError) {
            fail(port.errorString());
        }
    });
}

SerialTransport::~SerialTransport() {
    QObject::disconnect(&port, nullptr, this, nullptr);
}

void SerialTransport::open() {
    clearLineBuffer();
    port.setBaudRate(settings.baudRate);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    // Opening a local port does not wait; the result is still reported from the event loop so
    // that every transport answers open() the same way.
    const bool ok = port.open(QIODevice::ReadWrite);
    const QString why = ok ? QString() : port.errorString();
    QTimer::singleShot(0, this, [this, ok, why] {
        if (ok) {
            emit opened();
        } else {
            fail(why);
        }
    });
}

void SerialTransport::close() {
    if (port.isOpen()) {
        port.close();
    }
}

bool SerialTransport::isOpen() const {
    return port.isOpen();
}

void SerialTransport::send(const QByteArray& command, bool) {
    port.write(command + settings.lineEnd);
}

} // namespace instruments
