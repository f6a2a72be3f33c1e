// The adjustment procedures end to end against the simulated radio: what each sends, in which
// order, what it stores, and how it ends.
#include "app/common/CommonRoutines.h"
#include "app/frmMain.h"
#include "console/ConsoleGlobal.h"
#include "console/clsConsole.h"
#include "link/LinkGlobals.h"
#include "link/clsCmcCln3Drv.h"
#include "link/clsCmcCln3Sequence.h"
#include "link/clsCmcRadio.h"
#include "link/frmCom.h"
#include "model/clsIndOp_RigK5.h"
#include "model/clsRig_Ch.h"
#include "model/frmEditCh.h"
#include "platform/UiHooks.h"
#include "tests/model/ConnectedBench.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>
#include <cmath>

using testsupport::Bench;
using namespace proceduretest;

TEST(ProceduresTest, DtcsStartSendsOneCommandAndEndsOnTheNextTick) {
    Connected c;
    items().EnterPushed(ItemDtcsStart);
    ASSERT_TRUE(c.bench.runUntil([&] { return !c.bench.e8Payloads().empty(); }, 20));
    c.bench.tick();
    EXPECT_EQ(step(), 0);
    c.bench.tick(10);
    EXPECT_EQ(c.bench.e8Payloads(), std::vector<std::string>{"023031"});
    ASSERT_TRUE(c.enter(4)); // DTCS Stop
    ASSERT_TRUE(c.runToEnd());
    EXPECT_EQ(c.bench.e8Payloads().back(), "023030");
}

namespace {

struct SMeterCase {
    int reading;
    std::string message; // empty: the points are set
};

const std::string NoSignalForSMeter =
    "No signal reached the detector.\r\nThe S-meter points are unchanged.\r\n\r\n"
    "Check the following:\r\n\r\n- The signal generator output is ON.\r\n"
    "- The signal generator frequency is that of the test channel.";
const std::string LevelCheck =
    "\r\nThe S-meter points are unchanged.\r\n\r\nCheck the following:\r\n\r\n"
    "- The signal generator level.";

class SMeterTest : public ::testing::TestWithParam<SMeterCase> {};

} // namespace

TEST_P(SMeterTest, SetsThreePointsAroundTheReadingOrNothingOutsideTheirRange) {
    const SMeterCase& p = GetParam();
    Connected c;
    c.bench.radio().config().detectorScript = {p.reading};
    const Bytes before = gObjRadio().objEep().ReadBlock(0x7B9, 3);
    ASSERT_TRUE(c.enter(ItemSMeter));
    ASSERT_TRUE(c.runToEnd());
    const int s = p.reading;
    const auto& radio = c.bench.radio().memory();
    const Bytes inRadio{radio[0x7B9], radio[0x7BA], radio[0x7BB]};
    if (p.message.empty()) {
        EXPECT_EQ(c.bench.e8Payloads(),
                  (std::vector<std::string>{"033032", e8(4, s - 2), e8(5, s + 7), e8(6, s + 16)}));
        const Bytes points{std::uint8_t(s), std::uint8_t(s + 8), std::uint8_t(s + 16)};
        EXPECT_EQ(gObjRadio().objEep().ReadBlock(0x7B9, 3), points);
        EXPECT_EQ(inRadio, points);
        EXPECT_EQ(c.bench.messages().beeps(), 1);
        EXPECT_TRUE(c.bench.messages().messages().empty());
        return;
    }
    EXPECT_EQ(c.bench.e8Payloads(), std::vector<std::string>{"033032"}); // the reading only
    EXPECT_EQ(gObjRadio().objEep().ReadBlock(0x7B9, 3), before);
    EXPECT_EQ(inRadio, before);
    EXPECT_EQ(c.bench.messages().beeps(), 0);
    ASSERT_EQ(c.bench.messages().messages().size(), 1u);
    EXPECT_EQ(c.bench.messages().messages()[0].text, p.message);
}

// 2 and 239 are the ends at which the live S1 (s - 2) and the stored S3 (s + 16) still fit a
// byte; one step beyond, nothing may go out.
INSTANTIATE_TEST_SUITE_P(
    Readings, SMeterTest,
    ::testing::Values(
        SMeterCase{2, ""}, SMeterCase{154, ""}, SMeterCase{239, ""},
        SMeterCase{0, NoSignalForSMeter},
        SMeterCase{1, "The signal level is too low for the S-meter points." + LevelCheck},
        SMeterCase{240, "The signal level is too high for the S-meter points." + LevelCheck},
        SMeterCase{255, "The signal level is too high for the S-meter points." + LevelCheck}));

