// SPDX-License-Identifier: GPL-3.0-or-later
// The curves window.
#include "ui/CurvesWindow.h"

#include "common/Product.h"

#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace {

constexpr const char* PageTitles[CurveKindCount] = {"BPF Low ALL", "BPF Mid ALL", "BPF High ALL",
                                                    "TXF", "S-METER"};
const QColor StageColors[3] = {QColor(31, 119, 180), QColor(255, 127, 14), QColor(44, 160, 44)};
constexpr int ByteTop = 255;

QValueAxis* axis(QChart& chart, Qt::Alignment side, const QString& title, double low, double high) {
    auto* a = new QValueAxis(&chart);
    a->setRange(low, high);
    a->setTitleText(title);
    a->setLabelFormat("%d");
    chart.addAxis(a, side);
    return a;
}

template <typename Series>
Series* series(QChart& chart, const QString& name, QValueAxis* x, QValueAxis* y) {
    auto* s = new Series(&chart);
    s->setName(name);
    chart.addSeries(s);
    s->attachAxis(x);
    s->attachAxis(y);
    return s;
}

// A vertical line across the whole height at x: a marked setting or area, out of the legend.
void marker(QChart& chart, const QString& name, double x, QValueAxis* xAxis, QValueAxis* yAxis,
            const QColor& color, Qt::PenStyle style) {
    auto* line = series<QLineSeries>(chart, name, xAxis, yAxis);
    line->append(x, yAxis->min());
    line->append(x, yAxis->max());
    line->setPen(QPen(color, 1.5, style));
    for (QLegendMarker* m : chart.legend()->markers(line)) {
        m->setVisible(false);
    }
}

void clear(QChart& chart) {
    chart.removeAllSeries();
    for (QAbstractAxis* a : chart.axes()) {
        chart.removeAxis(a);
        delete a;
    }
}

} // namespace

CurvesWindow::CurvesWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QString("%1 - Curves").arg(product::Title));
    auto* layout = new QVBoxLayout(this);
    stack = new QStackedWidget(this);
    hint = new QLabel("No curves yet: run a band-pass sweep, TXF or the S-meter.", stack);
    hint->setAlignment(Qt::AlignCenter);
    tabs = new QTabWidget(stack);
    for (int k = 0; k < CurveKindCount; ++k) {
        auto* view = new QChartView(tabs);
        view->setRenderHint(QPainter::Antialiasing);
        view->chart()->setTitle(PageTitles[k]);
        views[static_cast<std::size_t>(k)] = view;
        tabs->addTab(view, PageTitles[k]);
    }
    stack->addWidget(hint);
    stack->addWidget(tabs);
    layout->addWidget(stack);
    resize(720, 480);
}

QChart& CurvesWindow::chart(CurveKind kind) {
    return *views[static_cast<std::size_t>(kind)]->chart();
}

int CurvesWindow::currentPage() const {
    return tabs->currentIndex();
}

bool CurvesWindow::showsHint() const {
    return stack->currentWidget() == hint;
}

void CurvesWindow::refresh(const CurveLog& log) {
    bool anyDrawn = false;
    for (int k = 0; k < CurveKindCount; ++k) {
        const auto kind = static_cast<CurveKind>(k);
        std::uint32_t& shown = shownRevisions.at(static_cast<std::size_t>(k));
        if (log.revision(kind) != shown) {
            shown = log.revision(kind);
            draw(log, kind); // a sweep redraws only its own band while it runs
            anyDrawn = true;
        }
    }
    if (!anyDrawn) {
        return;
    }
    if (const std::optional<CurveKind> latest = log.latest()) {
        stack->setCurrentWidget(tabs);
        tabs->setCurrentIndex(static_cast<int>(*latest)); // the procedure that runs
    }
}

void CurvesWindow::draw(const CurveLog& log, CurveKind kind) {
    QChart& c = chart(kind);
    clear(c);
    if (kind == CurveKind::Txf && log.txf()) {
        drawTxf(c, *log.txf());
    } else if (kind == CurveKind::SMeter && log.sMeter()) {
        drawSMeter(c, *log.sMeter());
    } else if (kind < CurveKind::Txf && log.sweep(static_cast<int>(kind))) {
        drawSweep(c, *log.sweep(static_cast<int>(kind)));
    }
}

