// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated radio: its receiver, the exchanges it answers and the line timing.
#include "sim/SimRadio.h"

#include "sim/SimNames.h"

#include <algorithm>

namespace vxk5sim {
namespace {

constexpr std::uint8_t kModelHigh = 0x73;
constexpr std::uint8_t kModelLow = 0x51;
// Longest frame the receiver keeps: an E4 record of 255 data bytes plus addresses and command.
constexpr std::size_t kMaxFrame = 600;
// Stray bytes of a noisy cable: never a frame delimiter, so they sit between frames.
const Bytes kGarbage{0x00, 0x55, 0xAA, 0x13};

} // namespace

SimRadio::SimRadio(SimConfig config)
    : cfg(config), eeprom(factoryMemory()), detectorNoise(cfg.detectorSeed) {
    lastE8.fill(-1);
    noise.seed(cfg.noiseSeed);
    noiseSeedInUse = cfg.noiseSeed;
}

void SimRadio::setTraceHandler(std::function<void(const std::string&)> handler) {
    traceHandler = std::move(handler);
}

int SimRadio::e8Value(int command) const {
    if (command < 0 || command > 255) {
        return -1;
    }
    return lastE8[static_cast<std::size_t>(command)];
}

// ----------------------------------------------------------------------------------------------
// Line

void SimRadio::receive(const Bytes& bytes, std::int64_t nowMs) {
    const std::int64_t now = nowMs * kUnitsPerMs;
    for (std::uint8_t byte : bytes) {
        std::int64_t at = now;
        if (cfg.pacing) {
            // The computer's UART sends one byte after the other; the radio has a byte once its
            // stop bit is through, and the loopback hands it back to the computer at that moment.
            hostCursor = std::max(hostCursor, now) + kUnitsPerByte;
            at = hostCursor;
        } else {
            hostCursor = std::max(hostCursor, now);
        }
        if (!cfg.noEcho) {
            queueByte(byte, at);
        }
        onByte(byte, at);
    }
}

Bytes SimRadio::transmit(std::int64_t nowMs) {
    Bytes out;
    const std::int64_t limit = nowMs * kUnitsPerMs;
    while (!outQueue.empty() && (!cfg.pacing || outQueue.front().at <= limit)) {
        out.push_back(outQueue.front().byte);
        outQueue.pop_front();
    }
    return out;
}

std::int64_t SimRadio::nextTransmitMs() const {
    if (outQueue.empty()) {
        return -1;
    }
    return (outQueue.front().at + kUnitsPerMs - 1) / kUnitsPerMs;
}

void SimRadio::queueByte(std::uint8_t byte, std::int64_t at) {
    if (cfg.noiseRate > 0.0) {
        if (noiseSeedInUse != cfg.noiseSeed) {
            noise.seed(cfg.noiseSeed);
            noiseSeedInUse = cfg.noiseSeed;
        }
        const double chance = static_cast<double>(noise() >> 8) / static_cast<double>(1u << 24);
        if (chance < cfg.noiseRate) {
            if ((noise() & 1u) != 0) {
                return; // lost on the line
            }
            byte = static_cast<std::uint8_t>(byte ^ (1u << (noise() % 8u)));
        }
    }
    const Scheduled item{at, byte};
    if (outQueue.empty() || outQueue.back().at <= at) {
        outQueue.push_back(item);
        return;
    }
    // Rare: an echo due before answer bytes already queued. Keep the line in time order and
    // equal times in the order they were queued.
    const auto pos = std::upper_bound(outQueue.begin(), outQueue.end(), at,
                                      [](std::int64_t t, const Scheduled& s) { return t < s.at; });
    outQueue.insert(pos, item);
}

std::int64_t SimRadio::queueAnswer(const Bytes& frame, std::int64_t after) {
    if (cfg.noAnswer) {
        return after;
    }
    if (cfg.loseAnswers > 0) {
        --cfg.loseAnswers;
        trace("answer lost on the line");
        return after;
    }
    Bytes bytes;
    if (cfg.garbage) {
        bytes = kGarbage;
    }
    bytes.insert(bytes.end(), frame.begin(), frame.end());
    std::int64_t t = after;
    if (cfg.pacing) {
        t = std::max(radioCursor,
                     after +
                         static_cast<std::int64_t>(std::max(cfg.answerDelayMs, 0)) * kUnitsPerMs);
    }
    for (std::uint8_t byte : bytes) {
        if (cfg.pacing) {
            t += kUnitsPerByte;
        }
        queueByte(byte, t);
    }
    radioCursor = std::max(radioCursor, t);
    return t;
}

void SimRadio::trace(const std::string& line) const {
    if (traceHandler) {
        traceHandler(line);
    }
}

// ----------------------------------------------------------------------------------------------
// Receiver

void SimRadio::onByte(std::uint8_t byte, std::int64_t at) {
    if (byte == kPreamble) {
        // Each preamble byte (re)starts a frame, so FE FE and a lost half-frame both resync here.
        inFrame = true;
        frameBuf.clear();
        return;
    }
    if (!inFrame) {
        return;
    }
    if (byte == kEndOfFrame) {
        inFrame = false;
        onFrame(at);
        frameBuf.clear();
        return;
    }
    if (frameBuf.size() >= kMaxFrame) {
        inFrame = false;
        frameBuf.clear();
        trace("frame longer than the receiver holds: dropped");
        return;
    }
    frameBuf.push_back(byte);
}

void SimRadio::onFrame(std::int64_t at) {
    if (frameBuf.size() < 3) {
        trace("short frame ignored: " + spacedHex(frameBuf));
        return;
    }
    if (frameBuf[0] != kRadioAddress || frameBuf[1] != kComputerAddress) {
        trace("frame not addressed to the radio ignored: " + spacedHex(frameBuf));
        return;
    }
    const std::uint8_t command = frameBuf[2];
    const Bytes data(frameBuf.begin() + 3, frameBuf.end());
    ++frameCounts[command];
    switch (command) {
    case kCmdIdentityQuery:
        onIdentityQuery(data, at);
        break;
    case kCmdCloneRead:
        onCloneRead(data, at);
        break;
    case kCmdCloneWrite:
        onCloneWriteStart(data);
        break;
    case kCmdRecord:
        onWriteRecord(data);
        break;
    case kCmdCloneEnd:
        onCloneEnd(data, at);
        break;
    case kCmdAdjust:
        onAdjust(data, at);
        break;
    default:
        trace(format("command %02X ignored: ", command) + spacedHex(data));
        break;
    }
}

bool SimRadio::modelMatches(const Bytes& data) const {
    return data.size() >= 2 && data[0] == kModelHigh && data[1] == kModelLow;
}

Bytes SimRadio::identityBytes() const {
    Bytes id{kModelHigh, cfg.wrongModel ? std::uint8_t{0x52} : kModelLow};
    if (cfg.badSubCode) {
        id.insert(id.end(), {0x01, 0x01});
    } else {
        id.insert(id.end(), {0x00, 0x01});
    }
    return id;
}

// ----------------------------------------------------------------------------------------------
// Exchanges

void SimRadio::onIdentityQuery(const Bytes& data, std::int64_t at) {
    if (!modelMatches(data)) {
        trace("E0 identity query for another model ignored: " + spacedHex(data));
        return;
    }
    const Bytes id = identityBytes();
    queueAnswer(makeAnswerFrame(kCmdIdentityAnswer, id), at);
    trace("E0 identity query -> E1 " + spacedHex(id) +
          (cfg.noAnswer ? " [not sent: no answer]" : ""));
}

void SimRadio::onCloneRead(const Bytes& data, std::int64_t at) {
    if (!modelMatches(data)) {
        trace("E2 clone read for another model ignored: " + spacedHex(data));
        return;
    }
    int records = kRecordCount;
    if (cfg.silenceAfterRecords >= 0) {
        records = std::min(records, cfg.silenceAfterRecords);
    }
    std::int64_t t = at;
    for (int i = 0; i < records; ++i) {
        if (i == cfg.dropRecord) {
            continue;
        }
        const int address = i * kRecordSize;
        const int checksumError = (i == cfg.badChecksumRecord) ? 1 : 0;
        const Bytes record =
            encodeRecord(address, eeprom.data() + address, kRecordSize, checksumError);
        t = queueAnswer(makeAnswerFrame(kCmdRecord, record), t);
    }
    std::string line = format("E2 clone read -> %d records", records);
    if (records > 0) {
        line += format(" 000-%03X", records * kRecordSize - 1);
    }
    if (cfg.silenceAfterRecords < 0) {
        queueAnswer(
            makeAnswerFrame(kCmdCloneEnd, Bytes(kCloneEndText.begin(), kCloneEndText.end())), t);
        line += ", E5";
    } else {
        line += ", then silence";
    }
    if (cfg.dropRecord >= 0 && cfg.dropRecord < records) {
        line += format(" [record %d lost]", cfg.dropRecord);
    }
    if (cfg.badChecksumRecord >= 0 && cfg.badChecksumRecord < records) {
        line += format(" [record %d has a bad checksum]", cfg.badChecksumRecord);
    }
    if (cfg.noAnswer) {
        line += " [not sent: no answer]";
    }
    trace(line);
}

void SimRadio::onCloneWriteStart(const Bytes& data) {
    if (!modelMatches(data)) {
        trace("E3 clone write for another model ignored: " + spacedHex(data));
        return;
    }
    writing = true;
    writeOk = true;
    writeRecords = 0;
    writeBuffer = eeprom;
    trace("E3 clone write started");
}

void SimRadio::onWriteRecord(const Bytes& data) {
    if (!writing) {
        trace("E4 record outside a clone write ignored");
        return;
    }
    const DecodedRecord record = decodeRecord(data, kMemorySize);
    if (!record.ok) {
        // One bad record spoils the whole write: nothing reaches the memory at the end.
        writeOk = false;
        trace("E4 write record refused: " + record.problem);
        return;
    }
    std::copy(record.data.begin(), record.data.end(), writeBuffer.begin() + record.address);
    ++writeRecords;
    trace(format("E4 write record %03X, %d bytes", record.address,
                 static_cast<int>(record.data.size())));
}

void SimRadio::onCloneEnd(const Bytes& data, std::int64_t at) {
    if (!writing) {
        trace("E5 outside a clone write ignored");
        return;
    }
    writing = false;
    const bool textOk = data == Bytes(kCloneEndText.begin(), kCloneEndText.end());
    const bool accepted = writeOk && textOk && !cfg.refuseWrite;
    if (accepted) {
        keepStuckCell(writeBuffer);
        eeprom = writeBuffer;
    }
    queueAnswer(
        makeAnswerFrame(kCmdWriteResult, {static_cast<std::uint8_t>(accepted ? 0x00 : 0x01)}), at);
    std::string line =
        format("E5 end of clone write (%d records) -> E6 %02X", writeRecords, accepted ? 0 : 1);
    if (!textOk) {
        line += " [wrong end text]";
    } else if (!writeOk) {
        line += " [a record was refused]";
    } else if (cfg.refuseWrite) {
        line += " [write refused: fault]";
    }
    if (cfg.noAnswer) {
        line += " [not sent: no answer]";
    }
    trace(line);
}

} // namespace vxk5sim
