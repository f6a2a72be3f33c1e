// SPDX-License-Identifier: GPL-3.0-or-later
// An alignment plan's file read line by line, each section and key with the line it stands
// on, so that whoever refuses a plan can name the line to fix. Comments start with ';' or '#';
// blank lines are skipped; names keep their case (callers compare as they like).
//
//   [Plan]            -> section "Plan", line 1
//   Title=VX-K5       -> entry {"Title", "VX-K5", line 2} of section "Plan"
//   garbage           -> error "Line 3 ...: 'garbage' is neither a [section] nor a key=value."
#pragma once

#include <optional>
#include <string>
#include <vector>

struct PlanEntry {
    std::string key;
    std::string value;
    int line = 0;
};

struct PlanSection {
    std::string name;
    int line = 0;
    std::vector<PlanEntry> entries;
};

struct PlanFile {
    std::vector<PlanSection> sections;
    std::string error; // why the text is no plan file; empty when it is one
};

// The sections of text; displayName is how messages name the file.
PlanFile parsePlanText(const std::string& text, const std::string& displayName);
