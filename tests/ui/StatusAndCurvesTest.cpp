// SPDX-License-Identifier: GPL-3.0-or-later
// What the technician sees while the utility works: the status bar through a Connect and after
// a failed one, and the curves window, whose series must hold exactly the readings each
// procedure took.
#include "tests/support/Bench.h"
#include "tests/support/ConnectedBench.h"

#include "platform/SessionLog.h"
#include "ui/CurvesWindow.h"
#include "ui/StatusLine.h"

#include <QAbstractSeries>
#include <QAction>
#include <QChart>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QXYSeries>

#include <array>

using namespace proceduretest;
using testsupport::Bench;
using OnWindow = ConnectedOn<Bench>; // connected, on the window's bench

namespace {

// The points of the chart's series called name, in order.
std::vector<QPointF> pointsOf(QChart& chart, const QString& name) {
    for (QAbstractSeries* s : chart.series()) {
        if (s->name() == name) {
            const QList<QPointF> points = static_cast<QXYSeries*>(s)->points();
            return {points.begin(), points.end()};
        }
    }
    ADD_FAILURE() << "no series " << name.toStdString();
    return {};
}

std::vector<int> ysOf(const std::vector<QPointF>& points) {
    std::vector<int> ys;
    for (const QPointF& p : points) {
        ys.push_back(static_cast<int>(p.y()));
    }
    return ys;
}

// Detector readings that are never the same twice in a row, and never 0.
std::deque<int> scriptedReadings() {
    std::deque<int> readings;
    unsigned seed = 12345;
    for (int i = 0; i < 200; ++i) {
        seed = seed * 1103515245u + 12345u;
        readings.push_back(static_cast<int>(1 + (seed >> 16) % 250));
    }
    return readings;
}

} // namespace

TEST(StatusBarTest, ConnectShowsTheCloneReadByItsBytesThenTheValuesThenTheRadioAndItsPort) {
    Bench bench;
    frmMain& window = bench.window();
    std::vector<std::string> phases; // each as "what of maximum"
    int most = 0;                    // in the phase shown
    window.cmd00(0).click();
    ASSERT_TRUE(bench.runUntil([&] {
        if (!window.statusLine().progressBar().isHidden()) {
            const QProgressBar& bar = window.statusLine().progressBar();
            const std::string phase = window.statusLine().progressText().text().toStdString() +
                                      " of " + std::to_string(bar.maximum());
            if (phases.empty() || phases.back() != phase) {
                phases.push_back(phase);
                most = 0;
            }
            EXPECT_GE(bar.value(), most) << "the bar never goes back";
            most = bar.value();
        }
        return !bench.model().progressNow().has_value() && bench.model().RigProp_EditEnabled();
    }));
    bench.tick();
    EXPECT_EQ(phases, (std::vector<std::string>{"Reading memory of 2048", "Reading levels of 2048",
                                                "Sending values of 15"}));
    EXPECT_EQ(most, 15); // the channel and every value
    EXPECT_TRUE(window.statusLine().progressBar().isHidden());
    EXPECT_EQ(window.statusLine().identity().text().toStdString(), "VX-K5 0001 on COM 1");
}

TEST(StatusBarTest, AFailedConnectLeavesItsErrorThereUntilTheNextAction) {
    vxk5sim::SimConfig config;
    config.noAnswer = true;
    Bench bench(config);
    bench.window().cmd00(0).click();
    ASSERT_TRUE(bench.runUntil([&] { return !bench.messages().messages().empty(); }));
    EXPECT_EQ(bench.window().statusLine().error().text().toStdString(), "No answer from VX-K5.");
    EXPECT_TRUE(bench.window().statusLine().identity().text().isEmpty());
    bench.tick(20);
    EXPECT_EQ(bench.window().statusLine().error().text().toStdString(), "No answer from VX-K5.");
    bench.window().cmd00(0).click(); // the next action
    EXPECT_TRUE(bench.window().statusLine().error().text().isEmpty());
}

TEST(StatusBarTest, ALogThatCannotBeWrittenIsOneLineThereAndTheBenchGoesOn) {
    Bench bench;
    bench.folder().writeFile("file", ""); // no folder can be made below a file
    const platform::SessionLog log(bench.folder().file("file/logs"));
    ASSERT_TRUE(bench.connect());
    EXPECT_EQ(bench.window().statusLine().error().text().toStdString(),
              "The session log cannot be written in " + bench.folder().file("file/logs") + ".");
    EXPECT_TRUE(bench.messages().messages().empty());
}

class SweepCurveTest : public ::testing::TestWithParam<int> {};

