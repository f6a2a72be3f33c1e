// SPDX-License-Identifier: GPL-3.0-or-later
// SCPI over a serial line (ASRL<device>::INSTR), through QSerialPort: 8 data bits, no parity,
// one stop bit, at the baud rate and with the line end the instrument's manual gives.
#pragma once

#include "instruments/Transport.h"

#include <QSerialPort>

namespace instruments {

struct SerialSettings {
    qint32 baudRate = 9600;
    QByteArray lineEnd = "\n"; // what ends a command; answers may end in "\n" or "\r\n"
};

class SerialTransport : public Transport {
    Q_OBJECT
  public:
    SerialTransport(QString device, SerialSettings settings, QObject* parent = nullptr);
    ~SerialTransport() override;

    void open() override;
    void close() override;
    bool isOpen() const override;
    void send(const QByteArray& command, bool expectAnswer) override;

  private:
    QSerialPort port;
    SerialSettings settings;
};

} // namespace instruments
