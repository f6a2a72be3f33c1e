// SPDX-License-Identifier: GPL-3.0-or-later
// The clone protocol as the radio sees it: frame bytes, the answer frame builder and the ASCII
// hexadecimal memory records of the clone read and write. Pure functions, no state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vxk5sim {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::uint8_t kPreamble = 0xFE;
inline constexpr std::uint8_t kEndOfFrame = 0xFD;
inline constexpr std::uint8_t kRadioAddress = 0xEE;
inline constexpr std::uint8_t kComputerAddress = 0xEF;

inline constexpr std::uint8_t kCmdIdentityQuery = 0xE0;
inline constexpr std::uint8_t kCmdIdentityAnswer = 0xE1;
inline constexpr std::uint8_t kCmdCloneRead = 0xE2;
inline constexpr std::uint8_t kCmdCloneWrite = 0xE3;
inline constexpr std::uint8_t kCmdRecord = 0xE4;
inline constexpr std::uint8_t kCmdCloneEnd = 0xE5;
inline constexpr std::uint8_t kCmdWriteResult = 0xE6;
inline constexpr std::uint8_t kCmdAdjust = 0xE8;

// The maker's name that closes a clone read or write, carried raw.
inline const std::string kCloneEndText = "Vexo Inc.";

// A frame from the radio to the computer: FE FE EF EE cmd data FD.
Bytes makeAnswerFrame(std::uint8_t command, const Bytes& data);

// The data of an E4 record: upper-case ASCII hex pairs of address high, address low, count,
// the data bytes and a checksum that makes all those bytes add up to 0 mod 256.
// checksumError is added to the correct checksum (0 gives a valid record).
Bytes encodeRecord(int address, const std::uint8_t* data, int count, int checksumError = 0);

struct DecodedRecord {
    bool ok = false;
    int address = 0;
    Bytes data;
    std::string problem; // why the record was refused, empty when ok
};

// Checks and decodes the data of an E4 record (either case of hex digits is accepted).
// memorySize bounds the address range the record may cover.
DecodedRecord decodeRecord(const Bytes& ascii, int memorySize);

// Value of one ASCII hex digit, -1 for any other byte.
int hexDigitValue(std::uint8_t c);

// "FE FE EE EF E0" style text of bytes, for trace lines.
std::string spacedHex(const Bytes& bytes);

} // namespace vxk5sim
