// SPDX-License-Identifier: GPL-3.0-or-later
// QSerialPort behind the serial control: naming, line settings, the one error handler.
#include "platform/QtSerialControl.h"

#include "platform/IniFile.h"
#include "platform/SessionLog.h"

#include <QFileInfo>

#include <charconv>
#include <vector>

namespace {

std::vector<std::string> splitFields(const std::string& text) {
    std::vector<std::string> fields;
    std::string field;
    for (char c : text) {
        if (c == ',') {
            fields.push_back(field);
            field.clear();
        } else if (c != ' ') {
            field += c;
        }
    }
    fields.push_back(field);
    return fields;
}

std::optional<long> wholeNumber(const std::string& text) {
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

QtSerialControl::QtSerialControl(std::string portsIniPath)
    : QtSerialControl(PortsFiles([path = std::move(portsIniPath)] {
          return path.empty() ? std::vector<std::string>{} : std::vector<std::string>{path};
      })) {}

QtSerialControl::QtSerialControl(PortsFiles files) : portsFiles(std::move(files)) {
    QObject::connect(&port, &QSerialPort::readyRead, [this] { raiseEvent(comEvReceive); });
    QObject::connect(&port, &QSerialPort::errorOccurred,
                     [this](QSerialPort::SerialPortError error) { onError(error); });
}

QtSerialControl::~QtSerialControl() {
    QObject::disconnect(&port, nullptr, nullptr, nullptr);
    port.close();
}

std::optional<QtSerialControl::LineSettings>
QtSerialControl::parseSettings(const std::string& text) {
    const std::vector<std::string> fields = splitFields(text);
    if (fields.size() != 4) {
        return std::nullopt;
    }
    LineSettings result;
    const auto baud = wholeNumber(fields[0]);
    if (!baud || *baud <= 0 || *baud > 4000000) {
        return std::nullopt;
    }
    result.baud = static_cast<qint32>(*baud);

    const std::string& parity = fields[1];
    if (parity == "N" || parity == "n") {
        result.parity = QSerialPort::NoParity;
    } else if (parity == "E" || parity == "e") {
        result.parity = QSerialPort::EvenParity;
    } else if (parity == "O" || parity == "o") {
        result.parity = QSerialPort::OddParity;
    } else if (parity == "M" || parity == "m") {
        result.parity = QSerialPort::MarkParity;
    } else if (parity == "S" || parity == "s") {
        result.parity = QSerialPort::SpaceParity;
    } else {
        return std::nullopt;
    }

    const auto data = wholeNumber(fields[2]);
    if (!data || *data < 5 || *data > 8) {
        return std::nullopt;
    }
    result.dataBits = static_cast<QSerialPort::DataBits>(*data);

    if (fields[3] == "1") {
        result.stopBits = QSerialPort::OneStop;
    } else if (fields[3] == "1.5") {
        result.stopBits = QSerialPort::OneAndHalfStop;
    } else if (fields[3] == "2") {
        result.stopBits = QSerialPort::TwoStop;
    } else {
        return std::nullopt;
    }
    return result;
}

std::string QtSerialControl::deviceName(std::int16_t number) const {
    return deviceFor(portsFiles ? portsFiles() : std::vector<std::string>{}, number);
}

std::string QtSerialControl::deviceFor(const std::vector<std::string>& files, std::int16_t number) {
    for (const std::string& file : files) {
        const std::string mapped = platform::IniFile(file).read(PortsSection, portsKey(number), "");
        if (!mapped.empty()) {
            return mapped;
        }
    }
#ifdef Q_OS_WIN
    return key;
#else
    const std::string usb = "/dev/ttyUSB" + std::to_string(number - 1);
    if (QFileInfo::exists(QString::fromStdString(usb))) {
        return usb;
    }
    return "/dev/ttyS" + std::to_string(number - 1);
#endif
}

void QtSerialControl::setSettings(const std::string& text) {
    settings = parseSettings(text);
}

void QtSerialControl::setDTREnable(bool on) {
    dtr = on;
    if (port.isOpen()) {
        port.setDataTerminalReady(on); // no modem lines (a pseudo-terminal) is not an error
    }
}

void QtSerialControl::setRTSEnable(bool on) {
    rts = on;
    if (port.isOpen()) {
        port.setRequestToSend(on);
    }
}

void QtSerialControl::setInBufferSize(int bytes) {
    inSize = bytes;
    port.setReadBufferSize(bytes);
}

bool QtSerialControl::setPortOpen(bool open) {
    if (!open) {
        port.close();
        return true;
    }
    if (port.isOpen()) {
        return true;
    }
    if (!settings) {
        return false; // a settings text that cannot be applied
    }
    const QString device = QString::fromStdString(deviceName(comPort));
    port.setPortName(device);
    port.setBaudRate(settings->baud);
    port.setParity(settings->parity);
    port.setDataBits(settings->dataBits);
    port.setStopBits(settings->stopBits);
    port.setFlowControl(QSerialPort::NoFlowControl);
    port.setReadBufferSize(inSize);
    if (!port.open(QIODevice::ReadWrite)) {
        qCInfo(platform::lcPlatform).noquote() << "COM" + QString::number(comPort) << "device"
                                               << device << "not opened:" << port.errorString();
        return false;
    }
    qCInfo(platform::lcPlatform).noquote()
        << "COM" + QString::number(comPort) << "device" << device << "opened";
    // Failing to set the modem lines is fine: a pseudo-terminal has none.
    port.setDataTerminalReady(dtr);
    port.setRequestToSend(rts);
    port.clearError();
    return true;
}

int QtSerialControl::inBufferCount() {
    return port.isOpen() ? static_cast<int>(port.bytesAvailable()) : 0;
}

int QtSerialControl::outBufferCount() const {
    return port.isOpen() ? static_cast<int>(port.bytesToWrite()) : 0;
}

void QtSerialControl::clearOutBuffer() {
    // The send buffer only ever holds whole frames that the driver already counts as sent. The
    // port manager empties it on every open request, which each command of the sequencer makes
    // (for a port already open it only empties the buffer and resets the driver), and a
    // procedure step may send several commands in one tick. Discarding would lose commands on
    // the wire, so "emptying" hands them to the line now instead.
    if (port.isOpen()) {
        port.flush();
    }
}

Bytes QtSerialControl::input() {
    if (!port.isOpen()) {
        return {};
    }
    const QByteArray data = port.readAll();
    return Bytes(data.begin(), data.end());
}

bool QtSerialControl::output(const Bytes& block) {
    if (!port.isOpen() || outBufferCount() + static_cast<int>(block.size()) > outSize) {
        return false;
    }
    const qint64 written =
        port.write(reinterpret_cast<const char*>(block.data()), static_cast<qint64>(block.size()));
    port.flush(); // on its way at once, not at the next turn of the event loop
    // A failed write has closed the port in onError meanwhile.
    return written == static_cast<qint64>(block.size()) && port.isOpen();
}

void QtSerialControl::onError(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
        // The device went away (a USB cable pulled, the far end of a pseudo-terminal closed)
        // or no longer takes what is written: reads and writes fail from now on, and the
        // port's notifiers would keep firing with the same error. Close once and say so; a
        // closed port raises nothing more.
        if (port.isOpen()) {
            port.close();
            raiseEvent(comEvPortLost);
        }
        break;
    default:
        // Open failures are reported by setPortOpen's result; the rest end in the link's
        // deadlines.
        break;
    }
}
