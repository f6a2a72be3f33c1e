// SPDX-License-Identifier: GPL-3.0-or-later
// The console's events, passed on to the model, the waits noted on the way.
#include "bench/WaitWatch.h"

#include "bench/LineLog.h"
#include "console/clsConsole.h"

namespace vsk5bench {

WaitWatch::WaitWatch(clsConsole& items, LineLog& lineLog, std::function<std::int64_t()> handedOver)
    : console(items), log(lineLog), bytesHandedOver(std::move(handedOver)),
      model(items.myEventClass) {
    console.myEventClass = this;
}

WaitWatch::~WaitWatch() {
    if (console.myEventClass == this) {
        console.myEventClass = model;
    }
}

std::string WaitWatch::ConsEv_Disp(clsConsole& objConsole, std::int16_t Index, std::int16_t evNo,
                                   std::int16_t val) {
    return model->ConsEv_Disp(objConsole, Index, evNo, val);
}

void WaitWatch::ConsEv_SendE8(clsConsole& objConsole, std::int16_t Index, std::int16_t evNo,
                              std::int16_t val) {
    model->ConsEv_SendE8(objConsole, Index, evNo, val);
}

void WaitWatch::ConsEv_Enter(clsConsole& objConsole, std::int16_t Index, std::int16_t evNo,
                             std::int16_t val) {
    model->ConsEv_Enter(objConsole, Index, evNo, val);
}

void WaitWatch::WaitE8Required(std::int32_t wt) {
    log.waitAsked(wt, bytesHandedOver());
    model->WaitE8Required(wt);
}

} // namespace vsk5bench
