// SPDX-License-Identifier: GPL-3.0-or-later
// The worker-thread transport and its worker.
#include "instruments/BlockingTransport.h"

#include "instruments/BlockingWorker.h"

namespace instruments {

void BlockingWorker::openLink() {
    const std::string why = link->open();
    if (!why.empty()) {
        fail(why);
        return;
    }
    open = true;
    emit opened();
}

void BlockingWorker::sendCommand(const QByteArray& command, bool expectAnswer) {
    if (!open) {
        return; // a failure has been reported; what was queued behind it is moot
    }
    std::string why = link->write(command.toStdString());
    std::string answer;
    if (why.empty() && expectAnswer) {
        why = link->read(answer);
    }
    if (!why.empty()) {
        fail(why);
        return;
    }
    if (expectAnswer) {
        emit lineReceived(QByteArray::fromStdString(answer));
    }
}

void BlockingWorker::closeLink() {
    if (open) {
        link->close();
        open = false;
    }
}

void BlockingWorker::fail(const std::string& why) {
    closeLink();
    emit failed(QString::fromStdString(why));
}

BlockingTransport::BlockingTransport(std::unique_ptr<BlockingLink> link, QObject* parent)
    : Transport(parent), worker(new BlockingWorker(std::move(link))) {
    worker->moveToThread(&thread);
    connect(&thread, &QThread::finished, worker, &QObject::deleteLater);
    // Queued both ways: the worker's calls run in its thread, its news in the caller's.
    connect(this, &BlockingTransport::openRequested, worker, &BlockingWorker::openLink);
    connect(this, &BlockingTransport::sendRequested, worker, &BlockingWorker::sendCommand);
    connect(this, &BlockingTransport::closeRequested, worker, &BlockingWorker::closeLink);
    connect(worker, &BlockingWorker::opened, this, [this] {
        linkOpen = true;
        emit opened();
    });
    connect(worker, &BlockingWorker::lineReceived, this, &Transport::lineReceived);
    connect(worker, &BlockingWorker::failed, this, [this](const QString& why) { fail(why); });
    thread.start();
}

BlockingTransport::~BlockingTransport() {
    QObject::disconnect(worker, nullptr, this, nullptr);
    thread.quit();
    thread.wait();
}

void BlockingTransport::open() {
    clearLineBuffer();
    emit openRequested();
}

void BlockingTransport::close() {
    linkOpen = false;
    emit closeRequested();
}

void BlockingTransport::send(const QByteArray& command, bool expectAnswer) {
    emit sendRequested(command, expectAnswer);
}

} // namespace instruments
