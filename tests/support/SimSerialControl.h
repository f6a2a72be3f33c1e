// SPDX-License-Identifier: GPL-3.0-or-later
// The in-process serial line of every test: its far end is the simulated radio, so the link,
// the model and the main window can be tested end to end without a port, or nothing at all,
// so that a test (or the link fuzz target) hands the bytes over itself, cut as it likes. The
// faults of a real port are knobs: an open refused, the device gone, a write that fails, an
// output buffer that claims to be full. What was written is kept with its moment. Time comes
// from the program's tick count (the test clock in tests): the radio's pacing, when switched
// on, is measured against it.
#pragma once

#include "platform/SerialControl.h"
#include "sim/SimRadio.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace testsupport {

class SimSerialControl : public SerialControl {
  public:
    explicit SimSerialControl(const vxk5sim::SimConfig& config = {})
        : simRadio(std::make_unique<vxk5sim::SimRadio>(config)) {}
    // A line with no radio at its far end: bytes reach it only through arrive().
    struct NoRadio {};
    explicit SimSerialControl(NoRadio) {}

    vxk5sim::SimRadio& radio() { return *simRadio; }

    void setCommPort(std::int16_t port) override { port_ = port; }
    std::int16_t commPort() const override { return port_; }
    void setSettings(const std::string& settings) override { settings_ = settings; }
    void setDTREnable(bool) override {}
    void setRTSEnable(bool) override {}
    void setInBufferSize(int) override {}
    void setOutBufferSize(int bytes) override { outBufferSize_ = bytes; }
    int outBufferSize() const override { return outBufferSize_; }
    bool setPortOpen(bool open) override;
    bool portOpen() const override { return open_; }
    int inBufferCount() override;
    // The far end takes every block at once, so nothing waits to be sent, unless the buffer
    // is set to claim it is full.
    int outBufferCount() const override { return blocks_ >= fullAfter_ ? outBufferSize_ : 0; }
    void clearOutBuffer() override {}
    Bytes input() override;
    bool output(const Bytes& block) override;

    const std::string& settings() const { return settings_; }
    // Every byte handed to output() while open, in order.
    const Bytes& written() const { return written_; }
    void clearWritten() {
        written_.clear();
        writes_.clear();
    }
    // Each block handed to output() with the milliseconds (nowMs) it was handed over at.
    struct Write {
        std::int64_t atMs;
        Bytes bytes;
    };
    const std::vector<Write>& writes() const { return writes_; }
    // The last block written (a whole frame); empty before the first.
    Bytes lastBlock() const { return writes_.empty() ? Bytes{} : writes_.back().bytes; }
    // Milliseconds until the radio's next byte reaches the receive line, when it paces the
    // line and a byte is on its way; 0 otherwise.
    std::int64_t msUntilArrival();

    // Opening is refused, as for a port that does not exist or is in use.
    void setOpenFails(bool fails) { openFails_ = fails; }
    // The device goes away under the open port (a USB cable pulled): the port closes and says
    // so, as the Qt port does; it cannot be opened until plugIn().
    void unplug();
    void plugIn() { unplugged_ = false; }
    // The next blocks cannot be written: the write fails and the port is lost with it.
    void setWriteFails(bool fails) { writeFails_ = fails; }
    // Once this many blocks went out, the output buffer claims to be full for good.
    void setOutputFullAfter(int blocks) { fullAfter_ = blocks; }
    // Bytes reach the receive buffer (only an open port receives them), with a receive event
    // when asked, as the port raises one for every arrival.
    void arrive(const Bytes& bytes, bool event);
    // Raises comEvReceive when bytes wait, as the port's data-received event does.
    void notifyReceived();

    // Monotonic milliseconds built from the wrapping tick count; what the radio is told.
    std::int64_t nowMs();

  private:
    void pull(); // moves what the radio has put on the line by now into the receive buffer

    std::unique_ptr<vxk5sim::SimRadio> simRadio; // none for a line without a radio
    std::int16_t port_ = 1;
    std::string settings_ = "9600,N,8,1";
    int outBufferSize_ = 512;
    bool open_ = false;
    bool openFails_ = false;
    bool unplugged_ = false;
    bool writeFails_ = false;
    int blocks_ = 0;
    int fullAfter_ = 1 << 30;
    Bytes rx_; // unbounded: the radio without pacing hands a whole clone read over at once
    Bytes written_;
    std::vector<Write> writes_;
    bool clockStarted_ = false;
    std::int32_t lastTick_ = 0;
    std::int64_t monotonic_ = 0;
};

} // namespace testsupport
