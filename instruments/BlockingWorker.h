// SPDX-License-Identifier: GPL-3.0-or-later
// The worker-thread half of BlockingTransport: it owns the blocking link and runs every call
// on it in its own thread, one after the other, in the order they were asked for.
#pragma once

#include "instruments/BlockingTransport.h"

namespace instruments {

class BlockingWorker : public QObject {
    Q_OBJECT
  public:
    explicit BlockingWorker(std::unique_ptr<BlockingLink> link) : link(std::move(link)) {}
    ~BlockingWorker() override { closeLink(); }

    void openLink();
    void sendCommand(const QByteArray& command, bool expectAnswer);
    void closeLink();

  signals:
    void opened();
    void lineReceived(const QByteArray& line);
    void failed(const QString& why);

  private:
    void fail(const std::string& why);

    std::unique_ptr<BlockingLink> link;
    bool open = false;
};

} // namespace instruments
