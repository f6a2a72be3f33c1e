// The text of the link's error message, chosen from the port manager's flags, its port number,
// the driver's last error and the sequencer's error (the first matching condition wins):
//
//   cloneErrorText(true, false, 1, 0, 0) ==
//       "Cannot access COM 1.\r\n\r\nCheck the following:\r\n\r\n"
//       "- The COM port settings.\r\n- Cloning cable connections.\r\n- The VX-K5 power is ON."
#pragma once

#include <cstdint>
#include <string>

class clsCmcCln3Sequence;
class frmCom;

std::string cloneErrorText(bool errCannotOpen, bool errOverflow, std::int16_t comPortNum,
                           std::int16_t lastError, std::int16_t seqError);

// The same from the live objects.
std::string cloneErrorText(const frmCom& com, const clsCmcCln3Sequence& seq);
