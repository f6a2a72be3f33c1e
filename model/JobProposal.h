// SPDX-License-Identifier: GPL-3.0-or-later
// What a revert or a full write would do, worked out before it starts, so that whoever asks
// the technician (the window's question box, the command line's --yes) asks the same question
// about the same lines: either why it cannot go on, or the question with the values it
// changes, and the work to hand to the door once the answer is Yes.
//
//   JobProposal p = door.proposeRevert();
//   p.message      -> ""          ("Nothing to revert ..." when nothing differs)
//   p.question     -> "Revert the VX-K5 to the backup ...?"
//   p.lines        -> {"Power(Hi): 131 → 128", "", "Not reverted ...", ...}
//   door.carryOut(p);             // after a Yes
#pragma once

#include "model/RestoreJob.h"
#include "platform/Bytes.h"

#include <string>
#include <vector>

class ServiceJob;

struct JobProposal {
    enum class Kind { Revert, Write };
    Kind kind = Kind::Revert;
    // Why the job does not start: a refusal, or nothing to do (then `refused` is false).
    std::string message;
    bool refused = false;
    std::string question;
    std::vector<std::string> lines;
    RestoreJob::Plan plan; // a revert's sends
    Bytes image;           // a write's image and its file
    std::string path;

    bool asks() const { return message.empty(); }
    JobProposal& refuse(const std::string& why) {
        message = why;
        refused = true;
        return *this;
    }
};

namespace job_proposal {

// doorRefusal: why no job may start now (a procedure runs, not connected), checked first.
JobProposal revert(const std::string& doorRefusal, ServiceJob& job);
JobProposal write(const std::string& doorRefusal, ServiceJob& job, const std::string& path);

} // namespace job_proposal