TEST(ProceduresTest, AProcedureAbandonedWhileItsReadingWasOutStartsAfreshNextTime) {
    Connected c;
    ASSERT_TRUE(c.enter(ItemSMeter));
    c.bench.window().cmd00(1).click(); // abandoned with its SD reading under way
    ASSERT_TRUE(c.bench.runUntil([] { return !gObjSeq().OpRunning(); }, 20));
    c.bench.tick(80); // the reload's readouts
    c.bench.clearWire();
    ASSERT_TRUE(c.enter(ItemSMeter));
    ASSERT_TRUE(c.runToEnd());
    const int s = c.bench.radio().readout(2);
    EXPECT_EQ(c.bench.e8Payloads(),
              (std::vector<std::string>{"033032", e8(4, s - 2), e8(5, s + 7), e8(6, s + 16)}));
}

TEST(ProceduresTest, ARejectedReadingSendsAndStoresNothing) {
    Connected c;
    const int before = imageByte(0x7B9);
    c.bench.radio().config().noAnswer = true;
    ASSERT_TRUE(c.enter(ItemSMeter));
    clsCmcCln3Drv& driver = gObjCom()->cln3D;
    ASSERT_TRUE(c.bench.runUntil([&] { return driver.waitState() == 2; }, 20));
    driver.read(HexToByteStr("FEFEEFEEE87351000103394141FD")); // three value characters
    c.bench.tick(3);
    EXPECT_EQ(c.bench.messages().messages().size(), 1u);
    EXPECT_EQ(c.bench.e8Payloads(), std::vector<std::string>{"033032"});
    EXPECT_EQ(imageByte(0x7B9), before);
    EXPECT_EQ(step(), 0);
}

namespace {

struct BandCase {
    int band;
    std::int16_t allItem;
    int firstCommand;
};

class BandPassSweepTest : public ::testing::TestWithParam<BandCase> {};

} // namespace

TEST_P(BandPassSweepTest, LandsOnTheDetectorPeakOfEveryStage) {
    const BandCase& b = GetParam();
    Connected c;
    const vxk5sim::SimConfig& config = c.bench.radio().config();
    const vxk5sim::BandOptimum optimum = config.bandOptimum[static_cast<std::size_t>(b.band)];

    ASSERT_TRUE(c.enter(b.allItem));
    EXPECT_EQ(c.line(b.allItem), items().Title(b.allItem) + ": Sweeping");
    ASSERT_TRUE(c.runToEnd());

    const int expected[3] = {optimum.t1, optimum.t2, optimum.t3};
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(items().Value(static_cast<std::int16_t>(b.allItem + 1 + k)), expected[k], 1)
            << k;
        EXPECT_EQ(c.bench.radio().e8Value(b.firstCommand + k),
                  items().Value(static_cast<std::int16_t>(b.allItem + 1 + k)));
    }
    EXPECT_EQ(c.bench.e8Payloads().back(), e8(66, 1));
    EXPECT_EQ(c.bench.messages().beeps(), 1);
    EXPECT_EQ(c.line(b.allItem), items().Title(b.allItem) + ": [Enter] to Sweep");
}

INSTANTIATE_TEST_SUITE_P(Bands, BandPassSweepTest,
                         ::testing::Values(BandCase{0, 8, 17}, BandCase{1, 12, 20},
                                           BandCase{2, 16, 23}));

TEST(ProceduresTest, SweepWithADeadDetectorContinuesAroundTheFirstPoint) {
    vxk5sim::SimConfig config;
    config.signal = 0;
    Connected c(config);
    ASSERT_TRUE(c.enter(ItemBpfLowAll));
    ASSERT_TRUE(c.runToEnd());
    // All coarse readings 0: the sweep stays around 63 (lower 0, upper 127); T1's first
    // three points are 32, 63 and 95.
    const std::vector<int> t1 = c.valuesOf(17);
    ASSERT_GE(t1.size(), 8u);
    EXPECT_EQ(std::vector<int>(t1.begin(), t1.begin() + 8),
              (std::vector<int>{0, 63, 127, 191, 63, 32, 63, 95}));
}

