// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing the transport for a resource.
#include "instruments/TransportFactory.h"

#include "instruments/BlockingTransport.h"
#include "instruments/LxiLink.h"
#include "instruments/SocketTransport.h"
#include "instruments/UsbtmcLink.h"

namespace instruments {

std::unique_ptr<Transport> makeTransport(const Resource& resource,
                                         const TransportSettings& settings) {
    switch (resource.kind) {
    case ConnectionKind::Socket:
        return std::make_unique<SocketTransport>(QString::fromStdString(resource.host),
                                                 static_cast<quint16>(resource.port));
    case ConnectionKind::Serial:
        return std::make_unique<SerialTransport>(QString::fromStdString(resource.device),
                                                 settings.serial);
    case ConnectionKind::Usbtmc:
        return std::make_unique<BlockingTransport>(
            std::make_unique<UsbtmcLink>(resource, settings.blockingTimeoutMs));
    case ConnectionKind::Vxi11:
        return std::make_unique<BlockingTransport>(
            std::make_unique<LxiLink>(resource, settings.blockingTimeoutMs));
    }
    return nullptr;
}

} // namespace instruments
