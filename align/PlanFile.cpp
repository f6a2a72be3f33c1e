// SPDX-License-Identifier: GPL-3.0-or-later
// The line-numbered reader of alignment plan files.
#include "align/PlanFile.h"

#include "align/PlanMessages.h"

#include <sstream>

namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

} // namespace

PlanFile parsePlanText(const std::string& text, const std::string& displayName) {
    PlanFile file;
    std::istringstream in(text);
    std::string raw;
    for (int line = 1; std::getline(in, raw); ++line) {
        const std::string s = trimmed(raw);
        if (s.empty() || s[0] == ';' || s[0] == '#') {
            continue;
        }
        if (s.front() == '[' && s.back() == ']') {
            file.sections.push_back({trimmed(s.substr(1, s.size() - 2)), line, {}});
            continue;
        }
        const auto equals = s.find('=');
        if (equals == std::string::npos || equals == 0) {
            file.error = plan_messages::notALine(displayName, line, s);
            return file;
        }
        if (file.sections.empty()) {
            file.error = plan_messages::beforeAnySection(displayName, line, s);
            return file;
        }
        file.sections.back().entries.push_back(
            {trimmed(s.substr(0, equals)), trimmed(s.substr(equals + 1)), line});
    }
    return file;
}
