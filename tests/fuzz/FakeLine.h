// SPDX-License-Identifier: GPL-3.0-or-later
// A serial control whose far end is whatever the caller hands it: received bytes wait until the
// port manager takes them, written blocks are kept, and the line events of a real port (data
// arrived, device gone, a write that fails for good) are raised on demand. The fuzz target
// feeds the driver through it; the seed maker joins it to the simulated radio.
#pragma once

#include "platform/SerialControl.h"

namespace fuzzline {

class FakeLine : public SerialControl {
  public:
    void setCommPort(std::int16_t port) override { comPort = port; }
    std::int16_t commPort() const override { return comPort; }
    void setSettings(const std::string&) override {}
    void setDTREnable(bool) override {}
    void setRTSEnable(bool) override {}
    void setInBufferSize(int) override {}
    void setOutBufferSize(int bytes) override { outSize = bytes; }
    int outBufferSize() const override { return outSize; }
    bool setPortOpen(bool open) override {
        if (!open) {
            rx.clear(); // what was on its way is lost with the closed port
        } else if (openFails) {
            return false; // a port that is missing or taken
        }
        isOpen = open;
        return true;
    }
    bool portOpen() const override { return isOpen; }
    int inBufferCount() override { return static_cast<int>(rx.size()); }
    int outBufferCount() const override { return 0; }
    void clearOutBuffer() override {}
    Bytes input() override {
        Bytes out;
        out.swap(rx);
        return out;
    }
    // A failing write loses the port, as the Qt port does on a write error.
    bool output(const Bytes& block) override {
        if (!isOpen) {
            return false;
        }
        if (writeFails) {
            lose();
            return false;
        }
        written.insert(written.end(), block.begin(), block.end());
        lastBlock = block;
        return true;
    }

    // Bytes reach the receive buffer (only an open port receives); with an event, as the port
    // raises one for every arrival.
    void arrive(const Bytes& bytes, bool event) {
        if (!isOpen) {
            return;
        }
        rx.insert(rx.end(), bytes.begin(), bytes.end());
        if (event) {
            raiseEvent(comEvReceive);
        }
    }
    // The device goes away under the open port.
    void lose() {
        if (isOpen) {
            setPortOpen(false);
            raiseEvent(comEvPortLost);
        }
    }

    Bytes written;   // every byte the driver wrote, in order
    Bytes lastBlock; // the last block written (a whole frame)
    bool writeFails = false;
    bool openFails = false;

  private:
    std::int16_t comPort = 1;
    int outSize = 1024;
    bool isOpen = false;
    Bytes rx;
};

} // namespace fuzzline
