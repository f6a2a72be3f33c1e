// SPDX-License-Identifier: GPL-3.0-or-later
// A PlotCanvas that writes SVG: the picture as an <svg> element ready to stand inside the
// report's XHTML page (its own namespace declared, every text escaped).
//
//   SvgCanvas svg(640, 350);
//   svg.dot({120, 131}, 2.5, 0x808080);
//   svg.text()   -> "<svg xmlns=\"http://www.w3.org/2000/svg\" ...><circle .../></svg>"
#pragma once

#include "model/PlotCanvas.h"

#include <string>

class SvgCanvas : public PlotCanvas {
  public:
    SvgCanvas(double width, double height);

    void line(const std::vector<PlotPoint>& points, const PlotPen& pen) override;
    void dot(PlotPoint centre, double radius, std::uint32_t rgb) override;
    void text(PlotPoint at, const std::string& text, TextAnchor anchor, double size,
              bool upright) override;

    // The whole <svg> element; title is its accessible name.
    std::string text(const std::string& title) const;

  private:
    double width;
    double height;
    std::string body;
};