TEST(ProceduresTest, FineScanSettlesBetweenEqualHighestReadings) {
    Connected c;
    // Coarse 63/127/191, then T1 at 95/127/159: best 127, so T1 is scanned from 95 to 159.
    std::deque<int>& script = c.bench.radio().config().detectorScript;
    script = {10, 30, 5, 10, 20, 5};
    std::vector<int> scan(33, 40);    // 95, 97, ... 159
    scan[2] = scan[4] = scan[7] = 50; // highest first at 99, equal at 103 and 109
    script.insert(script.end(), scan.begin(), scan.end());
    ASSERT_TRUE(c.enter(ItemBpfLowAll));
    ASSERT_TRUE(c.bench.runUntil([] { return step() == 18; }, 2000));
    EXPECT_EQ(items().Value(9), 101); // 99 plus two equal readings
    EXPECT_EQ(c.bench.radio().e8Value(17), 101);
}

TEST(ProceduresTest, SweepHoldsTheFinalSettingAt255WhereTheEqualCountWouldPassIt) {
    vxk5sim::SimConfig config;
    config.signal = 250;
    config.bandOptimum[0] = {230, 200, 200};
    Connected c(config);
    ASSERT_TRUE(c.enter(ItemBpfLowAll));
    // The detector dies once T1's fine scan begins: 33 equal readings from 191 to 255 on top
    // of the best three-point setting, 223.
    ASSERT_TRUE(c.bench.runUntil([] { return step() == 17; }, 2000));
    c.bench.radio().config().signal = 0;
    ASSERT_TRUE(c.runToEnd());
    const std::vector<int> t1 = c.valuesOf(17);
    EXPECT_EQ(t1.back(), 255);
    EXPECT_EQ(items().Value(9), 255);
    EXPECT_EQ(c.bench.radio().e8Value(17), 255);
    EXPECT_EQ(imageByte(0x7B0), 255);
}

TEST(ProceduresTest, AButtonOrAnotherProcedureAbandonsTheSweepAndRestoresTheWaits) {
    Connected c;
    const auto waits = [] {
        return std::vector<std::int32_t>{items().WaitAfterE8(ItemBpfLowAll),
                                         items().WaitAfterE8(ItemBpfLowAll + 1),
                                         items().WaitAfterE8(ItemBpfLowAll + 2)};
    };
    const std::vector<std::int32_t> restored{200, 200, 200};
    ASSERT_TRUE(c.enter(ItemBpfLowAll));
    ASSERT_TRUE(c.bench.runUntil([] { return step() == 15; }, 2000));
    EXPECT_EQ(waits(), (std::vector<std::int32_t>{0, 1, 2})); // lowered for the sweep
    c.bench.window().cmd00(1).click();
    EXPECT_EQ(step(), 0);
    EXPECT_EQ(waits(), restored);

    ASSERT_TRUE(c.enter(ItemBpfLowAll));
    ASSERT_TRUE(c.bench.runUntil([] { return step() == 16; }, 2000));
    ASSERT_TRUE(c.enter(ItemDtcsStart));
    EXPECT_TRUE(c.runToEnd());
    EXPECT_EQ(waits(), restored);
    EXPECT_EQ(c.bench.messages().beeps(), 0); // the sweep never reached its end
}

TEST(ProceduresTest, ModulationLevelSendsChangesAndReadingsUntilEnterAgain) {
    Connected c;
    const int level = c.bench.radio().readout(1);
    const int stored = imageByte(0x7AB);
    ASSERT_TRUE(c.enter(ItemModLevel));
    ASSERT_TRUE(c.bench.runUntil([&] { return c.bench.e8Payloads().size() >= 3; }, 40));
    const std::vector<std::string> first = c.bench.e8Payloads();
    EXPECT_EQ(std::vector<std::string>(first.begin(), first.begin() + 3),
              (std::vector<std::string>{"033031", e8(13, level), e8(14, stored)}));
    EXPECT_EQ(c.line(ItemModLevel).rfind("   MOD Level: Setting = ", 0), 0u);

    c.bench.radio().config().level = 77;
    items().UpDown(ItemModLevel, 1);
    ASSERT_TRUE(c.bench.runUntil([&] { return imageByte(0x7AB) == stored + 1; }, 40));
    EXPECT_EQ(c.valuesOf(14).back(), stored + 1);
    EXPECT_EQ(c.valuesOf(13).back(), 77);

    // A change made just before the closing Enter still reaches the radio and the image.
    items().UpDown(ItemModLevel, 1);
    items().EnterPushed(ItemModLevel);
    ASSERT_TRUE(c.runToEnd(40));
    EXPECT_EQ(c.valuesOf(14).back(), stored + 2);
    EXPECT_EQ(imageByte(0x7AB), stored + 2);
    EXPECT_EQ(c.bench.e8Payloads().back(), "033031"); // it ended on a completed reading
    EXPECT_EQ(c.line(ItemModLevel), "   MOD Level: [Enter] to Start");
}

