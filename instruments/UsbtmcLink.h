// SPDX-License-Identifier: GPL-3.0-or-later
// The Linux usbtmc character device (/dev/usbtmc<n>): a write is one command, a read returns
// the instrument's answer. Both wait, so it runs behind BlockingTransport. A USB resource
// name's vendor, model and serial number are matched against the usbtmc devices the kernel
// lists under /sys/class/usbmisc when the link opens.
#pragma once

#include "instruments/BlockingTransport.h"
#include "instruments/ResourceName.h"

namespace instruments {

class UsbtmcLink : public BlockingLink {
  public:
    // timeoutMs bounds every read and write in the driver.
    UsbtmcLink(Resource resource, int timeoutMs);
    ~UsbtmcLink() override { close(); }

    std::string open() override;
    std::string write(const std::string& command) override;
    std::string read(std::string& answer) override;
    void close() override;

  private:
    Resource resource;
    int timeoutMs;
    int fd = -1;
};

// The /dev/usbtmc<n> whose USB device carries these ids, or empty when none does.
std::string findUsbtmcDevice(const Resource& resource);

} // namespace instruments
