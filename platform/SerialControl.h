// SPDX-License-Identifier: GPL-3.0-or-later
// The serial communications control as the port manager and the frame driver use it: a port
// number, a line settings text, open and close, the modem lines, buffer sizes and counts,
// binary input and output, and communication events. The program backs it with QSerialPort;
// tests back it with the simulated radio in the same process.
//
// Reads are always binary and take everything waiting; an event is raised for every arrival
// of data; no send events are raised.
#pragma once

#include "platform/Bytes.h"

#include <cstdint>
#include <functional>
#include <string>

class SerialControl {
  public:
    // Communication events.
    enum CommEvent : int {
        comEvReceive = 2, // data arrived
        // The device went away under the open port (a USB cable pulled, a read or write that
        // failed for good). The control has already closed the port when it raises this.
        comEvPortLost = 9001,
    };

    virtual ~SerialControl() = default;

    virtual void setCommPort(std::int16_t port) = 0;
    virtual std::int16_t commPort() const = 0;
    // Line settings such as "9600,N,8,1"; applied when the port opens.
    virtual void setSettings(const std::string& settings) = 0;
    virtual void setDTREnable(bool on) = 0;
    virtual void setRTSEnable(bool on) = 0;
    virtual void setInBufferSize(int bytes) = 0;
    virtual void setOutBufferSize(int bytes) = 0;
    virtual int outBufferSize() const = 0;

    // Opens or closes the port; false when the platform refused (the port then stays closed).
    virtual bool setPortOpen(bool open) = 0;
    virtual bool portOpen() const = 0;

    virtual int inBufferCount() = 0;
    virtual int outBufferCount() const = 0;
    virtual void clearOutBuffer() = 0;
    // Everything waiting in the receive buffer.
    virtual Bytes input() = 0;
    // Queues one block for sending; false on a platform error.
    virtual bool output(const Bytes& block) = 0;

    // The owner's handler of communication events (one CommEvent code per call).
    void setEventHandler(std::function<void(int)> handler) { eventHandler = std::move(handler); }

  protected:
    void raiseEvent(int commEvent) {
        if (eventHandler) {
            eventHandler(commEvent);
        }
    }

  private:
    std::function<void(int)> eventHandler;
};
