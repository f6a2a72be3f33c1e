// SPDX-License-Identifier: GPL-3.0-or-later
// The clone frame driver: sending, the echo and answer receiver, answer checks, record
// storage, deadlines and the clone-write continuation.
#include "link/clsCmcCln3Drv.h"

#include "common/CommonRoutines.h"
#include "link/CloneFrames.h"
#include "link/LinkLog.h"
#include "link/clsCmcEeprom.h"
#include "platform/SerialControl.h"

#include <algorithm>
#include <tuple>

namespace {

// Free output buffer bytes a send needs.
constexpr int MinFreeOutput = 256;

// A clone-write record must fit the echo search window: 2n + 14 bytes on the wire.
constexpr int MaxWriteRecordData = 121;

// One entry of a clone-write address list is "0000-07FF,": first and last address.
constexpr std::size_t ListEntryLength = 10;
constexpr std::size_t ListLastAddress = 5;

// Four characters of an address list entry as an address 0..0xFFFF (reading stops at the
// first character that is not a hex digit).
std::int32_t listAdr(const std::string& list, std::size_t offset) {
    std::int32_t value = 0;
    for (std::size_t i = offset; i < offset + 4 && i < list.size(); ++i) {
        const int digit = hexDigitValue(list[i]);
        if (digit < 0) {
            break;
        }
        value = value * 16 + digit;
    }
    return value;
}

} // namespace

clsCmcCln3Drv::clsCmcCln3Drv() {
    rxBuf.reserve(RxBufMax * 2);
}

void clsCmcCln3Drv::setWorkMode(WorkMode value) {
    mode = value;
    answerAwaited = (value == WorkMode::Identity || value == WorkMode::CloneRead ||
                     value == WorkMode::CloneWriteEnd);
    lastAnswer.clear();
    lastStoredAdr = 0;
    readCovered.clear();
    if (value == WorkMode::CloneRead || value == WorkMode::CloneWriteStart) {
        bytesCarried = 0;
    }
    if (value == WorkMode::Identity) {
        identityAnswer.clear(); // a new query: an earlier radio's answer must not stand for it
    }
}

void clsCmcCln3Drv::setRequiredReadRange(std::int32_t first, std::int32_t last) {
    requiredFirst = first;
    requiredLast = last;
}

bool clsCmcCln3Drv::requiredRangeRead() const {
    for (std::int32_t adr = std::max(requiredFirst, 0); adr <= requiredLast; ++adr) {
        if (static_cast<std::size_t>(adr) >= readCovered.size() ||
            !readCovered[static_cast<std::size_t>(adr)]) {
            return false;
        }
    }
    return true;
}

void clsCmcCln3Drv::setCloneWriteAdrList(const std::string& value) {
    writeAdrList = value;
    writeAdr = writeAdrList.size() >= ListEntryLength ? listAdr(writeAdrList, 0) : -1;
}

void clsCmcCln3Drv::setNowError(DriverError value) {
    nowErr = value;
    if (value != DriverError::None) {
        lastErr = value;
        linklog::error(value);
    }
    endCycle();
}

bool clsCmcCln3Drv::SendEnable() const {
    if (!readyToSend || port == nullptr || !port->portOpen()) {
        return false;
    }
    return port->outBufferSize() - port->outBufferCount() > MinFreeOutput;
}

std::int16_t clsCmcCln3Drv::Send(const Bytes& body) {
    const std::int16_t result = RealSend(body);
    retriesLeft = retries;
    return result;
}

std::int16_t clsCmcCln3Drv::RealSend(const Bytes& body) {
    if (!frameOut.empty() || !SendEnable()) {
        return 1;
    }
    Bytes frame = frames::frameOf(body);
    // Whatever is still in the receive buffer, or still unread in the port, belongs to an
    // earlier exchange; left there, a resend would take the first send's echo for its own, and a
    // late answer or a cut-off read's records would pass for this command's.
    ClearRxBuffer();
    if (port->inBufferCount() > 0) {
        std::ignore = port->input();
    }
    if (!port->output(frame)) {
        // The port did not take it (the device went away meanwhile): nothing is on the line,
        // so no cycle opens and the caller learns that the command was not sent.
        return 1;
    }
    linklog::frame("out", frame);
    lastBody = body;
    // 10 bits a byte at 9600 bit/s: the frame is on the line until its last byte is through,
    // behind the bytes of the frames the port still holds (a command without an answer ends
    // its cycle as soon as the port has it, so several may queue there).
    lineBusy.setCounter(lineBusy.counter() +
                        static_cast<std::int32_t>((frame.size() * 1000 + 959) / 960));
    frameOut = std::move(frame);
    if (mode == WorkMode::Adjust) {
        e8Sub = body.size() >= 6 ? body[5] : 0;
    }
    readyToSend = false;
    // A clone write is paced by the echo of each of its frames, so it keeps its cycle open for
    // the echo although no answer follows.
    const bool pacedByEcho = (mode == WorkMode::CloneWriteStart);
    if (waitEcho() && (answerAwaited || pacedByEcho)) {
        setWaitState(WaitState::Echo);
        running = true;
    } else if (answerAwaited) {
        setWaitState(WaitState::Answer);
        running = true;
    } else {
        // A command without an answer is done once its bytes are with the port; its echo is
        // dropped on arrival.
        endCycle();
    }
    return 0;
}

