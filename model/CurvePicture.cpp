// SPDX-License-Identifier: GPL-3.0-or-later
// The report's pictures of the curves.
#include "model/CurvePicture.h"

#include "model/PlotCanvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace curve_picture {
namespace {

// The plot area; below it the setting labels, the axis title and the legend.
constexpr double Left = 56;
constexpr double Right = 584;
constexpr double Top = 34;
constexpr double Bottom = 252;
constexpr double LegendTop = 304;
constexpr double LegendColumn = 205;
constexpr double LabelSize = 11;

constexpr std::uint32_t Ink = 0x333333;
constexpr std::uint32_t Grid = 0xDDDDDD;
constexpr std::uint32_t Coarse = 0x999999;
constexpr std::uint32_t Red = 0xD62728;
constexpr std::array<std::uint32_t, 3> StageColours = {0x1F77B4, 0xFF7F0E, 0x2CA02C};
constexpr double ByteTop = 255;

constexpr const char* Titles[CurveKindCount] = {"BPF Low ALL", "BPF Mid ALL", "BPF High ALL", "TXF",
                                                "S-METER"};

struct Range {
    double low = 0;
    double high = 1;
};

using Ticks = std::vector<std::pair<double, std::string>>;

// One scale pair over the plot area: data in, canvas out.
struct Chart {
    PlotCanvas& canvas;
    Range x;
    Range y;

    PlotPoint at(double vx, double vy) const {
        return {Left + (vx - x.low) / (x.high - x.low) * (Right - Left),
                Bottom - (vy - y.low) / (y.high - y.low) * (Bottom - Top)};
    }
    // A vertical mark across the whole height: a setting or an area.
    void vertical(double vx, const PlotPen& pen) const {
        canvas.line({at(vx, y.low), at(vx, y.high)}, pen);
    }
};

struct LegendEntry {
    std::string label;
    PlotPen pen;
    bool dot = false; // a point rather than a line
};

Ticks evenTicks(double low, double high, double step) {
    Ticks ticks;
    for (double v = std::ceil(low / step) * step; v <= high; v += step) {
        ticks.emplace_back(v, std::to_string(static_cast<int>(std::lround(v))));
    }
    return ticks;
}

void xAxis(const Chart& c, const Ticks& ticks, const std::string& title) {
    for (const auto& [v, label] : ticks) {
        const PlotPoint p = c.at(v, c.y.low);
        c.canvas.line({p, {p.x, p.y + 4}}, {Ink, 1, LineStyle::Solid});
        c.canvas.text({p.x, Bottom + 16}, label, TextAnchor::Middle, LabelSize);
    }
    c.canvas.text({(Left + Right) / 2, Bottom + 34}, title, TextAnchor::Middle, LabelSize);
}

// The scale of the left side draws the grid; the right one only its labels.
void yAxis(const Chart& c, const Ticks& ticks, const std::string& title, bool right) {
    const double edge = right ? Right : Left;
    for (const auto& [v, label] : ticks) {
        const PlotPoint p = c.at(c.x.low, v);
        if (!right) {
            c.canvas.line({{Left, p.y}, {Right, p.y}}, {Grid, 0.8, LineStyle::Solid});
        }
        c.canvas.text({right ? edge + 6 : edge - 6, p.y + 4}, label,
                      right ? TextAnchor::Start : TextAnchor::End, LabelSize);
    }
    c.canvas.text({right ? edge + 46 : edge - 38, (Top + Bottom) / 2}, title, TextAnchor::Middle,
                  LabelSize, true);
}

void frameAndTitle(PlotCanvas& canvas, const std::string& title) {
    canvas.text({Width / 2, 20}, title, TextAnchor::Middle, 14);
    canvas.line({{Left, Top}, {Right, Top}, {Right, Bottom}, {Left, Bottom}, {Left, Top}},
                {Ink, 1, LineStyle::Solid});
}

void legend(PlotCanvas& canvas, const std::vector<LegendEntry>& entries) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const double x = 18 + static_cast<double>(i % 3) * LegendColumn;
        const double y = LegendTop + static_cast<double>(i / 3) * 20;
        const LegendEntry& e = entries[i];
        if (e.dot) {
            canvas.dot({x + 12, y - 4}, 3, e.pen.rgb);
        } else {
            canvas.line({{x, y - 4}, {x + 26, y - 4}}, e.pen);
        }
        canvas.text({x + 34, y}, e.label, TextAnchor::Start, LabelSize);
    }
}

void drawSweep(PlotCanvas& canvas, const SweepCurve& curve) {
    const Chart c{canvas, {0, ByteTop}, {0, ByteTop}};
    yAxis(c, evenTicks(0, ByteTop, 50), "Detector reading", false);
    xAxis(c, evenTicks(0, ByteTop, 25), "Setting");
    for (const SweepReading& r : curve.readings) {
        const std::uint32_t colour =
            r.stage < 0 ? Coarse : StageColours.at(static_cast<std::size_t>(r.stage));
        canvas.dot(c.at(r.setting, r.reading), 2.5, colour);
    }
    for (std::size_t s = 0; s < 3; ++s) {
        c.vertical(curve.before[s], {StageColours[s], 1.5, LineStyle::Dotted});
        if (curve.chosen[s] >= 0) {
            c.vertical(curve.chosen[s], {StageColours[s], 1.5, LineStyle::Dashed});
        }
    }
    legend(canvas, {{"Coarse pass, all stages", {Coarse, 1, LineStyle::Solid}, true},
                    {"T1 readings", {StageColours[0], 1, LineStyle::Solid}, true},
                    {"T2 readings", {StageColours[1], 1, LineStyle::Solid}, true},
                    {"T3 readings", {StageColours[2], 1, LineStyle::Solid}, true},
                    {"Before the sweep (dotted)", {Ink, 1.5, LineStyle::Dotted}, false},
                    {"Where it settled (dashed)", {Ink, 1.5, LineStyle::Dashed}, false}});
}

