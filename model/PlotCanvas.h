// SPDX-License-Identifier: GPL-3.0-or-later
// What a curve of the report is drawn with: lines, dots and text on a surface of fixed logical
// size, in colours and three line styles. The report's HTML page draws it as SVG text, its PDF
// with a painter, so both show the same picture, and both stay vector graphics.
//
//   canvas.line({{40, 240}, {40, 28}}, {0x1F77B4, 1.5, LineStyle::Dotted});  // T1 before
//   canvas.dot({120, 131}, 2.5, 0x808080);                                  // a coarse point
//   canvas.text({320, 16}, "BPF Low ALL", TextAnchor::Middle, 13);
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PlotPoint {
    double x = 0;
    double y = 0; // downwards, as on a page
};

enum class LineStyle { Solid, Dotted, Dashed };

struct PlotPen {
    std::uint32_t rgb = 0; // 0xRRGGBB
    double width = 1;
    LineStyle style = LineStyle::Solid;
};

enum class TextAnchor { Start, Middle, End };

class PlotCanvas {
  public:
    virtual ~PlotCanvas() = default;
    // A line through the points in order.
    virtual void line(const std::vector<PlotPoint>& points, const PlotPen& pen) = 0;
    virtual void dot(PlotPoint centre, double radius, std::uint32_t rgb) = 0;
    // Text on its baseline at at; upright text reads from bottom to top.
    virtual void text(PlotPoint at, const std::string& text, TextAnchor anchor, double size,
                      bool upright = false) = 0;
};
