// SPDX-License-Identifier: GPL-3.0-or-later
// A revert's plan and a write's check, with the questions they ask.
#include "model/JobProposal.h"

#include "model/JobMessages.h"
#include "model/ServiceJob.h"

namespace {

std::vector<std::string> changeLines(const std::vector<CellResult>& cells) {
    std::vector<std::string> lines;
    for (const CellResult& c : cells) {
        lines.push_back(job_messages::changeLine(c.address, c.from, c.to));
    }
    return lines;
}

} // namespace

namespace job_proposal {

JobProposal revert(const std::string& doorRefusal, ServiceJob& job) {
    JobProposal proposal;
    if (!doorRefusal.empty()) {
        return proposal.refuse(doorRefusal);
    }
    if (const std::string refused = job.revertRefusal(); !refused.empty()) {
        return proposal.refuse(refused);
    }
    proposal.plan = job.revertPlan();
    std::vector<std::string> notReverted = changeLines(proposal.plan.notReverted);
    if (!notReverted.empty()) {
        notReverted.insert(notReverted.begin(), {"", job_messages::notRevertedHeading()});
    }
    if (proposal.plan.sends.empty()) {
        proposal.message = job_messages::nothingToRevert(proposal.plan.source);
        for (const std::string& line : notReverted) {
            proposal.message += "\r\n" + line;
        }
        return proposal;
    }
    proposal.question = job_messages::revertQuestion(proposal.plan.source);
    proposal.lines = changeLines(proposal.plan.sends);
    proposal.lines.insert(proposal.lines.end(), notReverted.begin(), notReverted.end());
    return proposal;
}

JobProposal write(const std::string& doorRefusal, ServiceJob& job, const std::string& path) {
    JobProposal proposal;
    proposal.kind = JobProposal::Kind::Write;
    if (!doorRefusal.empty()) {
        return proposal.refuse(doorRefusal);
    }
    ServiceJob::WriteCheck check = job.checkWrite(path);
    if (!check.refusal.empty()) {
        return proposal.refuse(check.refusal);
    }
    proposal.lines = changeLines(job.writeChanges(check.image));
    proposal.question = job_messages::writeQuestion(path, !proposal.lines.empty());
    proposal.image = std::move(check.image);
    proposal.path = path;
    return proposal;
}

} // namespace job_proposal
