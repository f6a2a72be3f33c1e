// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers of the simulated-radio tests: the frames of the adjustment state as the computer
// sends them and the radio must answer, and one exchange with a radio that is not paced.
#pragma once

#include "sim/SimRadio.h"
#include "tests/support/WireFrames.h"

#include <cstdint>
#include <string>

namespace simtest {

using testsupport::cat;
using testsupport::hex;
using testsupport::hostFrame;
using testsupport::radioFrame;
using vxk5sim::Bytes;

// E8 frame for model 73 51, sub 00 01: the command byte, then the payload characters.
inline Bytes e8Frame(std::uint8_t command, const Bytes& chars) {
    return hostFrame(0xE8, cat({0x73, 0x51, 0x00, 0x01, command}, chars));
}
inline Bytes e8Value(std::uint8_t command, int value) {
    return e8Frame(command, hex({std::uint8_t(value)}));
}

inline const Bytes IdentityQuery = hostFrame(0xE0, {0x73, 0x51, 0x00, 0x00});
inline const Bytes IdentityAnswer = radioFrame(0xE1, {0x73, 0x51, 0x00, 0x01});
inline const Bytes Unlock = e8Frame(0x00, {'5', 'R', 'k', '9', 'T', 'z', '3', 'W', 'q', '1'});

// Sends one frame at t = 0 and returns everything the computer receives.
inline Bytes talk(vxk5sim::SimRadio& radio, const Bytes& frame) {
    radio.receive(frame, 0);
    return radio.transmit(0);
}

} // namespace simtest