TEST_P(SweepCurveTest, HoldsEveryDetectorReadingWhereAndInTheOrderItWasTaken) {
    const int band = GetParam();
    OnWindow c;
    CurvesWindow& curves = c.bench.window().curvesWindow();
    EXPECT_TRUE(curves.showsHint());
    c.bench.window().mnuViewCurves().trigger(); // F6: the window follows the procedure live
    const std::deque<int> script = scriptedReadings();
    c.bench.radio().config().detectorScript = script;
    const std::int16_t item = std::array{ItemBpfLowAll, ItemBpfMidAll, ItemBpfHighAll}.at(band);
    ASSERT_TRUE(c.enter(item) && c.runToEnd());
    c.bench.tick();
    const std::size_t taken = script.size() - c.bench.radio().config().detectorScript.size();
    ASSERT_GT(taken, 20u);
    EXPECT_FALSE(curves.showsHint());
    EXPECT_EQ(curves.currentPage(), band);
    QChart& chart = curves.chart(static_cast<CurveKind>(band));
    const std::vector<QPointF> coarse = pointsOf(chart, "Coarse");
    std::vector<int> readings = ysOf(coarse);
    for (const char* stage : {"T1", "T2", "T3"}) {
        const std::vector<int> ys = ysOf(pointsOf(chart, stage));
        readings.insert(readings.end(), ys.begin(), ys.end());
    }
    EXPECT_EQ(readings, std::vector<int>(script.begin(), script.begin() + taken));
    ASSERT_EQ(coarse.size(), 3u);
    EXPECT_EQ(coarse[1].x(), 127);
    for (int stage = 0; stage < 3; ++stage) {
        const auto chosen = pointsOf(chart, QString("T%1 chosen").arg(stage + 1));
        ASSERT_FALSE(chosen.empty());
        EXPECT_EQ(chosen[0].x(), c.imageByte(0x7B0 + 3 * band + stage)) << "T" << stage + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(Bands, SweepCurveTest, ::testing::Values(0, 1, 2));

TEST(CurvesTest, TxfShowsTheAreasBeforeAndAfterItsWriteAndTheMeasuredArea) {
    vxk5sim::SimConfig config;
    config.temperature = 128; // area 10
    OnWindow c(config);
    c.bench.window().mnuViewCurves().trigger();
    std::vector<int> before;
    for (int n = 0; n < 20; ++n) {
        before.push_back(c.imageByte(0x7C0 + n));
    }
    ASSERT_TRUE(c.enter(ItemTxf) && c.txfThroughBothEnters() && c.runToEnd());
    c.bench.tick();
    QChart& chart = c.bench.window().curvesWindow().chart(CurveKind::Txf);
    std::vector<int> initial, slant;
    for (int n = 0; n < 20; ++n) {
        initial.push_back(c.imageByte(0x7C0 + n));
        const int s = c.imageByte(0x7D4 + n);
        slant.push_back(s > 127 ? s - 256 : s);
    }
    ASSERT_NE(initial, before);
    EXPECT_EQ(ysOf(pointsOf(chart, "Initial before")), before);
    EXPECT_EQ(ysOf(pointsOf(chart, "Initial after")), initial);
    EXPECT_EQ(ysOf(pointsOf(chart, "Slant after")), slant);
    EXPECT_EQ(pointsOf(chart, "Measured area").at(0).x(), 10);
    EXPECT_EQ(c.bench.window().curvesWindow().currentPage(), static_cast<int>(CurveKind::Txf));
}

TEST(CurvesTest, SMeterShowsItsReadingWithThePointsSentAndKept) {
    OnWindow c;
    c.bench.window().mnuViewCurves().trigger();
    c.bench.radio().config().detectorScript = {120};
    ASSERT_TRUE(c.enter(ItemSMeter) && c.runToEnd());
    c.bench.tick();
    QChart& chart = c.bench.window().curvesWindow().chart(CurveKind::SMeter);
    EXPECT_EQ(ysOf(pointsOf(chart, "Live")), (std::vector<int>{118, 127, 136}));
    EXPECT_EQ(ysOf(pointsOf(chart, "Stored")), (std::vector<int>{120, 128, 136}));
    EXPECT_EQ(ysOf(pointsOf(chart, "Reading")), (std::vector<int>{120, 120}));
    EXPECT_EQ(c.imageByte(0x7BA), 128); // what the chart calls kept is what the radio keeps
}

// The curves window belongs to the main window: it closes with it, so nothing of the program
// stays on the screen, and the utility shuts down as on any close.
TEST(CurvesTest, TheCurvesWindowClosesWithTheMainWindow) {
    OnWindow c;
    frmMain& window = c.bench.window();
    window.show();
    window.mnuViewCurves().trigger();
    ASSERT_TRUE(window.curvesWindow().isVisible());
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.curvesWindow().isVisible());
    EXPECT_FALSE(c.bench.com().comOpen());
}