TEST(ProceduresTest, ChannelSelectEditsInTheDialogAndSendsTheChannel) {
    Connected c;
    bool tickedInside = false;
    platform::setModalDialogHook([&](QDialog& dialog) {
        auto& edit = static_cast<frmEditCh&>(dialog);
        edit.show();
        QApplication::processEvents();
        // The port manager's tick must not run while the dialog is open.
        const std::int16_t before = step();
        c.bench.tick(3);
        tickedInside = step() != before || !c.bench.e8Payloads().empty();
        edit.txtEditCh_FreqOp->setText("144.525");
        edit.cmdEditCh_Ok->click();
        return 1;
    });
    ASSERT_TRUE(c.enter(ItemChannel));
    ASSERT_TRUE(c.runToEnd(20));
    platform::setModalDialogHook({});
    EXPECT_FALSE(tickedInside);
    ASSERT_TRUE(c.bench.runUntil([&] { return !c.bench.e8Payloads().empty(); }, 20));
    EXPECT_EQ(c.bench.e8Payloads().front(), "01"
                                            "3134"
                                            "3435"
                                            "3235"
                                            "3030");
    EXPECT_EQ(c.bench.window().ChUnit(0).FreqOp_Pure(), 14452500);
}

namespace {

// Waits for TXF to settle in its follow loop (steps 56 and 58) with the link idle.
bool txfFollowing(Bench& bench) {
    return bench.runUntil([] { return !gObjSeq().OpRunning() && (step() == 56 || step() == 58); },
                          400);
}

struct TxfAreaCase {
    int temperature;
    int area;
};

class TxfLocalWriteTest : public ::testing::TestWithParam<TxfAreaCase> {};

} // namespace

TEST_P(TxfLocalWriteTest, WritesTheAreasAroundTheCurrentOneOnly) {
    vxk5sim::SimConfig config;
    config.temperature = GetParam().temperature;
    Connected c(config);
    const int a = GetParam().area;
    const int initial = imageByte(0x7C0 + a);
    Bytes image = gObjRadio().objEep().ReadBlock(0, 2048);
    std::vector<std::string> expected{"033030", "033030"}; // the area, read at steps 55 and 56
    for (const int base : {0, 20}) {                       // initial values first, then flat slopes
        for (int n = std::max(a - 1, 0); n <= std::min(a + 1, 19); ++n) {
            expected.push_back(e8(26 + base + n, base == 0 ? initial : 0));
            image[static_cast<std::size_t>(0x7C0 + base + n)] =
                static_cast<std::uint8_t>(base == 0 ? initial : 0);
        }
    }
    ASSERT_TRUE(c.enter(ItemTxf));
    ASSERT_TRUE(c.bench.runUntil([] { return step() == 57; }, 40));
    ASSERT_TRUE(c.bench.runUntil([] { return step() != 57; }, 40));
    std::vector<std::string> payloads = c.bench.e8Payloads();
    std::erase_if(payloads, [](const std::string& p) { return p.rfind("01", 0) == 0; }); // channel
    EXPECT_EQ(payloads, expected);
    EXPECT_EQ(gObjRadio().objEep().ReadBlock(0, 2048), image); // nothing else written
}

INSTANTIATE_TEST_SUITE_P(Areas, TxfLocalWriteTest,
                         ::testing::Values(TxfAreaCase{5, 0}, TxfAreaCase{250, 19},
                                           TxfAreaCase{128, 10}));

