// SPDX-License-Identifier: GPL-3.0-or-later
// The serial control over QSerialPort. A COM number becomes a device name in one place
// (deviceName): the settings file's section PORTS may map it ("COM1=/dev/ttyUSB0"), the first
// of the files handed in that does wins; without a mapping Linux takes /dev/ttyUSB<n-1> when it
// exists and /dev/ttyS<n-1> otherwise, Windows takes COM<n>. The line settings text "9600,N,8,1"
// gives baud rate, parity, data bits and stop bits. DTR and RTS are raised after opening; a port
// without modem lines (a pseudo-terminal) still opens.
//
// Port errors arrive in one handler: a vanished device (ResourceError, a USB cable pulled; a
// ReadError, which is what a hung-up terminal gives on every read from then on; a WriteError,
// a block that could not be handed to the device) closes the port once and raises
// comEvPortLost, then nothing more. Qt 6 no longer reports framing, parity or break
// conditions, so those communication events never come from here. Arriving data raises
// comEvReceive.
#pragma once

#include "platform/SerialControl.h"

#include <QSerialPort>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QtSerialControl : public SerialControl {
  public:
    struct LineSettings {
        qint32 baud = 9600;
        QSerialPort::Parity parity = QSerialPort::NoParity;
        QSerialPort::DataBits dataBits = QSerialPort::Data8;
        QSerialPort::StopBits stopBits = QSerialPort::OneStop;
    };

    // The settings files that may hold the PORTS section, asked for at every opening, so that
    // a mapping follows the settings file in use; the first file mapping a number wins.
    using PortsFiles = std::function<std::vector<std::string>()>;

    // portsIniPath: the settings file holding the PORTS section (may be empty: no mapping).
    explicit QtSerialControl(std::string portsIniPath = {});
    explicit QtSerialControl(PortsFiles portsFiles);
    ~QtSerialControl() override;

    // "baud,parity,data,stop", parity one of N E O M S, data 5..8, stop 1, 1.5 or 2;
    // nothing for any other text.
    static std::optional<LineSettings> parseSettings(const std::string& text);
    // The device for a COM number, as described above.
    std::string deviceName(std::int16_t port) const;
    // The same for the PORTS sections of the files given (the first mapping wins), so that
    // whoever shows or changes a mapping names the device the port would open.
    static std::string deviceFor(const std::vector<std::string>& portsFiles, std::int16_t port);
    // The section and key of a COM number's mapping ("COM3" in [PORTS]), for whoever writes one.
    static constexpr const char* PortsSection = "PORTS";
    static std::string portsKey(std::int16_t port) { return "COM" + std::to_string(port); }

    void setCommPort(std::int16_t port) override { comPort = port; }
    std::int16_t commPort() const override { return comPort; }
    void setSettings(const std::string& settings) override;
    void setDTREnable(bool on) override;
    void setRTSEnable(bool on) override;
    void setInBufferSize(int bytes) override;
    void setOutBufferSize(int bytes) override { outSize = bytes; }
    int outBufferSize() const override { return outSize; }

    bool setPortOpen(bool open) override;
    bool portOpen() const override { return port.isOpen(); }

    int inBufferCount() override;
    int outBufferCount() const override;
    void clearOutBuffer() override;
    Bytes input() override;
    // Refused when the port is closed or the block does not fit the output buffer.
    bool output(const Bytes& block) override;

  private:
    void onError(QSerialPort::SerialPortError error);

    QSerialPort port;
    PortsFiles portsFiles;
    std::int16_t comPort = 1;
    std::optional<LineSettings> settings = LineSettings{};
    bool dtr = false;
    bool rts = false;
    int inSize = 4096;
    int outSize = 1024;
};
