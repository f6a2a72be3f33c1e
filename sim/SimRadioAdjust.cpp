// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated radio's adjustment state: the E8 commands it takes once unlocked, the channel,
// the bytes each command stores, and the readouts it answers from its circuits.
#include "sim/SimRadio.h"

#include "sim/SimNames.h"

#include <algorithm>

namespace vxk5sim {
namespace {

const std::string kUnlockText = "5Rk9Tz3Wq1";

int clampByte(int value) {
    return std::clamp(value, 0, 255);
}

} // namespace

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
        if (address != cfg.stuckCell) {
            eeprom[static_cast<std::size_t>(address)] = static_cast<std::uint8_t>(v & 0xFF);
        }
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

void SimRadio::keepStuckCell(Memory& next) const {
    if (cfg.stuckCell >= 0 && cfg.stuckCell < kMemorySize) {
        const auto cell = static_cast<std::size_t>(cfg.stuckCell);
        next[cell] = eeprom[cell];
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
        if (antenna != nullptr) {
            return generatorDetector(
                cfg, eeprom, band(),
                {antenna->outputOn(), antenna->frequencyHz(), antenna->levelDbm()});
        }
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
