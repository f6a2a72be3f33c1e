// SPDX-License-Identifier: GPL-3.0-or-later
// The service report on disk: the HTML page always, and when the technician chose a name
// ending in ".pdf", the page printed to that PDF with the HTML beside it (same name, ".html").
//
//   report_files::save("/jobs/k5.pdf", html)  -> /jobs/k5.html and /jobs/k5.pdf
#pragma once

#include <string>

namespace report_files {

// Empty when every file was written; otherwise the message naming the one that was not.
std::string save(const std::string& chosenPath, const std::string& html);

} // namespace report_files
