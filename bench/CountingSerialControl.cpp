// SPDX-License-Identifier: GPL-3.0-or-later
// The real serial control with a count of what it was handed.
#include "bench/CountingSerialControl.h"

#include "bench/Clock.h"

namespace vsk5bench {

CountingSerialControl::CountingSerialControl(const std::string& portsIniPath) : real(portsIniPath) {
    real.setEventHandler([this](int commEvent) { raiseEvent(commEvent); });
}

bool CountingSerialControl::output(const Bytes& block) {
    const bool taken = real.output(block);
    if (taken) {
        handedOver += static_cast<std::int64_t>(block.size());
        moments[handedOver] = nowNs();
    }
    return taken;
}

std::int64_t CountingSerialControl::handedAt(std::int64_t n) const {
    const auto block = moments.lower_bound(n); // the first block ending at n or later
    return block == moments.end() ? 0 : block->second;
}

} // namespace vsk5bench
