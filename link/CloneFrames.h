// SPDX-License-Identifier: GPL-3.0-or-later
// The clone protocol's frames as bytes: a command body framed for the line, the checks a
// received frame must pass for its command, and the ASCII-hexadecimal memory records of the
// clone read and write. Pure functions: bytes in, decisions out.
//
//   frameOf({0xE0, 0x73, 0x51, 0x00, 0x00})  ->  FE FE EE EF E0 73 51 00 00 FD
//
// A received frame is what the receiver keeps of an answer: the bytes after the last preamble
// byte up to (not including) FD, that is destination EF, source EE, command, data.
#pragma once

#include "platform/Bytes.h"

#include <cstdint>
#include <string>

namespace frames {

inline constexpr std::uint8_t Preamble = 0xFE;
inline constexpr std::uint8_t EndOfFrame = 0xFD;
inline constexpr std::uint8_t AdrRadio = 0xEE;
inline constexpr std::uint8_t AdrComputer = 0xEF;

inline constexpr std::uint8_t CmdIdentityQuery = 0xE0;
inline constexpr std::uint8_t CmdIdentityAnswer = 0xE1;
inline constexpr std::uint8_t CmdCloneRead = 0xE2;
inline constexpr std::uint8_t CmdCloneWrite = 0xE3;
inline constexpr std::uint8_t CmdRecord = 0xE4;
inline constexpr std::uint8_t CmdEnd = 0xE5;
inline constexpr std::uint8_t CmdWriteResult = 0xE6;
inline constexpr std::uint8_t CmdAdjust = 0xE8;

// Where things stand in a received frame (0-based).
inline constexpr std::size_t PosCommand = 2;
inline constexpr std::size_t PosData = 3;
// A record frame is EF EE E4 and 2 (n + 4) characters: address (4), count (2), n data bytes
// (2 each), checksum (2).
inline constexpr std::size_t RecordOverhead = 11;

// The maker's name that ends a clone read and a clone write, carried raw.
inline const std::string EndMark = "Vexo Inc.";

// FE FE EE EF, the body, FD.
Bytes frameOf(const Bytes& body);

// True when a received frame is malformed for its command; expectedE8Sub is the first payload
// byte of the adjustment command the answer must repeat. Commands not checked are never bad.
bool isBadFrame(const Bytes& received, std::uint8_t expectedE8Sub);

// The memory bytes a record frame carries (one that passed isBadFrame).
struct Record {
    std::int32_t address;
    Bytes data;
};
Record recordOf(const Bytes& received);

// The body of a clone-write record (E4 and upper-case ASCII hex) and of the closing frame.
Bytes recordBody(std::int32_t address, const Bytes& data);
Bytes endBody();

} // namespace frames