std::int16_t clsCmcCln3Drv::RetrySend() {
    if (retriesLeft < 1) {
        return 1;
    }
    endCycle();
    qCInfo(lcLink, "resend");
    const std::int16_t result = RealSend(lastBody);
    --retriesLeft;
    return result;
}

void clsCmcCln3Drv::setWaitState(WaitState s) {
    state = s;
    if (s == WaitState::Echo) {
        waitTick.setCounter(echoTimeoutMs);
    } else if (s == WaitState::Answer) {
        waitTick.setCounter(answerTimeoutMs);
    }
}

void clsCmcCln3Drv::endCycle() {
    setWaitState(WaitState::Idle);
    frameOut.clear();
    running = false;
    retries = 0;
    readyToSend = true;
}

void clsCmcCln3Drv::Reset() {
    endCycle();
    ClearRxBuffer();
    writeAdr = 0;
    nowErr = DriverError::None;
}

void clsCmcCln3Drv::ClearRxBuffer() {
    rxBuf.clear();
    outsideFrame = true;
}

void clsCmcCln3Drv::appendToRxBuf(Bytes::const_iterator first, Bytes::const_iterator last) {
    rxBuf.insert(rxBuf.end(), first, last);
    if (rxBuf.size() > RxBufMax) {
        rxBuf.erase(rxBuf.begin(), rxBuf.end() - static_cast<std::ptrdiff_t>(RxBufMax));
    }
}

void clsCmcCln3Drv::read(const Bytes& data) {
    Bytes chunk = data;
    while (!chunk.empty()) {
        if (state == WaitState::Echo) {
            chunk = readForEcho(std::move(chunk));
        } else if (state == WaitState::Answer) {
            chunk = readAnswer(std::move(chunk));
        } else {
            chunk.clear(); // no cycle open: dropped
        }
    }
}

// The echo search runs over what is kept (the latest 256 bytes) followed by the whole chunk: a
// chunk may carry the echo and a long run of answer bytes behind it (a fast line, or ticks held
// up), and cutting it to its last 256 bytes first would lose the echo. Returns what followed
// the echo, still to be read.
Bytes clsCmcCln3Drv::readForEcho(Bytes chunk) {
    Bytes window = rxBuf;
    window.insert(window.end(), chunk.begin(), chunk.end());
    const auto found = frameOut.empty() ? window.end()
                                        : std::search(window.begin(), window.end(),
                                                      frameOut.begin(), frameOut.end());
    rxBuf.clear();
    if (found == window.end()) {
        appendToRxBuf(window.begin(), window.end()); // kept (bounded) for the next search
        return {};
    }
    const auto echoEnd = found + static_cast<std::ptrdiff_t>(frameOut.size());
    // Taken before the event: in a clone write the event already sends the next frame.
    Bytes rest(echoEnd, window.end());
    appendToRxBuf(window.begin(), echoEnd);
    qCInfo(lcLink, "echo");
    onEcho();
    outsideFrame = true;
    return rest;
}

// Answer frames between preamble bytes and FD; each preamble byte (re)starts a frame, an FD
// outside a frame is skipped. Returns what is still to be read after one step.
Bytes clsCmcCln3Drv::readAnswer(Bytes chunk) {
    const auto fe = std::find(chunk.begin(), chunk.end(), frames::Preamble);
    const auto fd = std::find(chunk.begin(), chunk.end(), frames::EndOfFrame);
    if (fe != chunk.end() && (fd == chunk.end() || fe < fd)) {
        outsideFrame = false; // a frame starts (the second preamble byte starts it once more)
        rxBuf.clear();
        return Bytes(fe + 1, chunk.end());
    }
    if (outsideFrame) {
        // Bytes between frames are dropped; a stray end byte is skipped so that a frame
        // behind it in the same chunk is not lost.
        return fd == chunk.end() ? Bytes{} : Bytes(fd + 1, chunk.end());
    }
    if (fd == chunk.end()) {
        appendToRxBuf(chunk.begin(), chunk.end());
        return {};
    }
    appendToRxBuf(chunk.begin(), fd);
    Bytes rest(fd + 1, chunk.end());
    const Bytes frame = rxBuf;
    linklog::answer(frame);
    onAnswer(frame);
    rxBuf.clear();
    outsideFrame = true;
    return rest;
}

