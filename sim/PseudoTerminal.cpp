// SPDX-License-Identifier: GPL-3.0-or-later
// The pseudo-terminal the simulated radio answers on.
#include "sim/PseudoTerminal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <utility>

namespace vxk5sim {

PseudoTerminal::PseudoTerminal(std::string link, bool holdSlave) : linkPath(std::move(link)) {
    masterFd = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (masterFd < 0 || grantpt(masterFd) != 0 || unlockpt(masterFd) != 0) {
        problem = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return;
    }
    const char* name = ptsname(masterFd);
    if (name == nullptr) {
        problem = std::string("ptsname: ") + std::strerror(errno);
        return;
    }
    slavePath = name;
    if ((!holdSlave || openSlave()) && !linkPath.empty()) {
        makeLink();
    }
}

// Raw 8-bit line without echo or line editing, as a serial port carrying binary frames.
bool PseudoTerminal::openSlave() {
    slaveFd = ::open(slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (slaveFd >= 0 && tcgetattr(slaveFd, &tio) == 0) {
        cfmakeraw(&tio);
        tio.c_iflag &= ~static_cast<tcflag_t>(IXOFF);
        tio.c_cflag |= CREAD | CLOCAL;
        cfsetispeed(&tio, B9600);
        cfsetospeed(&tio, B9600);
        if (tcsetattr(slaveFd, TCSANOW, &tio) == 0) {
            return true;
        }
    }
    problem = "cannot set up " + slavePath + ": " + std::strerror(errno);
    return false;
}

void PseudoTerminal::makeLink() {
    struct stat st {};
    if (lstat(linkPath.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            problem = linkPath + " exists and is not a symlink; not replacing it";
            return;
        }
        ::unlink(linkPath.c_str()); // a leftover of an earlier run, or of an earlier terminal
    }
    if (symlink(slavePath.c_str(), linkPath.c_str()) != 0) {
        problem = "cannot create " + linkPath + ": " + std::strerror(errno);
        return;
    }
    linkMade = true;
}

void PseudoTerminal::hangUp() {
    if (linkMade) {
        ::unlink(linkPath.c_str());
        linkMade = false;
    }
    for (int* fd : {&slaveFd, &masterFd}) {
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
    }
}

bool PseudoTerminal::readable(int fd, int waitMs) {
    pollfd line{fd, POLLIN, 0};
    return fd >= 0 && ::poll(&line, 1, waitMs) > 0 && (line.revents & POLLIN) != 0;
}

} // namespace vxk5sim
