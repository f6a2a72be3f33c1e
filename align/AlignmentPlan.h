// SPDX-License-Identifier: GPL-3.0-or-later
// An alignment plan: the steps of a radio's alignment in the order they run, each with what
// the generator gives the radio (the frequency of a test channel, a level, a modulation) and
// what the technician connects or does. The service shop keeps it as a plain INI file:
//
//   [Plan]
//   Title=VX-K5 on the virtual bench
//   [BPF-LOW]
//   Channel=1
//   Level=-60.0
//   Connect=the signal generator to the antenna socket
//
// A plan that could put a higher level than allowed into the radio, name a test channel that
// is not set up, or name a step this program does not know is refused whole, with the line.
#pragma once

#include "model/ProcedureTable.h"
#include "model/TestChannels.h"

#include <optional>
#include <string>
#include <vector>

enum class StepKind { Automatic, Manual };

struct PlanStep {
    std::string name; // the section name: "BPF-LOW"
    StepKind kind = StepKind::Manual;
    std::optional<ProcedureId> procedure; // the console item whose Enter runs the step
    int channel = -1;               // the test channel whose frequency the generator gets; -1: none
    std::optional<double> levelDbm; // the generator's level; none: the generator stays off
    std::string modulation;         // as the plan writes it; empty: none
    std::string connect;            // what the technician connects before the step
    std::string instructions;       // what the technician does (manual steps)
    int line = 0;                   // the line of the step's section header
};

struct AlignmentPlan {
    std::string title;
    std::string note;
    std::vector<PlanStep> steps;
};

struct PlanLoad {
    std::optional<AlignmentPlan> plan;
    std::string error;
};

// The plan in the file, or why not with the line that is wrong. channels: to check that a
// step's test channel exists and has a frequency.
PlanLoad loadAlignmentPlan(const std::string& path, double maximumLevelDbm,
                           const TestChannels& channels);
// The same from the file's text; name is how the messages call the file.
PlanLoad parseAlignmentPlan(const std::string& text, const std::string& name,
                            double maximumLevelDbm, const TestChannels& channels);

// The steps a plan may hold, in the order of an alignment: the automatic ones (a procedure
// that ends by itself) first, then the manual ones.
struct StepShape {
    const char* name;
    StepKind kind;
    std::optional<ProcedureId> procedure;
};
const std::vector<StepShape>& knownSteps();
std::optional<StepShape> stepNamed(const std::string& name);
