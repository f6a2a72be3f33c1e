// SPDX-License-Identifier: GPL-3.0-or-later
// The computer's copy of the radio's memory (2048 bytes, addresses 0x000 to 0x7FF). A clone
// read fills it record by record; the console and the model read and write single bytes.
// Nothing outside the image is ever read or written: out-of-range reads give 0, out-of-range
// writes are refused whole. Single-byte writes are the live values the utility stores after a
// live command; an observer hears each that changes a byte (a block write is a whole memory
// arriving and is not reported).
#pragma once

#include "platform/Bytes.h"

#include <cstdint>
#include <functional>

class clsCmcEeprom {
  public:
    static constexpr std::int32_t DefaultSize = 2048;

    using WriteObserver = std::function<void(std::int32_t adr, std::uint8_t from, std::uint8_t to)>;
    void setWriteObserver(WriteObserver observer) { writeObserver = std::move(observer); }

    std::int32_t eeSize() const { return static_cast<std::int32_t>(eeData.size()); }
    // Replaces the image by an all-zero image of the new size.
    void setEeSize(std::int32_t size);

    // The byte at adr (0 to 255); 0 outside the image.
    std::int16_t ReadByte(std::int32_t adr) const;
    // 0 = stored (the low byte of value); 1 = adr outside the image, nothing stored. A byte
    // that changes is reported to the observer.
    std::int16_t WriteByte(std::int32_t adr, int value);
    // 0 = all bytes stored from adr upward; 1 = the block does not lie wholly inside the image,
    // nothing stored.
    std::int16_t WriteBlock(std::int32_t adr, const Bytes& data);
    // count bytes from adr upward; the part of the range outside the image reads as 0.
    Bytes ReadBlock(std::int32_t adr, std::int32_t count) const;

  private:
    bool isValidAdr(std::int64_t adr) const { return adr >= 0 && adr < eeSize(); }

    Bytes eeData = Bytes(DefaultSize, 0);
    WriteObserver writeObserver;
};