void clsCmcCln3Drv::onEcho() {
    if (state != WaitState::Echo) {
        return;
    }
    if (answerAwaited) {
        setWaitState(WaitState::Answer);
    } else {
        // Clone write: this frame has left and come back; send the next one.
        endCycle();
        sendNextWriteFrame();
    }
}

void clsCmcCln3Drv::onAnswer(const Bytes& frame) {
    if (state != WaitState::Answer) {
        return;
    }
    lastAnswer = frame;
    if (checkAnswer(frame) && nowErr == DriverError::None) {
        endCycle();
    }
}

// True when the frame completes the cycle; an unexpected frame leaves the wait as it is, a bad
// one raises an error (which ends the cycle).
bool clsCmcCln3Drv::checkAnswer(const Bytes& f) {
    if (f.size() < 3 || f[0] != frames::AdrComputer || f[1] != frames::AdrRadio) {
        return false;
    }
    const std::uint8_t command = f[frames::PosCommand];
    const bool expected = (command == frames::CmdIdentityAnswer && mode == WorkMode::Identity) ||
                          ((command == frames::CmdRecord || command == frames::CmdEnd) &&
                           mode == WorkMode::CloneRead) ||
                          (command == frames::CmdWriteResult && mode == WorkMode::CloneWriteEnd) ||
                          (command == frames::CmdAdjust && mode == WorkMode::Adjust);
    if (!expected) {
        return false;
    }
    if (frames::isBadFrame(f, e8Sub)) {
        setNowError(DriverError::BadFrame);
        return false;
    }
    switch (command) {
    case frames::CmdIdentityAnswer:
        identityAnswer = f;
        return true;
    case frames::CmdRecord:
        waitTick.setCounter(answerTimeoutMs); // the gap to the next record gets the time again
        if (!storeReadFrame(f)) {
            setNowError(DriverError::ImageOverflow);
        }
        return false; // more records follow
    case frames::CmdEnd:
        if (!requiredRangeRead()) {
            setNowError(DriverError::BadFrame);
            return false;
        }
        return true;
    case frames::CmdWriteResult:
        if (f[frames::PosData] != 0x00) {
            setNowError(DriverError::WriteRefused);
            return false;
        }
        return true;
    default: // the adjustment answer: model, sub code, echoed command, answer data
        lastAnswer = Bytes(f.begin() + frames::PosData, f.end());
        return true;
    }
}

bool clsCmcCln3Drv::storeReadFrame(const Bytes& f) {
    if (eep == nullptr) {
        return false;
    }
    const frames::Record record = frames::recordOf(f);
    if (eep->WriteBlock(record.address, record.data) != 0) {
        return false;
    }
    const auto n = static_cast<std::int32_t>(record.data.size());
    lastStoredAdr = record.address + n - 1;
    if (readCovered.size() < static_cast<std::size_t>(eep->eeSize())) {
        readCovered.resize(static_cast<std::size_t>(eep->eeSize()), false);
    }
    const auto first = readCovered.begin() + record.address;
    // A record the radio sends twice is one record's worth of progress.
    bytesCarried += static_cast<std::int32_t>(std::count(first, first + n, false));
    std::fill_n(first, n, true);
    return true;
}

Bytes clsCmcCln3Drv::makeWriteFrame() {
    const std::int32_t rangeEnd = listAdr(writeAdrList, ListLastAddress);
    std::int32_t n = std::clamp<std::int32_t>(packetSize, 1, MaxWriteRecordData);
    if (writeAdr + n - 1 > rangeEnd) {
        n = std::max<std::int32_t>(rangeEnd - writeAdr + 1, 1);
    }
    const Bytes data = eep != nullptr ? eep->ReadBlock(writeAdr, n) : Bytes(n, 0);
    const Bytes body = frames::recordBody(writeAdr, data);
    lastStoredAdr = writeAdr + n - 1;
    bytesCarried += n;
    if (lastStoredAdr < rangeEnd) {
        writeAdr += n;
    } else {
        writeAdrList.erase(0, std::min(ListEntryLength, writeAdrList.size()));
        writeAdr = writeAdrList.size() >= ListEntryLength ? listAdr(writeAdrList, 0) : -1;
    }
    return body;
}

void clsCmcCln3Drv::sendNextWriteFrame() {
    Bytes body;
    if (writeAdr >= 0) {
        body = makeWriteFrame();
    } else {
        setWorkMode(WorkMode::CloneWriteEnd);
        body = frames::endBody();
    }
    if (Send(body) != 0) {
        setNowError(DriverError::WriteSendRefused);
    }
}

void clsCmcCln3Drv::task() {
    if (state == WaitState::Echo && waitTick.counter() < 1) {
        setNowError(DriverError::NoEcho); // a missing echo is never resent
    } else if (state == WaitState::Answer && waitTick.counter() < 1) {
        if (RetrySend() != 0) {
            setNowError(DriverError::NoAnswer);
        }
    }
}
