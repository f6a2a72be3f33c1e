// SPDX-License-Identifier: GPL-3.0-or-later
// The report's picture of a curve the procedures left in the curve log: a titled chart with its
// axes and, below it, a legend that names every mark and line style it uses (the coarse points
// grey, each stage in its colour, the setting before a sweep dotted, where it settled dashed;
// TXF before dotted and after solid; the S-meter's reading dashed). Drawn on any PlotCanvas, in
// logical units of Width by Height.
//
//   SvgCanvas svg(curve_picture::Width, curve_picture::Height);
//   curve_picture::draw(log, CurveKind::SweepLow, svg);   // svg.text() is the picture
#pragma once

#include "model/CurveLog.h"

#include <string>
#include <vector>

class PlotCanvas;

namespace curve_picture {

inline constexpr double Width = 640;
inline constexpr double Height = 350;

// The kinds the log holds a curve of, in the order the curves window shows them.
std::vector<CurveKind> kindsHeld(const CurveLog& log);
std::string title(CurveKind kind);
// Draws the kind's curve; nothing when the log holds none of it.
void draw(const CurveLog& log, CurveKind kind, PlotCanvas& canvas);

} // namespace curve_picture
