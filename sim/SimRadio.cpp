// The simulated radio: its receiver, the exchanges it answers and the line timing.
#include "sim/SimRadio.h"

#include <algorithm>
#include <cstdio>

namespace vxk5sim {
namespace {

constexpr std::uint8_t kModelHigh = 0x73;
constexpr std::uint8_t kModelLow = 0x51;
// Longest frame the receiver keeps: an E4 record of 255 data bytes plus addresses and command.
constexpr std::size_t kMaxFrame = 600;
const std::string kUnlockText = "5Rk9Tz3Wq1";
// Stray bytes of a noisy cable: never a frame delimiter, so they sit between frames.
const Bytes kGarbage{0x00, 0x55, 0xAA, 0x13};

std::string format(const char* fmt, auto... args) {
    char buf[256];
    std::snprintf(buf, sizeof buf, fmt, args...);
    return buf;
}

std::string commandName(int command) {
    static const char* const bands[] = {"Low", "Mid", "High"};
    if (command >= 17 && command <= 25) {
        return format("BPF %s T%d", bands[(command - 17) / 3], (command - 17) % 3 + 1);
    }
    if (command >= 26 && command <= 45) {
        return format("REF Initial %d", command - 26);
    }
    if (command >= 46 && command <= 65) {
        return format("REF Slant %d", command - 46);
    }
    switch (command) {
    case 2:
        return "DTCS test tone";
    case 4:
        return "S1 threshold";
    case 5:
        return "S2 threshold";
    case 6:
        return "S3 threshold";
    case 7:
        return "SQL";
    case 11:
        return "Power(Lo)";
    case 12:
        return "Power(Hi)";
    case 13:
        return "MOD input level";
    case 14:
        return "MOD Level";
    case 15:
        return "DTCS BAL";
    case 16:
        return "DTCS decode";
    case 66:
        return "BPF sweep done";
    default:
        return "no function";
    }
}

std::string parameterName(int parameter) {
    static const char* const names[] = {"TEMPS",  "LVIN",     "SD",     "BPF T1", "BPF T2",
                                        "BPF T3", "TX power", "MOD LV", "Volume", "DTCS BL",
                                        "REF",    "Dev",      "SQL Lev"};
    if (parameter >= 0 && parameter < static_cast<int>(std::size(names))) {
        return names[parameter];
    }
    return "unknown";
}

int clampByte(int value) {
    return std::clamp(value, 0, 255);
}

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

void SimRadio::onAdjust(const Bytes& data, std::int64_t at) {
    if (data.size() < 5) {
        trace("E8 without a command ignored: " + spacedHex(data));
        return;
    }
    if (!modelMatches(data)) {
        trace("E8 for another model ignored: " + spacedHex(data));
        return;
    }
    const int command = data[4];
    const Bytes chars(data.begin() + 5, data.end());
    const bool unlockText = chars == Bytes(kUnlockText.begin(), kUnlockText.end());
    if (command == 0) {
        if (!unlockText) {
            trace("E8 0 with a wrong unlock text ignored");
            return;
        }
        trace(unlocked ? "E8 0 unlock: already in the adjustment state"
                       : "E8 0 unlock: adjustment state entered");
        unlocked = true;
        lastE8[0] = 0;
        return;
    }
    if (!unlocked) {
        trace(format("E8 %d ignored: not in the adjustment state", command));
        return;
    }
    if (command == 1) {
        applyChannel(chars);
        return;
    }
    if (chars.size() != 2 || hexDigitValue(chars[0]) < 0 || hexDigitValue(chars[1]) < 0) {
        trace(format("E8 %d with a malformed value ignored: ", command) + spacedHex(chars));
        return;
    }
    const int value = hexDigitValue(chars[0]) * 16 + hexDigitValue(chars[1]);
    lastE8[static_cast<std::size_t>(command)] = value;
    e8History.push_back({command, value});
    if (command == 3) {
        const int reading = value == 2 ? detectorReading() : readout(value);
        static const char digits[] = "0123456789ABCDEF";
        Bytes answer = identityBytes();
        answer.push_back(0x03);
        answer.push_back(static_cast<std::uint8_t>(digits[reading >> 4]));
        answer.push_back(static_cast<std::uint8_t>(digits[reading & 0xF]));
        queueAnswer(makeAnswerFrame(kCmdAdjust, answer), at);
        trace(format("E8 3 readout %d (%s) -> %d (%02Xh)", value, parameterName(value).c_str(),
                     reading, reading) +
              (cfg.noAnswer ? " [not sent: no answer]" : ""));
        return;
    }
    applyAdjustment(command, value);
    trace(format("E8 %d %s = %d (%02Xh)", command, commandName(command).c_str(), value, value));
}

void SimRadio::applyChannel(const Bytes& chars) {
    bool valid = chars.size() == 8;
    std::int64_t packed = 0;
    for (std::size_t i = 0; valid && i < chars.size(); ++i) {
        const int digit = hexDigitValue(chars[i]);
        valid = digit >= 0;
        packed = packed * 16 + digit;
    }
    std::int64_t frequency = 0;
    int flags = 0;
    for (int i = 0; valid && i < 8; ++i) {
        const int nibble = static_cast<int>((packed >> (28 - 4 * i)) & 0xF);
        if (i == 7) {
            flags = nibble;
            valid = nibble <= 3;
        } else {
            valid = nibble <= 9;
            frequency = frequency * 10 + nibble;
        }
    }
    frequency *= 10; // the seven digits run from 10^7 down to 10^1 of the 10 Hz count
    // The synthesizer stops well below 800 MHz; refusing above keeps every packed value a
    // positive 32-bit number.
    if (!valid || frequency >= 80000000) {
        trace("E8 1 with an invalid channel ignored: " + spacedHex(chars));
        return;
    }
    channelFreq = frequency;
    channelRef = (flags & 2) != 0;
    channelLow = (flags & 1) != 0;
    lastE8[1] = static_cast<int>(packed);
    e8History.push_back({1, packed});
    trace(format("E8 1 channel %lld.%05lld MHz, reference %d, low power %d (%s band)",
                 static_cast<long long>(frequency / 100000),
                 static_cast<long long>(frequency % 100000), channelRef ? 1 : 0, channelLow ? 1 : 0,
                 bandName(band())));
}

void SimRadio::applyAdjustment(int command, int value) {
    auto store = [this](int address, int v) {
        eeprom[static_cast<std::size_t>(address)] = static_cast<std::uint8_t>(v & 0xFF);
    };
    if (command >= 17 && command <= 25) {
        store(adr::kBandPass + command - 17, value);
        return;
    }
    if (command >= 26 && command <= 45) {
        store(adr::kRefInitial + command - 26, value);
        return;
    }
    if (command >= 46 && command <= 65) {
        store(adr::kRefSlant + command - 46, value);
        return;
    }
    switch (command) {
    case 2:
        dtcsToneOn = value != 0;
        break;
    case 4:
    case 5:
    case 6:
        // The live commands carry the detector thresholds a little below the S-point levels
        // the set keeps (2, 1 and 0 counts for S1, S2, S3).
        store(adr::kSMeter + command - 4, value + (6 - command));
        break;
    case 7:
        store(adr::kSquelch, value);
        break;
    case 11:
        store(adr::kPowerLow, value);
        break;
    case 12:
        store(adr::kPowerHigh, value);
        break;
    case 13:
        store(adr::kModLevelIn, value);
        break;
    case 14:
        store(adr::kModLevel, value);
        break;
    case 15:
        store(adr::kDtcsBalance, value);
        break;
    case 16:
        store(adr::kDtcsDecode, value);
        break;
    default:
        break; // recorded only (66 ends a band-pass sweep, others have no function)
    }
}

// The signal detector as a readout answers it: the next scripted reading while any are left,
// otherwise the modelled circuit with its noise.
int SimRadio::detectorReading() {
    if (!cfg.detectorScript.empty()) {
        const int reading = clampByte(cfg.detectorScript.front());
        cfg.detectorScript.pop_front();
        return reading;
    }
    return detectorNoise.apply(readout(2), cfg);
}

int SimRadio::readout(int parameter) const {
    const auto cell = [this](int address) {
        return static_cast<int>(eeprom[static_cast<std::size_t>(address)]);
    };
    switch (parameter) {
    case 0:
        return clampByte(cfg.temperature);
    case 1:
        return clampByte(cfg.level);
    case 2:
        return signalDetector(cfg, eeprom, band());
    case 3:
    case 4:
    case 5:
        return cell(adr::kBandPass + 3 * band() + parameter - 3);
    case 6:
        return cell(channelLow ? adr::kPowerLow : adr::kPowerHigh);
    case 7:
        return cell(adr::kModLevelIn);
    case 8:
        return clampByte(cfg.volume);
    case 9:
        return cell(adr::kDtcsBalance);
    case 10:
        return referenceDac(eeprom, clampByte(cfg.temperature));
    case 11:
        return cell(adr::kModLevel);
    case 12:
        return cell(adr::kSquelch);
    default:
        return 0; // no such converter: the radio answers a zero reading
    }
}

} // namespace vxk5sim
