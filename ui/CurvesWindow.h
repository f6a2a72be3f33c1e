// SPDX-License-Identifier: GPL-3.0-or-later
// The "Curves" window: what the adjustment procedures measured, drawn as it comes in. One page
// per kind: the band-pass sweep of each band (the detector reading against the setting of T1,
// T2 and T3, the coarse points, where each stage was before and where it settled), TXF (REF
// Initial and REF Slant over the temperature areas before and after its write, the measured
// area marked) and the S-meter (the thresholds sent and the points kept, against the reading).
// The window turns to the page of the procedure that is running; each page keeps the last run
// of its kind. Before any run it shows a one-line hint.
#pragma once

#include "model/CurveLog.h"

#include <QWidget>

#include <array>
#include <cstdint>

class QChart;
class QChartView;
class QLabel;
class QStackedWidget;
class QTabWidget;

class CurvesWindow : public QWidget {
    Q_OBJECT

  public:
    explicit CurvesWindow(QWidget* parent);

    // Draws what changed in log since the last call.
    void refresh(const CurveLog& log);

    QChart& chart(CurveKind kind);
    int currentPage() const;
    bool showsHint() const;

  private:
    void draw(const CurveLog& log, CurveKind kind);
    void drawSweep(QChart& chart, const SweepCurve& curve);
    void drawTxf(QChart& chart, const TxfCurves& curves);
    void drawSMeter(QChart& chart, const SMeterCurve& curve);

    QStackedWidget* stack = nullptr;
    QLabel* hint = nullptr;
    QTabWidget* tabs = nullptr;
    std::array<QChartView*, CurveKindCount> views{};
    std::array<std::uint32_t, CurveKindCount> shownRevisions{}; // of each kind's curve drawn
};
