// A serial control for the link's unit tests: a port that opens (or refuses to), records every
// block written, returns it on the receive line like the cloning cable does (unless told not
// to), and appends whatever the test's responder answers. Received bytes wait in the input
// buffer until the port manager's tick or a test takes them.
#pragma once

#include "platform/SerialControl.h"

#include <functional>
#include <string>
#include <vector>

namespace linktest {

class FakeSerialControl : public SerialControl {
  public:
    void setCommPort(std::int16_t port) override { comPort = port; }
    std::int16_t commPort() const override { return comPort; }
    void setSettings(const std::string& text) override { settings = text; }
    void setDTREnable(bool on) override { dtr = on; }
    void setRTSEnable(bool on) override { rts = on; }
    void setInBufferSize(int bytes) override { inSize = bytes; }
    void setOutBufferSize(int bytes) override { outSize = bytes; }
    int outBufferSize() const override { return outSize; }

    bool setPortOpen(bool open) override {
        if (open && openFails) {
            return false;
        }
        if (open && !isOpen) {
            ++opens;
        }
        isOpen = open;
        return true;
    }
    bool portOpen() const override { return isOpen; }

    int inBufferCount() override { return static_cast<int>(inBuf.size()); }
    int outBufferCount() const override { return outCount; }
    void clearOutBuffer() override { ++outClears; }
    Bytes input() override {
        Bytes taken;
        taken.swap(inBuf);
        return taken;
    }
    bool output(const Bytes& block) override {
        if (!isOpen) {
            return false;
        }
        written.push_back(block);
        if (echo) {
            inBuf.insert(inBuf.end(), block.begin(), block.end());
        }
        if (responder) {
            const Bytes answer = responder(block);
            inBuf.insert(inBuf.end(), answer.begin(), answer.end());
        }
        if (afterOutput) {
            afterOutput(*this);
        }
        return true;
    }

    // Bytes arriving on the line; with raise the receive event fires at once.
    void deliver(const Bytes& bytes, bool raise = false) {
        inBuf.insert(inBuf.end(), bytes.begin(), bytes.end());
        if (raise) {
            raiseEvent(comEvReceive);
        }
    }
    void event(int commEvent) { raiseEvent(commEvent); }

    std::int16_t comPort = 0;
    std::string settings;
    bool dtr = false;
    bool rts = false;
    int inSize = 0;
    int outSize = 0;
    int outCount = 0;
    bool isOpen = false;
    bool openFails = false;
    bool echo = true;
    int opens = 0;
    int outClears = 0;
    Bytes inBuf;
    std::vector<Bytes> written;
    std::function<Bytes(const Bytes&)> responder;
    std::function<void(FakeSerialControl&)> afterOutput;
};

} // namespace linktest
