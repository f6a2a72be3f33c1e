// SPDX-License-Identifier: GPL-3.0-or-later
// What the technician is told when an adjustment procedure cannot give a sound result: no
// signal at the detector, a sweep without a peak, a level outside the S-meter's range, a
// temperature sensor error, a test channel that is not set up. Each says what was left unchanged
// and what to check.
#pragma once

#include <string>

namespace procedure_messages {

// A band-pass sweep saw no signal at all. band is "Low", "Mid" or "High"; channel is the test
// channel's number and frequency as the console shows them ("01", "146.000000").
std::string noSignalForSweep(const std::string& band, const std::string& channel,
                             const std::string& frequency);
// The coarse points of a band-pass sweep showed no peak: their readings lay within 2 counts of
// each other (the signal outside the band), or two or more of them read full scale (the
// signal too strong). Same arguments as noSignalForSweep.
std::string flatResponseForSweep(const std::string& band, const std::string& channel,
                                 const std::string& frequency);
std::string saturatedDetectorForSweep(const std::string& band, const std::string& channel,
                                      const std::string& frequency);
// The S-meter reading was 0.
std::string noSignalForSMeter();
// The S-meter reading was 1, or above 239.
std::string sMeterLevelTooLow();
std::string sMeterLevelTooHigh();
// The temperature sensor read 0 or 255.
std::string temperatureSensorError();
// The test channel a procedure works on is hidden. procedure is the item's name ("TXF").
std::string channelNotSetUp(const std::string& procedure, const std::string& channel);

} // namespace procedure_messages