// The readings as points where they were taken, in the order taken: the coarse pass with all
// stages together, then each stage's three points and fine scan.
void CurvesWindow::drawSweep(QChart& c, const SweepCurve& curve) {
    QValueAxis* x = axis(c, Qt::AlignBottom, "Setting", 0, ByteTop);
    QValueAxis* y = axis(c, Qt::AlignLeft, "Detector reading", 0, ByteTop);
    auto* coarse = series<QScatterSeries>(c, "Coarse", x, y);
    coarse->setColor(Qt::gray);
    std::array<QScatterSeries*, 3> stages{};
    for (int s = 0; s < 3; ++s) {
        stages[static_cast<std::size_t>(s)] =
            series<QScatterSeries>(c, QString("T%1").arg(s + 1), x, y);
        stages[static_cast<std::size_t>(s)]->setColor(StageColors[s]);
        stages[static_cast<std::size_t>(s)]->setMarkerSize(7);
    }
    for (const SweepReading& r : curve.readings) {
        QScatterSeries* target = r.stage < 0 ? coarse : stages[static_cast<std::size_t>(r.stage)];
        target->append(r.setting, r.reading);
    }
    for (int s = 0; s < 3; ++s) {
        const auto i = static_cast<std::size_t>(s);
        marker(c, QString("T%1 before").arg(s + 1), curve.before[i], x, y, StageColors[s],
               Qt::DotLine);
        if (curve.chosen[i] >= 0) {
            marker(c, QString("T%1 chosen").arg(s + 1), curve.chosen[i], x, y, StageColors[s],
                   Qt::DashLine);
        }
    }
}

void CurvesWindow::drawTxf(QChart& c, const TxfCurves& curves) {
    const double lastArea = TxfCurves::Areas - 1;
    QValueAxis* x = axis(c, Qt::AlignBottom, "Temperature area", 0, lastArea);
    x->setTickCount(TxfCurves::Areas);
    QValueAxis* initial = axis(c, Qt::AlignLeft, "REF Initial", 0, ByteTop);
    QValueAxis* slant = axis(c, Qt::AlignRight, "REF Slant", -128, 127);
    const auto line = [&](const QString& name, const auto& values, QValueAxis* y,
                          const QColor& color, Qt::PenStyle style) {
        auto* s = series<QLineSeries>(c, name, x, y);
        s->setPen(QPen(color, 2, style));
        s->setPointsVisible(true);
        for (int n = 0; n < TxfCurves::Areas; ++n) {
            s->append(n, values[static_cast<std::size_t>(n)]);
        }
    };
    line("Initial before", curves.initialBefore, initial, StageColors[0], Qt::DotLine);
    line("Initial after", curves.initialNow, initial, StageColors[0], Qt::SolidLine);
    line("Slant before", curves.slantBefore, slant, StageColors[1], Qt::DotLine);
    line("Slant after", curves.slantNow, slant, StageColors[1], Qt::SolidLine);
    if (curves.area >= 0) {
        marker(c, "Measured area", curves.area, x, initial, Qt::red, Qt::DashLine);
    }
}

void CurvesWindow::drawSMeter(QChart& c, const SMeterCurve& curve) {
    QValueAxis* x = axis(c, Qt::AlignBottom, "S point", 1, 3);
    x->setTickCount(3);
    x->setLabelFormat("S%d");
    // The points lie a few counts apart: the scale spans them, not the whole byte.
    int low = curve.reading;
    int high = curve.reading;
    for (const auto* values : {&curve.live, &curve.stored}) {
        for (const int v : *values) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
    QValueAxis* y = axis(c, Qt::AlignLeft, "Level", low - 8, high + 8);
    const auto points = [&](const QString& name, const std::array<int, 3>& values,
                            const QColor& color) {
        auto* s = series<QLineSeries>(c, name, x, y);
        s->setColor(color);
        s->setPointsVisible(true);
        for (int n = 0; n < 3; ++n) {
            s->append(n + 1, values[static_cast<std::size_t>(n)]);
        }
    };
    points("Live", curve.live, StageColors[0]);
    points("Stored", curve.stored, StageColors[2]);
    auto* reading = series<QLineSeries>(c, "Reading", x, y);
    reading->setPen(QPen(Qt::red, 1.5, Qt::DashLine));
    reading->append(1, curve.reading);
    reading->append(3, curve.reading);
}
