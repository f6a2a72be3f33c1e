// A serial control whose far end is the simulated radio in the same process, so the link,
// the model and the main window can be tested end to end without a port. Time comes from the
// program's tick count (the test clock in tests): the radio's pacing, when switched on, is
// measured against it.
//
// The radio is owned (default, or built from a SimConfig) or borrowed (constructed from a
// reference, which must outlive the control).
#pragma once

#include "platform/SerialControl.h"
#include "sim/SimRadio.h"

#include <cstdint>
#include <memory>
#include <string>

namespace testsupport {

class SimSerialControl : public SerialControl {
  public:
    SimSerialControl();
    explicit SimSerialControl(const vxk5sim::SimConfig& config);
    explicit SimSerialControl(vxk5sim::SimRadio& radio);

    vxk5sim::SimRadio& radio() { return *radioPtr; }

    // --- SerialControl ---
    void setCommPort(std::int16_t port) override { port_ = port; }
    std::int16_t commPort() const override { return port_; }
    void setSettings(const std::string& settings) override { settings_ = settings; }
    void setDTREnable(bool on) override { dtr_ = on; }
    void setRTSEnable(bool on) override { rts_ = on; }
    void setInBufferSize(int bytes) override { inBufferSize_ = bytes; }
    void setOutBufferSize(int bytes) override { outBufferSize_ = bytes; }
    int outBufferSize() const override { return outBufferSize_; }
    bool setPortOpen(bool open) override;
    bool portOpen() const override { return open_; }
    int inBufferCount() override;
    // The radio takes every block at once, so nothing ever waits to be sent.
    int outBufferCount() const override { return 0; }
    void clearOutBuffer() override {}
    Bytes input() override;
    bool output(const Bytes& block) override;

    // --- what the port was told, for assertions ---
    const std::string& settings() const { return settings_; }
    bool dtrEnable() const { return dtr_; }
    bool rtsEnable() const { return rts_; }
    int inBufferSize() const { return inBufferSize_; }
    int openCount() const { return opens_; }
    // Every byte handed to output() while open, in order.
    const Bytes& written() const { return written_; }
    void clearWritten() { written_.clear(); }

    // --- faults and events ---
    // Opening is refused, as for a port that does not exist or is in use.
    void setOpenFails(bool fails) { openFails_ = fails; }
    // The device vanishes (a USB cable pulled): the port closes, output fails and opening is
    // refused until plugIn().
    void unplug();
    void plugIn() { unplugged_ = false; }
    bool unplugged() const { return unplugged_; }
    // Raises comEvReceive when bytes wait, as the port's data-received event does.
    void notifyReceived();
    // Raises any other communication event (comEventRxOver, comEventFrame, ...), as the port
    // does on a line fault. The receive buffer is unbounded here: the radio without pacing
    // hands a whole clone read over at once, which no real port would hold.
    void raiseCommEvent(int commEvent) { raiseEvent(commEvent); }

    // Monotonic milliseconds built from the wrapping tick count; what the radio is told.
    std::int64_t nowMs();

  private:
    void pull(); // moves what the radio has put on the line by now into the receive buffer

    std::unique_ptr<vxk5sim::SimRadio> owned_;
    vxk5sim::SimRadio* radioPtr;

    std::int16_t port_ = 1;
    std::string settings_ = "9600,N,8,1";
    bool dtr_ = false;
    bool rts_ = false;
    int inBufferSize_ = 1024;
    int outBufferSize_ = 512;
    bool open_ = false;
    int opens_ = 0;
    bool openFails_ = false;
    bool unplugged_ = false;
    Bytes rx_;
    Bytes written_;

    bool clockStarted_ = false;
    std::int32_t lastTick_ = 0;
    std::int64_t monotonic_ = 0;
};

} // namespace testsupport
