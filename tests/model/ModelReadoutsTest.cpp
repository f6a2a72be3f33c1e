// The readout lines, the rule that only a changed value rewrites its line, an illegal answer,
// the parameter dump view and the window states.
#include "app/common/CommonRoutines.h"
#include "app/frmMain.h"
#include "console/ConsoleGlobal.h"
#include "link/LinkGlobals.h"
#include "link/clsCmcCln3Drv.h"
#include "link/clsCmcRadio.h"
#include "link/frmCom.h"
#include "model/clsIndEep_RigK5.h"
#include "model/clsIndOp_RigK5.h"
#include "tests/support/Bench.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

using testsupport::Bench;

namespace {

struct LineCase {
    bool ad;
    int index;
    int value;
    const char* line;
};

class ReadoutLineTest : public ::testing::TestWithParam<LineCase> {};

std::string listLine(Bench& bench, int list, int row) {
    return bench.window().lbo01(list).item(row)->text().toStdString();
}

} // namespace

TEST_P(ReadoutLineTest, ShowsRawValueAndReading) {
    const LineCase& c = GetParam();
    EXPECT_EQ(c.ad ? clsIndOp_RigK5::adLineText(c.index, c.value)
                   : clsIndOp_RigK5::daLineText(c.index, c.value),
              c.line);
}

INSTANTIATE_TEST_SUITE_P(Lines, ReadoutLineTest,
                         ::testing::Values(LineCase{true, 1, 128, "LVIN :128:80h:  2.51V"},
                                           LineCase{true, 2, 5, "SD   :  5:05h:  0.10V"},
                                           LineCase{true, 0, 128, "TEMPS:128:80h:  9.27'C"},
                                           LineCase{true, 0, 100, "TEMPS:100:64h:   .65'C"},
                                           LineCase{true, 0, 200, "TEMPS:200:C8h: 37.41'C"},
                                           LineCase{true, 0, 173, "TEMPS:173:ADh: 24.81'C"},
                                           LineCase{true, 0, 0, "TEMPS:  0:00h:*Error"},
                                           LineCase{true, 0, 255, "TEMPS:255:FFh:*Error"},
                                           LineCase{true, 3, 77, ""},
                                           LineCase{false, 0, 255, "BPF T1 :255:FFh:  5.00V"},
                                           LineCase{false, 5, 0, "Volium :  0:00h:  0.00V"},
                                           LineCase{false, 7, 51, "REF    : 51:33h: 20.00%"},
                                           LineCase{false, 9, 255, "SQL Lev:255:FFh:100.00%"},
                                           LineCase{false, 6, 123, "DTCS BL:123:7Bh:  2.41V"}));

TEST(ModelReadoutsTest, ReloadFillsTheListsAndOnlyAChangedValueRewritesItsLine) {
    Bench bench;
    ASSERT_TRUE(bench.connect());
    EXPECT_EQ(listLine(bench, 0, 0), "[A/D]");
    EXPECT_EQ(listLine(bench, 0, 2), clsIndOp_RigK5::adLineText(1, bench.radio().readout(1)));
    EXPECT_EQ(listLine(bench, 1, 8), clsIndOp_RigK5::daLineText(9, bench.radio().readout(12)));
    EXPECT_EQ(listLine(bench, 1, 4), clsIndOp_RigK5::daLineText(5, bench.radio().readout(8)));

    // The same reading again leaves the line alone; a new one rewrites it.
    bench.window().lbo01(0).item(2)->setText("kept");
    bench.window().cmd00(1).click();
    bench.tick(40);
    EXPECT_EQ(listLine(bench, 0, 2), "kept");
    bench.radio().config().level = 51;
    bench.window().cmd00(1).click();
    ASSERT_TRUE(bench.runUntil([&] { return listLine(bench, 0, 2) != "kept"; }, 100));
    EXPECT_EQ(listLine(bench, 0, 2), "LVIN : 51:33h:  1.00V");
    EXPECT_EQ(gObjRigOp().adLastValue(1), 51);
}

TEST(ModelReadoutsTest, IllegalAnswerEndsInMessageAndReset) {
    Bench bench;
    ASSERT_TRUE(bench.connect());
    bench.radio().config().noAnswer = true;
    bench.window().cmd00(1).click();
    clsCmcCln3Drv& driver = gObjCom()->cln3D;
    ASSERT_TRUE(bench.runUntil([&] { return driver.waitState() == 2; }, 20));
    // Three value characters: the driver takes the frame, the model must refuse it.
    driver.read(HexToByteStr("FEFEEFEEE873510001033431 41FD"));
    bench.tick(3);
    ASSERT_EQ(bench.messages().messages().size(), 1u);
    EXPECT_EQ(bench.messages().messages()[0].text,
              "Communication failed.\r\n\r\nCheck the following:\r\n\r\n"
              "- Cloning cable connections.\r\n- The VX-K5 power is ON.");
    EXPECT_EQ(gObjRigOp().taskPhaseNow(), 0);
    EXPECT_EQ(bench.window().lbo01(0).item(1)->text().toStdString(), "----");
}
