// SPDX-License-Identifier: GPL-3.0-or-later
// A pseudo-terminal for the simulated radio: the radio's end is the master, and the computer's
// port opens the slave by its path (or by a link of the caller's choosing), like the serial port
// of a cloning cable.
//
// The master is non-blocking and closed on exec. The slave is held open too (unless told not
// to), in raw mode, so that the master sees no hang-up between two openings by the port and a
// closed port never echoes the radio's bytes back to it. hangUp() (or the destructor) closes
// both ends and removes the link, as a pulled USB cable takes the device with it. A link is
// made only where nothing but an older link stands, and removed only when made here.
//
//   vxk5sim::PseudoTerminal line("/tmp/radio");
//   if (!line.ok()) { report(line.error()); }
//   ... the port opens "/tmp/radio"; the radio reads and writes line.master() ...
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unistd.h>

namespace vxk5sim {

class PseudoTerminal {
  public:
    // link: a symlink made to the slave's path (empty for none); holdSlave: keep the slave
    // open, in raw mode.
    explicit PseudoTerminal(std::string link = {}, bool holdSlave = true);
    ~PseudoTerminal() { hangUp(); }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // False, with why in error(), when the terminal (or its link) could not be set up.
    bool ok() const { return masterFd >= 0 && problem.empty(); }
    const std::string& error() const { return problem; }
    int master() const { return masterFd; }
    int slave() const { return slaveFd; }
    const std::string& path() const { return slavePath; }
    // Where the port finds the terminal: the link, or else the slave's path.
    const std::string& link() const { return linkPath.empty() ? slavePath : linkPath; }

    // Closes both ends and removes the link; -1 from master() and slave() afterwards.
    void hangUp();
    // The master's bytes as read(2) and write(2) give them (-1 and EAGAIN when none fit).
    ssize_t read(std::uint8_t* data, std::size_t size) { return ::read(masterFd, data, size); }
    ssize_t write(const std::uint8_t* data, std::size_t size) {
        return ::write(masterFd, data, size);
    }
    // Whether fd has something to read within waitMs (0: now); false for a closed fd.
    static bool readable(int fd, int waitMs = 0);

  private:
    bool openSlave();
    void makeLink();

    int masterFd = -1;
    int slaveFd = -1;
    std::string slavePath;
    std::string linkPath;
    bool linkMade = false;
    std::string problem;
};

} // namespace vxk5sim
