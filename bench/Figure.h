// SPDX-License-Identifier: GPL-3.0-or-later
// One figure of the bench and the table they are printed in. A figure stands next to its floor
// where the work has one (the line's and the prescribed waits' own time), as a ratio to it,
// and next to its target, as a ratio to that too.
//
//   Connect: console loaded    6712.3 ms   6676.4 ms   1.005   <= 1.01 x floor    1.00   met
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vsk5bench {

struct Figure {
    std::string name;
    std::string unit;                      // "ms", "%", "MB"
    std::optional<double> value;           // nothing: it could not be measured in this run
    std::optional<double> floor;           // in unit
    std::optional<double> floorRatioLimit; // the target as a ratio to the floor
    std::optional<double> limit;           // the target in unit
    std::vector<std::string> notes;        // what was measured, what the floor is made of

    // True when the figure was measured and is within every target it has.
    bool met() const;
};

// The table, then each figure's notes.
void printFigures(std::ostream& out, const std::vector<Figure>& figures);

} // namespace vsk5bench
