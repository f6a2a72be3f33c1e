// SPDX-License-Identifier: GPL-3.0-or-later
// The service record.
#include "model/ServiceRecord.h"

#include "model/MemoryMap.h"
#include "model/ModelLog.h"

#include <algorithm>

namespace {

// The adjustment areas of two images are the same.
bool sameAdjustments(const Bytes& a, const Bytes& b) {
    const auto first = static_cast<std::size_t>(MemoryMap::AreaFirst);
    const auto last = static_cast<std::size_t>(MemoryMap::AreaLast);
    return a.size() > last && b.size() > last &&
           std::equal(a.begin() + first, a.begin() + last + 1, b.begin() + first);
}

} // namespace

const char* outcomeText(RunOutcome outcome) {
    switch (outcome) {
    case RunOutcome::Completed:
        return "Completed";
    case RunOutcome::EndedWithoutResult:
        return "Ended without result";
    case RunOutcome::Abandoned:
        return "Abandoned";
    case RunOutcome::Refused:
        return "Refused";
    }
    return "";
}

ServiceRecord::ServiceRecord(Clock c) : clock(std::move(c)) {}

QDateTime ServiceRecord::now() const {
    return clock ? clock() : QDateTime::currentDateTime();
}

void ServiceRecord::beginSession(const SessionStart& start, const Bytes& image,
                                 const Bytes& lastKnown) {
    // After a lost link the technician connects again to the same radio: its backup and its
    // record must stay those of the job's first Connect, or a revert would only go back to
    // the moment the link came back.
    const bool sameJob = hasSession() && connects.front().subCode == start.subCode &&
                         sameAdjustments(image, lastKnown);
    if (!sameJob) {
        connects.clear();
        values.clear();
        procedureRuns.clear();
        firstImage = image;
    }
    qCInfo(lcModel, "connect COM%d %s %s, backup %s", start.comPort, start.model.c_str(),
           start.subCode.c_str(), start.backupFile.empty() ? "none" : start.backupFile.c_str());
    connects.push_back(start);
}

void ServiceRecord::noteValue(std::int32_t address, int from, int to) {
    values.push_back({now(), address, from, to});
}

void ServiceRecord::noteRun(ProcedureRun run) {
    // A run is noted the moment it ends (a refused one the moment it was refused).
    run.endedAt = now();
    modellog::ended(run);
    procedureRuns.push_back(std::move(run));
}
