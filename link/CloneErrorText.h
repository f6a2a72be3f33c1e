// SPDX-License-Identifier: GPL-3.0-or-later
// The text of the link's error message, chosen from the port's state, its number, the driver's
// last error and the sequencer's error (the first matching condition wins):
//
//   cloneErrorText(true, 1, DriverError::None, SequencerError::None) ==
//       "Cannot access COM 1.\r\n\r\nCheck the following:\r\n\r\n"
//       "- The COM port settings.\r\n- Cloning cable connections.\r\n- The VX-K5 power is ON."
#pragma once

#include "link/clsCmcCln3Drv.h"
#include "link/clsCmcCln3Sequence.h"

#include <cstdint>
#include <string>

// portUnavailable: the port could not be opened, or it went away under the program.
std::string cloneErrorText(bool portUnavailable, std::int16_t comPortNum, DriverError lastError,
                           SequencerError seqError);

// The same from the live objects.
std::string cloneErrorText(const frmCom& com, const clsCmcCln3Sequence& seq);
