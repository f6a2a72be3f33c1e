// SPDX-License-Identifier: GPL-3.0-or-later
// The VXI-11 link.
#include "instruments/LxiLink.h"

#include <lxi.h>

#include <mutex>

namespace instruments {
namespace {

// An identity or an error text fits many times over.
constexpr int kAnswerBuffer = 4096;

} // namespace

LxiLink::LxiLink(Resource r, int timeout) : resource(std::move(r)), timeoutMs(timeout) {}

std::string LxiLink::open() {
    static std::once_flag initialised;
    std::call_once(initialised, [] { lxi_init(); });
    device = lxi_connect(resource.host.c_str(), 0, resource.device.c_str(), timeoutMs, VXI11);
    if (device < 0) {
        return "no VXI-11 instrument answers at " + resource.host;
    }
    return {};
}

std::string LxiLink::write(const std::string& command) {
    const std::string line = command + "\n";
    if (lxi_send(device, line.c_str(), static_cast<int>(line.size()), timeoutMs) < 0) {
        return "the command could not be sent to " + resource.host;
    }
    return {};
}

std::string LxiLink::read(std::string& answer) {
    char buffer[kAnswerBuffer];
    const int n = lxi_receive(device, buffer, sizeof buffer, timeoutMs);
    if (n < 0) {
        return "no answer came from " + resource.host;
    }
    answer.assign(buffer, static_cast<std::size_t>(n));
    while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r')) {
        answer.pop_back();
    }
    return {};
}

void LxiLink::close() {
    if (device >= 0) {
        lxi_disconnect(device);
        device = -1;
    }
}

} // namespace instruments
