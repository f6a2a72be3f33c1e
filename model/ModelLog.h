// SPDX-License-Identifier: GPL-3.0-or-later
// The model's logging category ("vsk5.model"): procedures and jobs, their start and their end.
#pragma once

#include <QLoggingCategory>

#include <string>

Q_DECLARE_LOGGING_CATEGORY(lcModel)

struct ProcedureRun;

namespace modellog {

// "start BPF Low ALL"
void started(const std::string& what, const std::string& detail = {});
// "end BPF Low ALL: Completed" and the reason, when there is one.
void ended(const ProcedureRun& run);

} // namespace modellog
