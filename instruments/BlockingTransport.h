// SPDX-License-Identifier: GPL-3.0-or-later
// A transport for connections that can only be driven by calls that wait (the Linux usbtmc
// device, liblxi's VXI-11 client): the waiting happens in a worker thread of its own, and the
// caller's thread hears of it through queued signals only, so a slow or silent instrument
// never holds up the tick.
//
//   BlockingTransport t(std::make_unique<UsbtmcLink>("/dev/usbtmc0", 2000));
//   t.open();                  ... the worker opens the device; opened() arrives queued
//   t.send("*IDN?", true);     ... the worker writes, then reads; lineReceived(...) queued
//
// Closing (or destroying) the transport waits for the call in progress, which the link itself
// bounds by its own I/O timeout.
#pragma once

#include "instruments/Transport.h"

#include <QThread>

#include <memory>
#include <string>

namespace instruments {

// The blocking calls of one connection kind. Every call returns an empty text on success and
// why not otherwise.
class BlockingLink {
  public:
    virtual ~BlockingLink() = default;
    virtual std::string open() = 0;
    virtual std::string write(const std::string& command) = 0;
    // One answer, without its line end.
    virtual std::string read(std::string& answer) = 0;
    virtual void close() = 0;
};

class BlockingWorker;

class BlockingTransport : public Transport {
    Q_OBJECT
  public:
    explicit BlockingTransport(std::unique_ptr<BlockingLink> link, QObject* parent = nullptr);
    ~BlockingTransport() override;

    void open() override;
    void close() override;
    bool isOpen() const override { return linkOpen; }
    void send(const QByteArray& command, bool expectAnswer) override;

  signals:
    void openRequested();
    void sendRequested(const QByteArray& command, bool expectAnswer);
    void closeRequested();

  private:
    QThread thread;
    BlockingWorker* worker; // lives in thread, deleted when it finishes
    bool linkOpen = false;
};

} // namespace instruments
