// The link error message texts.
#include "link/CloneErrorText.h"

#include "link/clsCmcCln3Sequence.h"
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

} // namespace

std::string cloneErrorText(bool errCannotOpen, bool errOverflow, std::int16_t comPortNum,
                           std::int16_t lastError, std::int16_t seqError) {
    const std::vector<const char*> all = {CheckPort, CheckCable, CheckPower};
    const std::vector<const char*> noPort = {CheckCable, CheckPower};
    if (errCannotOpen) {
        return withCheckList("Cannot access COM" + numberWithSign(comPortNum) + ".", all);
    }
    if (errOverflow) {
        return withCheckList("COM buffer Overflow.", all);
    }
    switch (lastError) {
    case 0:
        break;
    case 1:
        return withCheckList("Cannot access COM port", all);
    case 2:
        return withCheckList("No answer from VX-K5.", all);
    case 3:
        return withCheckList("Illegal data.", all);
    case 4:
        return withCheckList("Data Overflow.", all);
    case 6:
        return withCheckList("Cannot write cloning data.", noPort);
    default:
        return withCheckList("Cannot Clone.", all);
    }
    if (seqError == 0) {
        return withCheckList("Communication failed.", noPort);
    }
    if (seqError == 2) {
        return std::string("Version number does not match") + CrLf + "for this VX-K5.";
    }
    return withCheckList("Cannot Clone.", all);
}

std::string cloneErrorText(const frmCom& com, const clsCmcCln3Sequence& seq) {
    // A port that went away reads to the technician like one that cannot be opened.
    return cloneErrorText(com.errCannotOpen() || com.errPortLost(), com.errOverflow(),
                          com.comPortNum(), com.cln3D.lastError(), seq.error());
}
