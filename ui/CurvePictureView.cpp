// SPDX-License-Identifier: GPL-3.0-or-later
// The curve picture on a widget.
#include "ui/CurvePictureView.h"

#include "model/CurvePicture.h"
#include "ui/PainterCanvas.h"

#include <QPainter>

#include <algorithm>

CurvePictureView::CurvePictureView(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::StyledPanel);
    // The picture's own proportions at a size that leaves its labels readable.
    setMinimumSize(static_cast<int>(curve_picture::Width / 2),
                   static_cast<int>(curve_picture::Height / 2));
}

void CurvePictureView::showCurve(const CurveLog* curves, std::optional<CurveKind> curveKind) {
    const std::uint32_t revision = curves && curveKind ? curves->revision(*curveKind) : 0;
    if (curves == log && curveKind == kind && revision == revisionDrawn) {
        return;
    }
    log = curves;
    kind = curveKind;
    revisionDrawn = revision;
    update();
}

void CurvePictureView::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (!log || !kind) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect area = contentsRect();
    painter.fillRect(area, Qt::white);
    // Scaled evenly, centred: the picture keeps its proportions in any panel.
    const double scale =
        std::min(area.width() / curve_picture::Width, area.height() / curve_picture::Height);
    painter.translate(area.left() + (area.width() - curve_picture::Width * scale) / 2,
                      area.top() + (area.height() - curve_picture::Height * scale) / 2);
    painter.scale(scale, scale);
    PainterCanvas canvas(painter);
    curve_picture::draw(*log, *kind, canvas);
}
