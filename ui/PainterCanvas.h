// SPDX-License-Identifier: GPL-3.0-or-later
// A PlotCanvas that draws with a QPainter, so that a curve of the report printed to PDF stays
// vector graphics. The painter's transform maps the picture's logical units to the page.
//
//   painter.translate(rect.topLeft()); painter.scale(rect.width() / 640, ...);
//   PainterCanvas canvas(painter); curve_picture::draw(log, kind, canvas);
#pragma once

#include "model/PlotCanvas.h"

class QPainter;

class PainterCanvas : public PlotCanvas {
  public:
    explicit PainterCanvas(QPainter& painter) : painter(painter) {}

    void line(const std::vector<PlotPoint>& points, const PlotPen& pen) override;
    void dot(PlotPoint centre, double radius, std::uint32_t rgb) override;
    void text(PlotPoint at, const std::string& text, TextAnchor anchor, double size,
              bool upright) override;

  private:
    QPainter& painter;
};
