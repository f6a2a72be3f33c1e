// SPDX-License-Identifier: GPL-3.0-or-later
// The service report on disk: the HTML page always, and when the technician chose a name
// ending in ".pdf", the report's printed form in that PDF (its curves drawn as vector graphics)
// with the HTML page beside it (same name, ".html").
//
//   report_files::save("/jobs/k5.pdf", {page, printed, &log})  -> /jobs/k5.html and /jobs/k5.pdf
#pragma once

#include <string>

class CurveLog;

namespace report_files {

struct Report {
    std::string page;    // the HTML file
    std::string printed; // what the PDF prints
    const CurveLog* curves = nullptr;
};

// Empty when every file was written; otherwise the message naming the one that was not.
std::string save(const std::string& chosenPath, const Report& report);

} // namespace report_files
