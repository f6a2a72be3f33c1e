// SPDX-License-Identifier: GPL-3.0-or-later
// The model's lines of the session log.
#include "model/ModelLog.h"

#include "model/ServiceRecord.h"

Q_LOGGING_CATEGORY(lcModel, "vsk5.model", QtWarningMsg)

namespace modellog {

void started(const std::string& what, const std::string& detail) {
    qCInfo(lcModel, "start %s%s%s", what.c_str(), detail.empty() ? "" : ": ", detail.c_str());
}

void ended(const ProcedureRun& run) {
    qCInfo(lcModel, "end %s: %s%s%s", run.name.c_str(), outcomeText(run.outcome),
           run.reason.empty() ? "" : " - ", run.reason.c_str());
}

} // namespace modellog
