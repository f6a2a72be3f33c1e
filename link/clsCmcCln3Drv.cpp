// The clone frame driver: sending, the echo and answer receiver, answer checks, record
// storage, deadlines and the clone-write continuation.
#include "link/clsCmcCln3Drv.h"

#include "app/common/CommonRoutines.h"
#include "link/clsCmcEeprom.h"
#include "link/frmCom.h"
#include "platform/SerialControl.h"

#include <algorithm>

namespace {

constexpr std::uint8_t Preamble = 0xFE;
constexpr std::uint8_t EndOfFrame = 0xFD;
constexpr std::uint8_t AdrRadio = 0xEE;
constexpr std::uint8_t AdrComputer = 0xEF;

constexpr std::uint8_t CmdIdentityAnswer = 0xE1;
constexpr std::uint8_t CmdRecord = 0xE4;
constexpr std::uint8_t CmdEnd = 0xE5;
constexpr std::uint8_t CmdWriteResult = 0xE6;
constexpr std::uint8_t CmdAdjust = 0xE8;

// The end frame's data: the maker's name, raw.
const char* const EndMarkHex = "5665786F20496E632E";

// Free output buffer bytes a send needs.
constexpr int MinFreeOutput = 256;

// A clone-write record must fit the echo search window: 2n + 14 bytes on the wire.
constexpr int MaxWriteRecordData = 121;

bool isDecimalText(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isHexDigit(std::uint8_t c) {
    return hexDigitValue(static_cast<char>(c)) >= 0;
}

int hexValue(std::uint8_t c) {
    return hexDigitValue(static_cast<char>(c));
}

// Byte at 1-based position pos of a received frame.
std::uint8_t at(const Bytes& f, std::size_t pos) {
    return f[pos - 1];
}

// Bytes at 1-based positions first..last.
Bytes slice(const Bytes& f, std::size_t first, std::size_t last) {
    return Bytes(f.begin() + static_cast<std::ptrdiff_t>(first - 1),
                 f.begin() + static_cast<std::ptrdiff_t>(last));
}

// Four characters of an address list entry as an address 0..0xFFFF (reading stops at the
// first character that is not a hex digit).
std::int32_t listAdr(const std::string& list, std::size_t offset) {
    std::int32_t value = 0;
    for (std::size_t i = offset; i < offset + 4 && i < list.size(); ++i) {
        const auto c = static_cast<std::uint8_t>(list[i]);
        if (!isHexDigit(c)) {
            break;
        }
        value = value * 16 + hexValue(c);
    }
    return value;
}

} // namespace

clsCmcCln3Drv::clsCmcCln3Drv() {
    rxBuf.reserve(RxBufMax * 2);
}

void clsCmcCln3Drv::setWorkMode(std::int16_t value) {
    mode = value;
    answerAwaited = (value == 1 || value == 2 || value == 4);
    lastAnswer.clear();
    lastStoredAdr = 0;
    readCovered.clear();
    if (value == 1) {
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
    writeAdr = writeAdrList.size() >= 10 ? listAdr(writeAdrList, 0) : -1;
}

void clsCmcCln3Drv::setNowError(std::int16_t value) {
    nowErr = value;
    if (value != 0) {
        lastErr = value;
    }
    endCycle();
}

bool clsCmcCln3Drv::SendEnable() const {
    if (!readyToSend || com == nullptr || !com->comSendEnable()) {
        return false;
    }
    const SerialControl& port = com->MsCom();
    return port.outBufferSize() - port.outBufferCount() > MinFreeOutput;
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
    Bytes frame = {Preamble, Preamble, AdrRadio, AdrComputer};
    frame.insert(frame.end(), body.begin(), body.end());
    frame.push_back(EndOfFrame);
    // Whatever is still in the receive buffer belongs to an earlier exchange; left there, a
    // resend would take the first send's echo for its own.
    ClearRxBuffer();
    if (!com->MsCom().output(frame)) {
        // The port did not take it (the device went away meanwhile): nothing is on the line,
        // so no cycle opens and the caller learns that the command was not sent.
        return 1;
    }
    lastBody = body;
    frameOut = std::move(frame);
    if (mode == 5) {
        e8Sub = body.size() >= 6 ? body[5] : 0;
    }
    readyToSend = false;
    // A clone write is paced by the echo of each of its frames, so mode 3 keeps its cycle
    // open for the echo although no answer follows.
    const bool pacedByEcho = (mode == 3);
    if (waitEcho() && (answerAwaited || pacedByEcho)) {
        setWaitState(1);
        running = true;
    } else if (answerAwaited) {
        setWaitState(2);
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
    const std::int16_t result = RealSend(lastBody);
    --retriesLeft;
    return result;
}

void clsCmcCln3Drv::setWaitState(std::int16_t s) {
    state = s;
    if (s == 1) {
        waitTick.setCounter(echoTimeoutMs);
    } else if (s == 2) {
        waitTick.setCounter(answerTimeoutMs);
    }
}

void clsCmcCln3Drv::endCycle() {
    setWaitState(0);
    frameOut.clear();
    running = false;
    retries = 0;
    readyToSend = true;
}

void clsCmcCln3Drv::Reset() {
    endCycle();
    ClearRxBuffer();
    writeAdr = 0;
    nowErr = 0;
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
        if (state == 1) {
            // Echo search over what is kept (the latest 256 bytes) followed by the whole
            // chunk: a chunk may carry the echo and a long run of answer bytes behind it
            // (a fast line, or ticks held up), and cutting it to its last 256 bytes first
            // would lose the echo.
            Bytes window = rxBuf;
            window.insert(window.end(), chunk.begin(), chunk.end());
            chunk.clear();
            const auto found = frameOut.empty() ? window.end()
                                                : std::search(window.begin(), window.end(),
                                                              frameOut.begin(), frameOut.end());
            if (found == window.end()) {
                // The bytes stay (bounded) for the next search.
                rxBuf.clear();
                appendToRxBuf(window.begin(), window.end());
                continue;
            }
            // What followed the echo, taken before the event: in a clone write the event
            // already sends the next frame (and so clears the buffer).
            const Bytes rest(found + static_cast<std::ptrdiff_t>(frameOut.size()), window.end());
            rxBuf.clear();
            appendToRxBuf(window.begin(), found + static_cast<std::ptrdiff_t>(frameOut.size()));
            onRxEvent(1, {});
            outsideFrame = true;
            chunk = rest;
        } else if (state == 2) {
            const auto fe = std::find(chunk.begin(), chunk.end(), Preamble);
            const auto fd = std::find(chunk.begin(), chunk.end(), EndOfFrame);
            bool complete = false;
            if (fe == chunk.end()) {
                if (outsideFrame) {
                    chunk.clear();
                } else if (fd == chunk.end()) {
                    appendToRxBuf(chunk.begin(), chunk.end());
                    chunk.clear();
                } else {
                    appendToRxBuf(chunk.begin(), fd);
                    chunk = Bytes(fd + 1, chunk.end());
                    complete = true;
                }
            } else if (fd == chunk.end() || fe < fd) {
                // A frame starts (the second preamble byte starts it once more).
                chunk = Bytes(fe + 1, chunk.end());
                outsideFrame = false;
                rxBuf.clear();
            } else if (outsideFrame) {
                // A stray end byte between frames: skip it and keep looking, so that a frame
                // behind it in the same chunk is not lost.
                chunk = Bytes(fd + 1, chunk.end());
            } else {
                appendToRxBuf(chunk.begin(), fd);
                chunk = Bytes(fd + 1, chunk.end());
                complete = true;
            }
            if (complete) {
                const Bytes frame = rxBuf;
                onRxEvent(1, frame);
                rxBuf.clear();
                outsideFrame = true;
            }
        } else {
            chunk.clear(); // no cycle open: dropped
        }
    }
}

void clsCmcCln3Drv::onRxEvent(int ev, const Bytes& frame) {
    if (state == 1) {
        if (answerAwaited) {
            setWaitState(2);
        } else {
            // Clone write: this frame has left and come back; send the next one.
            endCycle();
            sendNextWriteFrame();
        }
    } else if (state == 2 && ev == 1) {
        lastAnswer = frame;
        if (checkAnswer(frame) == 0) {
            endCycle();
        }
    }
}

std::int16_t clsCmcCln3Drv::checkAnswer(const Bytes& f) {
    if (f.size() < 3 || at(f, 1) != AdrComputer || at(f, 2) != AdrRadio) {
        return 1;
    }
    const std::uint8_t command = at(f, 3);
    bool complete = false;
    if (command == CmdIdentityAnswer && mode == 1) {
        if (isBadFrame(f)) {
            setNowError(ErrBadFrame);
        } else {
            identityAnswer = f;
            complete = true;
        }
    } else if (command == CmdRecord && mode == 2) {
        if (isBadFrame(f)) {
            setNowError(ErrBadFrame);
        } else {
            // The gap to the next record gets the answer time again.
            waitTick.setCounter(answerTimeoutMs);
            if (storeReadFrame(f, eep) != 0) {
                setNowError(ErrImageOverflow);
            }
        }
    } else if (command == CmdEnd && mode == 2) {
        if (isBadFrame(f) || !requiredRangeRead()) {
            setNowError(ErrBadFrame);
        } else {
            complete = true;
        }
    } else if (command == CmdWriteResult && mode == 4) {
        if (isBadFrame(f)) {
            setNowError(ErrBadFrame);
        } else if (at(f, 4) == 0x00) {
            complete = true;
        } else {
            setNowError(ErrWriteRefused);
        }
    } else if (command == CmdAdjust && mode == 5) {
        if (isBadFrame(f)) {
            setNowError(ErrBadFrame);
        } else {
            lastAnswer = Bytes(f.begin() + 3, f.end());
            complete = true;
        }
    }
    return (complete && nowErr == 0) ? 0 : 1;
}

bool clsCmcCln3Drv::isBadFrame(const Bytes& f) const {
    if (f.size() < 3 || at(f, 1) != AdrComputer || at(f, 2) != AdrRadio) {
        return true;
    }
    switch (at(f, 3)) {
    case CmdIdentityAnswer:
        return f.size() < 7 || !isDecimalText(ByteStrToHex(slice(f, 4, 7)));
    case CmdRecord: {
        if (f.size() % 2 == 0 || f.size() < 13) {
            return true;
        }
        unsigned sum = 0;
        for (std::size_t pos = 4; pos + 1 <= f.size(); pos += 2) {
            if (!isHexDigit(at(f, pos)) || !isHexDigit(at(f, pos + 1))) {
                return true;
            }
            sum += static_cast<unsigned>(hexValue(at(f, pos)) * 16 + hexValue(at(f, pos + 1)));
        }
        if (sum % 256 != 0) {
            return true;
        }
        const int count = hexValue(at(f, 8)) * 16 + hexValue(at(f, 9));
        return count != static_cast<int>((f.size() - 11) / 2);
    }
    case CmdEnd:
        return ByteStrToHex(Bytes(f.begin() + 3, f.end())) != EndMarkHex;
    case CmdWriteResult:
        // The result byte must be there; without it there is nothing to decide on.
        return f.size() < 4;
    case CmdAdjust:
        return f.size() < 8 || !isDecimalText(ByteStrToHex(slice(f, 4, 7))) || at(f, 8) != e8Sub;
    default:
        return false;
    }
}

std::int32_t clsCmcCln3Drv::recordAdr(const Bytes& f) {
    // Four hex digits, 0..0xFFFF; a record beyond the image is refused when it is stored.
    return static_cast<std::uint16_t>(HexAsciiToInt(slice(f, 4, 7)));
}

std::int16_t clsCmcCln3Drv::storeReadFrame(const Bytes& f, clsCmcEeprom* image) {
    if (image == nullptr) {
        return 1;
    }
    const std::int32_t adr = recordAdr(f);
    const std::int32_t n = HexAsciiToInt(slice(f, 8, 9));
    Bytes data;
    data.reserve(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) {
        const std::size_t pos = 10 + 2 * static_cast<std::size_t>(i);
        data.push_back(static_cast<std::uint8_t>(HexAsciiToInt(slice(f, pos, pos + 1))));
    }
    if (image->WriteBlock(adr, data) != 0) {
        return 1;
    }
    lastStoredAdr = adr + n - 1;
    if (readCovered.size() < static_cast<std::size_t>(image->eeSize())) {
        readCovered.resize(static_cast<std::size_t>(image->eeSize()), false);
    }
    std::fill_n(readCovered.begin() + adr, n, true);
    return 0;
}

Bytes clsCmcCln3Drv::makeWriteFrame() {
    const std::int32_t rangeEnd = listAdr(writeAdrList, 5);
    std::int32_t n = std::clamp<std::int32_t>(packetSize, 1, MaxWriteRecordData);
    if (writeAdr + n - 1 > rangeEnd) {
        n = std::max<std::int32_t>(rangeEnd - writeAdr + 1, 1);
    }
    Bytes record = {static_cast<std::uint8_t>((writeAdr / 256) & 0xFF),
                    static_cast<std::uint8_t>(writeAdr % 256), static_cast<std::uint8_t>(n)};
    const Bytes data = eep != nullptr ? eep->ReadBlock(writeAdr, n) : Bytes(n, 0);
    record.insert(record.end(), data.begin(), data.end());
    unsigned sum = 0;
    for (std::uint8_t b : record) {
        sum += b;
    }
    record.push_back(static_cast<std::uint8_t>((256 - sum % 256) % 256));

    Bytes body = {CmdRecord};
    const Bytes text = StrToByteStr(ByteStrToHex(record));
    body.insert(body.end(), text.begin(), text.end());

    lastStoredAdr = writeAdr + n - 1;
    if (lastStoredAdr < rangeEnd) {
        writeAdr += n;
    } else {
        writeAdrList.erase(0, std::min<std::size_t>(10, writeAdrList.size()));
        writeAdr = writeAdrList.size() >= 10 ? listAdr(writeAdrList, 0) : -1;
    }
    return body;
}

void clsCmcCln3Drv::sendNextWriteFrame() {
    Bytes body;
    if (writeAdr >= 0) {
        body = makeWriteFrame();
    } else {
        setWorkMode(4);
        body = HexToByteStr(std::string("E5") + EndMarkHex);
    }
    if (Send(body) != 0) {
        setNowError(ErrWriteSendRefused);
    }
}

void clsCmcCln3Drv::task() {
    if (state == 1 && waitTick.counter() < 1) {
        setNowError(ErrNoEcho); // a missing echo is never resent
    } else if (state == 2 && waitTick.counter() < 1) {
        if (RetrySend() != 0) {
            setNowError(ErrNoAnswer);
        }
    }
}
