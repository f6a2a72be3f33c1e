// SPDX-License-Identifier: GPL-3.0-or-later
// The figures' table.
#include "bench/Figure.h"

#include <cstdio>

namespace vsk5bench {

namespace {

std::string number(double v, const std::string& unit) {
    char text[32];
    std::snprintf(text, sizeof text, v >= 100 ? "%.1f %s" : "%.3f %s", v, unit.c_str());
    return text;
}

std::string ratio(std::optional<double> a, std::optional<double> b) {
    if (!a || !b || *b <= 0) {
        return "-";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", *a / *b);
    return text;
}

std::string target(const Figure& f) {
    std::string text;
    if (f.floorRatioLimit) {
        char part[32];
        std::snprintf(part, sizeof part, "<= %.2f x floor", *f.floorRatioLimit);
        text = part;
    }
    if (f.limit) {
        text += (text.empty() ? "< " : ", < ") + number(*f.limit, f.unit);
    }
    return text;
}

} // namespace

bool Figure::met() const {
    if (!value) {
        return false;
    }
    const bool underFloorLimit = !floorRatioLimit || (floor && *value <= *floorRatioLimit * *floor);
    const bool underLimit = !limit || *value < *limit;
    return underFloorLimit && underLimit;
}

void printFigures(std::ostream& out, const std::vector<Figure>& figures) {
    char line[256];
    std::snprintf(line, sizeof line, "%-34s %13s %13s %7s  %-24s %7s  %s\n", "figure", "measured",
                  "floor", "/floor", "target", "/target", "verdict");
    out << line;
    for (const Figure& f : figures) {
        const std::string measured = f.value ? number(*f.value, f.unit) : "not measured";
        const std::string floor = f.floor ? number(*f.floor, f.unit) : "-";
        std::snprintf(line, sizeof line, "%-34s %13s %13s %7s  %-24s %7s  %s\n", f.name.c_str(),
                      measured.c_str(), floor.c_str(), ratio(f.value, f.floor).c_str(),
                      target(f).c_str(), ratio(f.value, f.limit).c_str(),
                      f.met() ? "met" : "NOT met");
        out << line;
    }
    out << '\n';
    for (const Figure& f : figures) {
        if (f.notes.empty()) {
            continue;
        }
        out << f.name << ":\n";
        for (const std::string& note : f.notes) {
            out << "    " << note << '\n';
        }
    }
}

} // namespace vsk5bench