namespace {

// The two Enters of TXF: the item at first, Enter, the item at second, Enter; returns the
// payloads sent after the second Enter.
std::vector<std::string> runTxf(Connected& c, int first, int second) {
    EXPECT_TRUE(c.enter(ItemTxf));
    EXPECT_TRUE(txfFollowing(c.bench));
    items().setValue(ItemTxf, static_cast<std::int16_t>(first));
    c.bench.tick(20);
    items().EnterPushed(ItemTxf);
    // The second pass starts from the area's value plus 14.
    const std::int16_t area = gObjRigOp().RigOpProc_TxfArea(
        static_cast<std::int16_t>(c.bench.radio().config().temperature));
    EXPECT_TRUE(c.bench.runUntil(
        [&] { return items().Value(ItemTxf) == imageByte(0x7C0 + area) + 14; }, 200));
    EXPECT_EQ(c.line(ItemTxf).rfind("       TXF: 2nd TX Freq = 145.00145MHz, Setting = ", 0), 0u);
    EXPECT_TRUE(txfFollowing(c.bench));
    items().setValue(ItemTxf, static_cast<std::int16_t>(second));
    c.bench.tick(20);
    c.bench.clearWire();
    items().EnterPushed(ItemTxf);
    // One value per tick: never two TXF commands in one tick.
    int most = 0;
    EXPECT_TRUE(c.bench.runUntil(
        [&] {
            std::size_t before = c.bench.e8Payloads().size();
            c.bench.tick();
            most = std::max(most, static_cast<int>(c.bench.e8Payloads().size() - before));
            return step() == 0;
        },
        400));
    EXPECT_LE(most, 2); // the TXF value, and at most the channel item's resend
    std::vector<std::string> txf = c.bench.e8Payloads();
    std::erase_if(txf, [](const std::string& p) {
        const int command = HexToByteStr(p.substr(0, 2))[0];
        return command < 26 || command > 65;
    });
    return txf;
}

} // namespace

TEST(TxfTest, FlatCurveFromZeroCoefficients) {
    Connected c;
    std::string zeros = "VS-K5 ALN Rev.1.0";
    for (int i = 0; i < 21; ++i) {
        zeros += "\n0";
    }
    c.bench.folder().writeFile("zero.ini", zeros + "\n");
    ASSERT_TRUE(gObjRigOp().readParametersFrom(c.bench.folder().file("zero.ini")));
    const std::vector<std::string> sent = runTxf(c, 100, 110);
    ASSERT_EQ(sent.size(), 40u);
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(sent[static_cast<std::size_t>(i)], e8(26 + i, i < 20 ? 100 : 0)) << i;
        EXPECT_EQ(imageByte(0x7C0 + i), i < 20 ? 100 : 0);
    }
    EXPECT_EQ(c.bench.messages().beeps(), 1);
}

TEST(TxfTest, FullCurveFromTheSampleConstantsMatchesAnIndependentComputation) {
    Connected c; // the bench reads the sample "Const.ini"
    const int start = 120, second = 140;
    const std::vector<std::string> sent = runTxf(c, start, second);
    ASSERT_EQ(sent.size(), 40u);

    // The same curve worked out here in single precision.
    const int t = c.bench.radio().config().temperature;
    const clsIndOp_RigK5& model = gObjRigOp();
    const int a = model.RigOpProc_TxfArea(static_cast<std::int16_t>(t));
    const float d = static_cast<float>(second - start) / 10.0f;
    float curve[21];
    float slope[20];
    for (int i = 0; i <= 20; ++i) {
        curve[i] = static_cast<float>(start) - d * model.txfConst(i);
    }
    for (int i = 0; i < 20; ++i) {
        const auto b = [&](int n) {
            return model.RigOp_Table_Txf_TempBorder(static_cast<std::int16_t>(n));
        };
        slope[i] = (curve[i + 1] - curve[i]) / static_cast<float>(b(i + 1) - b(i)) * 32.0f;
    }
    const auto border = model.RigOp_Table_Txf_TempBorder(static_cast<std::int16_t>(a));
    const float y = std::floor(curve[a] + 0.5f) +
                    static_cast<float>(std::nearbyint(slope[a]) * (t - border)) / 32.0f;
    const int offset = static_cast<int>(std::nearbyint(static_cast<float>(start) - std::floor(y)));
    for (int i = 0; i < 20; ++i) {
        const int w = std::clamp(static_cast<int>(std::floor(curve[i] + 0.5f)) + offset, 0, 255);
        EXPECT_EQ(sent[static_cast<std::size_t>(i)], e8(26 + i, w)) << i;
        const int s = std::clamp(static_cast<int>(std::nearbyint(slope[i])), -128, 127);
        EXPECT_EQ(sent[static_cast<std::size_t>(20 + i)], e8(46 + i, s)) << i;
        EXPECT_EQ(imageByte(0x7D4 + i), s & 0xFF);
    }
    // The curve passes through the start value at the current temperature.
    EXPECT_NEAR(std::floor(curve[a] + 0.5f) + offset, start, 1);
}
