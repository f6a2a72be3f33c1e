// SPDX-License-Identifier: GPL-3.0-or-later
// The link error message texts.
#include "link/CloneErrorText.h"

#include "link/frmCom.h"

#include <vector>

namespace {

const char* const CrLf = "\r\n";
const char* const CheckPort = "- The COM port settings.";
const char* const CheckCable = "- Cloning cable connections.";
const char* const CheckPower = "- The VX-K5 power is ON.";

// A number as the technician sees it: a blank stands where a minus sign would.
std::string numberWithSign(int n) {
    return n < 0 ? std::to_string(n) : " " + std::to_string(n);
}

std::string withCheckList(const std::string& firstLine, const std::vector<const char*>& list) {
    std::string text = firstLine + CrLf + CrLf + "Check the following:" + CrLf + CrLf;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i > 0) {
            text += CrLf;
        }
        text += list[i];
    }
    return text;
}

std::string driverErrorText(DriverError error) {
    const std::vector<const char*> all = {CheckPort, CheckCable, CheckPower};
    switch (error) {
    case DriverError::NoEcho:
        return withCheckList("Cannot access COM port", all);
    case DriverError::NoAnswer:
        return withCheckList("No answer from VX-K5.", all);
    case DriverError::BadFrame:
        return withCheckList("Illegal data.", all);
    case DriverError::ImageOverflow:
        return withCheckList("Data Overflow.", all);
    case DriverError::WriteRefused:
        return withCheckList("Cannot write cloning data.", {CheckCable, CheckPower});
    default:
        return withCheckList("Cannot Clone.", all);
    }
}

} // namespace

std::string cloneErrorText(bool portUnavailable, std::int16_t comPortNum, DriverError lastError,
                           SequencerError seqError) {
    if (portUnavailable) {
        return withCheckList("Cannot access COM" + numberWithSign(comPortNum) + ".",
                             {CheckPort, CheckCable, CheckPower});
    }
    if (lastError != DriverError::None) {
        return driverErrorText(lastError);
    }
    switch (seqError) {
    case SequencerError::None:
        return withCheckList("Communication failed.", {CheckCable, CheckPower});
    case SequencerError::SubCode:
        return std::string("Version number does not match") + CrLf + "for this VX-K5.";
    default:
        return withCheckList("Cannot Clone.", {CheckPort, CheckCable, CheckPower});
    }
}

std::string cloneErrorText(const frmCom& com, const clsCmcCln3Sequence& seq) {
    // A port that went away reads to the technician like one that cannot be opened.
    return cloneErrorText(com.errCannotOpen() || com.errPortLost(), com.comPortNum(),
                          com.cln3D.lastError(), seq.error());
}
