// SPDX-License-Identifier: GPL-3.0-or-later
// VXI-11 (TCPIP::host[::inst0]::INSTR) through liblxi, whose calls wait for the network, so it
// runs behind BlockingTransport. Every call is bounded by the timeout given here.
#pragma once

#include "instruments/BlockingTransport.h"
#include "instruments/ResourceName.h"

namespace instruments {

class LxiLink : public BlockingLink {
  public:
    LxiLink(Resource resource, int timeoutMs);
    ~LxiLink() override { close(); }

    std::string open() override;
    std::string write(const std::string& command) override;
    std::string read(std::string& answer) override;
    void close() override;

  private:
    Resource resource;
    int timeoutMs;
    int device = -1;
};

} // namespace instruments
