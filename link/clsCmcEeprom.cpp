// SPDX-License-Identifier: GPL-3.0-or-later
// The memory image: single bytes and blocks, every access checked against the image's size.
#include "link/clsCmcEeprom.h"

void clsCmcEeprom::setEeSize(std::int32_t size) {
    eeData.assign(size > 0 ? size : 0, 0);
}

std::int16_t clsCmcEeprom::ReadByte(std::int32_t adr) const {
    return isValidAdr(adr) ? eeData[static_cast<std::size_t>(adr)] : 0;
}

std::int16_t clsCmcEeprom::WriteByte(std::int32_t adr, int value) {
    if (!isValidAdr(adr)) {
        return 1;
    }
    std::uint8_t& cell = eeData[static_cast<std::size_t>(adr)];
    const std::uint8_t from = cell;
    cell = static_cast<std::uint8_t>(value & 0xFF);
    if (writeObserver && cell != from) {
        writeObserver(adr, from, cell);
    }
    return 0;
}

std::int16_t clsCmcEeprom::WriteBlock(std::int32_t adr, const Bytes& data) {
    const std::int64_t last =
        static_cast<std::int64_t>(adr) + static_cast<std::int64_t>(data.size()) - 1;
    if (!isValidAdr(adr) || !isValidAdr(last)) {
        return 1;
    }
    std::copy(data.begin(), data.end(), eeData.begin() + adr);
    return 0;
}

Bytes clsCmcEeprom::ReadBlock(std::int32_t adr, std::int32_t count) const {
    // Callers keep inside the image; a range that strays outside reads zeros rather than
    // memory that is not the image.
    Bytes block;
    for (std::int64_t a = adr; a < static_cast<std::int64_t>(adr) + count; ++a) {
        block.push_back(isValidAdr(a) ? eeData[static_cast<std::size_t>(a)] : 0);
    }
    return block;
}
