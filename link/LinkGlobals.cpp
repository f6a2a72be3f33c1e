// The link's application globals and the radio's sub code rule.
#include "link/LinkGlobals.h"

#include "link/LinkHost.h"
#include "link/clsCmcCln3Sequence.h"
#include "link/clsCmcRadio.h"

#include <memory>

namespace {

std::unique_ptr<clsCmcRadio> radio;
frmCom* com = nullptr;
std::unique_ptr<clsCmcCln3Sequence> seq;

} // namespace

clsCmcRadio& gObjRadio() {
    if (!radio) {
        radio = std::make_unique<clsCmcRadio>();
    }
    return *radio;
}

frmCom* gObjCom() {
    return com;
}

void setGObjCom(frmCom* value) {
    com = value;
}

clsCmcCln3Sequence& gObjSeq() {
    if (!seq) {
        seq = std::make_unique<clsCmcCln3Sequence>();
    }
    return *seq;
}

void resetLinkGlobals() {
    seq.reset();
    radio.reset();
    com = nullptr;
}

bool subNameIsLegal(const std::string& nameS) {
    return nameS.substr(0, 2) <= std::string("00");
}
