// SPDX-License-Identifier: GPL-3.0-or-later
// One curve of the curve log drawn as the report draws it (the same picture, painted on the
// widget and scaled to it), for a panel that shows the curve of one procedure beside other
// things. Before the log holds a curve of that kind the widget shows nothing but its frame.
//
//   view.showCurve(&door.curves(), CurveKind::SweepLow);  // and again when the log moved on
#pragma once

#include "model/CurveLog.h"

#include <QFrame>

#include <optional>

class CurvePictureView : public QFrame {
  public:
    explicit CurvePictureView(QWidget* parent = nullptr);

    // The kind to draw from log (nothing: an empty frame); redraws when either changed or the
    // log's curve of that kind has moved on since the last call.
    void showCurve(const CurveLog* log, std::optional<CurveKind> kind);
    std::optional<CurveKind> shownKind() const { return log ? kind : std::nullopt; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const CurveLog* log = nullptr;
    std::optional<CurveKind> kind;
    std::uint32_t revisionDrawn = 0;
};