template <typename Values>
void polyline(const Chart& c, const Values& values, double firstX, const PlotPen& pen) {
    std::vector<PlotPoint> points;
    for (std::size_t n = 0; n < values.size(); ++n) {
        points.push_back(c.at(firstX + static_cast<double>(n), values[n]));
    }
    c.canvas.line(points, pen);
    for (const PlotPoint& p : points) {
        c.canvas.dot(p, 2, pen.rgb);
    }
}

void drawTxf(PlotCanvas& canvas, const TxfCurves& curves) {
    const Range areas{0, TxfCurves::Areas - 1};
    const Chart initial{canvas, areas, {0, ByteTop}};
    const Chart slant{canvas, areas, {-128, 127}};
    yAxis(initial, evenTicks(0, ByteTop, 50), "REF Initial", false);
    yAxis(slant, evenTicks(-128, 127, 50), "REF Slant", true);
    xAxis(initial, evenTicks(areas.low, areas.high, 1), "Temperature area");
    const PlotPen before{StageColours[0], 1.5, LineStyle::Dotted};
    const PlotPen after{StageColours[0], 2, LineStyle::Solid};
    const PlotPen slantBefore{StageColours[1], 1.5, LineStyle::Dotted};
    const PlotPen slantAfter{StageColours[1], 2, LineStyle::Solid};
    polyline(initial, curves.initialBefore, 0, before);
    polyline(initial, curves.initialNow, 0, after);
    polyline(slant, curves.slantBefore, 0, slantBefore);
    polyline(slant, curves.slantNow, 0, slantAfter);
    const PlotPen measured{Red, 1.5, LineStyle::Dashed};
    if (curves.area >= 0) {
        initial.vertical(curves.area, measured);
    }
    legend(canvas, {{"REF Initial before (dotted)", before, false},
                    {"REF Initial after (solid)", after, false},
                    {"Measured area (dashed)", measured, false},
                    {"REF Slant before (dotted)", slantBefore, false},
                    {"REF Slant after (solid)", slantAfter, false}});
}

void drawSMeter(PlotCanvas& canvas, const SMeterCurve& curve) {
    // The points lie a few counts apart: the scale spans them, not the whole byte.
    int low = curve.reading;
    int high = curve.reading;
    for (const auto* values : {&curve.live, &curve.stored}) {
        low = std::min(low, *std::min_element(values->begin(), values->end()));
        high = std::max(high, *std::max_element(values->begin(), values->end()));
    }
    const Chart c{canvas, {0.8, 3.2}, {low - 8.0, high + 8.0}};
    const double step = std::max(1.0, std::ceil((high - low + 16.0) / 6));
    yAxis(c, evenTicks(low - 8.0, high + 8.0, step), "Level", false);
    xAxis(c, {{1, "S1"}, {2, "S2"}, {3, "S3"}}, "S point");
    const PlotPen live{StageColours[0], 2, LineStyle::Solid};
    const PlotPen stored{StageColours[2], 2, LineStyle::Solid};
    const PlotPen reading{Red, 1.5, LineStyle::Dashed};
    polyline(c, curve.live, 1, live);
    polyline(c, curve.stored, 1, stored);
    canvas.line({c.at(1, curve.reading), c.at(3, curve.reading)}, reading);
    legend(canvas, {{"Thresholds sent", live, false},
                    {"Points kept", stored, false},
                    {"Reading (dashed)", reading, false}});
}

} // namespace

std::vector<CurveKind> kindsHeld(const CurveLog& log) {
    std::vector<CurveKind> kinds;
    for (int band = 0; band < 3; ++band) {
        if (log.sweep(band)) {
            kinds.push_back(static_cast<CurveKind>(band));
        }
    }
    if (log.txf()) {
        kinds.push_back(CurveKind::Txf);
    }
    if (log.sMeter()) {
        kinds.push_back(CurveKind::SMeter);
    }
    return kinds;
}

std::string title(CurveKind kind) {
    return Titles[static_cast<int>(kind)];
}

void draw(const CurveLog& log, CurveKind kind, PlotCanvas& canvas) {
    if (kind == CurveKind::Txf && log.txf()) {
        frameAndTitle(canvas, title(kind));
        drawTxf(canvas, *log.txf());
    } else if (kind == CurveKind::SMeter && log.sMeter()) {
        frameAndTitle(canvas, title(kind));
        drawSMeter(canvas, *log.sMeter());
    } else if (kind < CurveKind::Txf && log.sweep(static_cast<int>(kind))) {
        frameAndTitle(canvas, title(kind));
        drawSweep(canvas, *log.sweep(static_cast<int>(kind)));
    }
}

} // namespace curve_picture
