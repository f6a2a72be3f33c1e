// SPDX-License-Identifier: GPL-3.0-or-later
// The real serial control (QtSerialControl over QSerialPort), and a count of the bytes the
// utility hands to it, with the moment of each hand-over. Every call goes to the real control
// unchanged and its events come back unchanged; the count says which frame a wait belongs to
// and which frames a piece of work sent, exactly, however many frames one tick hands over and
// however late QSerialPort and the kernel pass them on to the pseudo-terminal.
//
//   auto serial = std::make_unique<CountingSerialControl>(settingsFile);
//   CountingSerialControl& counted = *serial;
//   Utility utility(places, std::move(serial));
//   counted.bytesHandedOver();      // 13 after the first E8 command
#pragma once

#include "platform/QtSerialControl.h"

#include <cstdint>
#include <map>
#include <string>

namespace vsk5bench {

class CountingSerialControl : public SerialControl {
  public:
    // portsIniPath: the settings file whose [PORTS] section names the device.
    explicit CountingSerialControl(const std::string& portsIniPath);

    std::int64_t bytesHandedOver() const { return handedOver; }
    // When the block holding the computer's byte number n (counted from 1) was handed over;
    // 0 for a byte not handed over yet.
    std::int64_t handedAt(std::int64_t n) const;

    void setCommPort(std::int16_t port) override { real.setCommPort(port); }
    std::int16_t commPort() const override { return real.commPort(); }
    void setSettings(const std::string& settings) override { real.setSettings(settings); }
    void setDTREnable(bool on) override { real.setDTREnable(on); }
    void setRTSEnable(bool on) override { real.setRTSEnable(on); }
    void setInBufferSize(int bytes) override { real.setInBufferSize(bytes); }
    void setOutBufferSize(int bytes) override { real.setOutBufferSize(bytes); }
    int outBufferSize() const override { return real.outBufferSize(); }
    bool setPortOpen(bool open) override { return real.setPortOpen(open); }
    bool portOpen() const override { return real.portOpen(); }
    int inBufferCount() override { return real.inBufferCount(); }
    int outBufferCount() const override { return real.outBufferCount(); }
    void clearOutBuffer() override { real.clearOutBuffer(); }
    Bytes input() override { return real.input(); }
    bool output(const Bytes& block) override;

  private:
    QtSerialControl real;
    std::int64_t handedOver = 0;
    std::map<std::int64_t, std::int64_t> moments; // end offset -> nowNs of the hand-over
};

} // namespace vsk5bench
