// SPDX-License-Identifier: GPL-3.0-or-later
// The painter canvas.
#include "ui/PainterCanvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>

namespace {

QColor colourOf(std::uint32_t rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb & 0xFFFFFF));
}

} // namespace

void PainterCanvas::line(const std::vector<PlotPoint>& points, const PlotPen& pen) {
    QPen qpen(colourOf(pen.rgb), pen.width);
    qpen.setCapStyle(Qt::FlatCap);
    qpen.setJoinStyle(Qt::RoundJoin);
    // In units of the pen's width, as the SVG of the page draws them.
    if (pen.style == LineStyle::Dotted) {
        qpen.setDashPattern({1, 2});
    } else if (pen.style == LineStyle::Dashed) {
        qpen.setDashPattern({4, 2});
    }
    QPolygonF polygon;
    for (const PlotPoint& p : points) {
        polygon << QPointF(p.x, p.y);
    }
    painter.setPen(qpen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(polygon);
}

void PainterCanvas::dot(PlotPoint c, double radius, std::uint32_t rgb) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colourOf(rgb));
    painter.drawEllipse(QPointF(c.x, c.y), radius, radius);
}

void PainterCanvas::text(PlotPoint at, const std::string& text, TextAnchor anchor, double size,
                         bool upright) {
    QFont font("sans-serif");
    font.setPixelSize(static_cast<int>(size + 0.5)); // logical units, scaled with the picture
    const QString words = QString::fromStdString(text);
    const double width = QFontMetricsF(font, painter.device()).horizontalAdvance(words);
    const double shift = anchor == TextAnchor::Start    ? 0
                         : anchor == TextAnchor::Middle ? width / 2
                                                        : width;
    painter.save();
    painter.setFont(font);
    painter.setPen(colourOf(0x333333));
    painter.translate(at.x, at.y);
    if (upright) {
        painter.rotate(-90);
    }
    painter.drawText(QPointF(-shift, 0), words);
    painter.restore();
}
