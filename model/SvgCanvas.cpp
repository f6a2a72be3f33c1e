// SPDX-License-Identifier: GPL-3.0-or-later
// The SVG canvas.
#include "model/SvgCanvas.h"

#include "model/HtmlText.h"

#include <cmath>
#include <cstdio>

namespace {

// Coordinates to a tenth of a unit: enough for any screen or page, and short.
std::string number(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f", std::round(v * 10) / 10);
    std::string text = buffer;
    if (text.size() > 2 && text.compare(text.size() - 2, 2, ".0") == 0) {
        text.resize(text.size() - 2);
    }
    return text == "-0" ? "0" : text;
}

std::string colour(std::uint32_t rgb) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
    return buffer;
}

// The same dashes the painter draws, in units of the pen's width.
std::string dashes(const PlotPen& pen) {
    switch (pen.style) {
    case LineStyle::Dotted:
        return " stroke-dasharray=\"" + number(pen.width) + " " + number(2 * pen.width) + "\"";
    case LineStyle::Dashed:
        return " stroke-dasharray=\"" + number(4 * pen.width) + " " + number(2 * pen.width) + "\"";
    case LineStyle::Solid:
        break;
    }
    return {};
}

} // namespace

SvgCanvas::SvgCanvas(double w, double h) : width(w), height(h) {}

void SvgCanvas::line(const std::vector<PlotPoint>& points, const PlotPen& pen) {
    std::string list;
    for (const PlotPoint& p : points) {
        list += (list.empty() ? "" : " ") + number(p.x) + "," + number(p.y);
    }
    body += "<polyline points=\"" + list + "\" fill=\"none\" stroke=\"" + colour(pen.rgb) +
            "\" stroke-width=\"" + number(pen.width) + "\"" + dashes(pen) + "/>\n";
}

void SvgCanvas::dot(PlotPoint c, double radius, std::uint32_t rgb) {
    body += "<circle cx=\"" + number(c.x) + "\" cy=\"" + number(c.y) + "\" r=\"" + number(radius) +
            "\" fill=\"" + colour(rgb) + "\"/>\n";
}

void SvgCanvas::text(PlotPoint at, const std::string& text, TextAnchor anchor, double size,
                     bool upright) {
    const char* anchors[] = {"start", "middle", "end"};
    const std::string x = number(at.x);
    const std::string y = number(at.y);
    body += "<text x=\"" + x + "\" y=\"" + y + "\" font-size=\"" + number(size) +
            "\" text-anchor=\"" + anchors[static_cast<int>(anchor)] + "\"" +
            (upright ? " transform=\"rotate(-90 " + x + " " + y + ")\"" : "") + ">" +
            html_text::escaped(text) + "</text>\n";
}

std::string SvgCanvas::text(const std::string& title) const {
    const std::string w = number(width);
    const std::string h = number(height);
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + w + " " + h +
           "\" width=\"" + w + "\" height=\"" + h +
           "\" font-family=\"sans-serif\" fill=\"#333333\" role=\"img\" aria-label=\"" +
           html_text::escaped(title) + "\">\n" + body + "</svg>\n";
}
