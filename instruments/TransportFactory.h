// SPDX-License-Identifier: GPL-3.0-or-later
// The transport a resource name calls for.
#pragma once

#include "instruments/ResourceName.h"
#include "instruments/SerialTransport.h"
#include "instruments/Transport.h"

#include <memory>

namespace instruments {

struct TransportSettings {
    SerialSettings serial;        // ASRL resources
    int blockingTimeoutMs = 2000; // bounds each call of the USBTMC and VXI-11 links
};

std::unique_ptr<Transport> makeTransport(const Resource& resource,
                                         const TransportSettings& settings = {});

} // namespace instruments
