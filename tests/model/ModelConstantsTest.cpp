// The constants file, the number rule of its lines, the temperature borders and the window
// size rule.
#include "model/clsIndOp_RigK5.h"
#include "tests/support/Bench.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <stdexcept>

using testsupport::Bench;

namespace {

std::string constantsFile(const std::string& firstLine, int numberLines) {
    std::string text = firstLine + "\r\n";
    for (int i = 0; i < numberLines; ++i) {
        text += std::to_string(i) + ".5\r\n";
    }
    return text;
}

struct NumberCase {
    const char* line;
    float value;
};

class ConstantNumberTest : public ::testing::TestWithParam<NumberCase> {};
class NotANumberTest : public ::testing::TestWithParam<const char*> {};

} // namespace

TEST_P(ConstantNumberTest, ReadsLikeTheFileWritesIt) {
    const auto value = clsIndOp_RigK5::constantValue(GetParam().line);
    ASSERT_TRUE(value.has_value());
    EXPECT_FLOAT_EQ(*value, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, ConstantNumberTest,
    ::testing::Values(NumberCase{"1.5e-2 unit", 0.015f}, NumberCase{"letters only", 0.0f},
                      NumberCase{"", 0.0f}, NumberCase{"1 2", 12.0f}, NumberCase{"\t-1\t.5", -1.5f},
                      NumberCase{"+4", 4.0f}, NumberCase{"1.2.3", 1.2f}, NumberCase{"2E", 2.0f},
                      NumberCase{"1 e 3", 1000.0f}, NumberCase{"&H1F", 31.0f},
                      NumberCase{"&hff x", 255.0f}, NumberCase{"-.25", -0.25f},
                      NumberCase{"3D2", 300.0f},
                      // Largest and smallest that single precision holds.
                      NumberCase{"3.4e38", 3.4e38f}, NumberCase{"-3.4e38", -3.4e38f},
                      NumberCase{"1e-50", 0.0f}, NumberCase{"none", 0.0f}, NumberCase{"in", 0.0f},
                      NumberCase{"&hFFFFFFFF", 4294967295.0f}));

// Infinity and not-a-number are refused, never a constant; "1e40" was infinity once read.
TEST_P(NotANumberTest, IsNoConstant) {
    EXPECT_FALSE(clsIndOp_RigK5::constantValue(GetParam()).has_value());
}

INSTANTIATE_TEST_SUITE_P(Rule, NotANumberTest,
                         ::testing::Values("1e39", "1e40", "-3.5e38", "1e40 K", "1e400",
                                           "999999999999999999999999999999999999999999", "nan",
                                           "NaN", "n a n", "-nan", "inf", "-INF", "+Infinity",
                                           "i n f", "inf K"));

TEST(ModelConstantsTest, AcceptsTheProductLineWithBlanksAndExactly22Lines) {
    Bench bench;
    clsIndOp_RigK5& model = gObjRigOp();
    testsupport::TempDir dir;
    dir.writeFile("ok.ini", constantsFile("   VS-K5 ALN Rev.1.0  ", 21));
    EXPECT_TRUE(model.readParametersFrom(dir.file("ok.ini")));
    EXPECT_FLOAT_EQ(model.txfConst(0), 0.5f);
    EXPECT_FLOAT_EQ(model.txfConst(20), 20.5f);

    dir.writeFile("more.ini", constantsFile("VS-K5 ALN Rev.1.0", 21) + "anything\r\nelse\r\n");
    EXPECT_TRUE(model.readParametersFrom(dir.file("more.ini")));

    // Refused at the first line: nothing changes.
    dir.writeFile("rev.ini", "VS-K5 ALN Rev.1.1\n" + std::string(21 * 3, '9'));
    EXPECT_FALSE(model.readParametersFrom(dir.file("rev.ini")));
    EXPECT_FLOAT_EQ(model.txfConst(0), 0.5f);

    // Too short: refused, the constants read so far stay.
    dir.writeFile("short.ini", "VS-K5 ALN Rev.1.0\n7\n8\n");
    EXPECT_FALSE(model.readParametersFrom(dir.file("short.ini")));
    EXPECT_FLOAT_EQ(model.txfConst(0), 7.0f);
    EXPECT_FLOAT_EQ(model.txfConst(1), 8.0f);
    EXPECT_FLOAT_EQ(model.txfConst(2), 2.5f);

    dir.writeFile("21.ini", constantsFile("VS-K5 ALN Rev.1.0", 20));
    EXPECT_FALSE(model.readParametersFrom(dir.file("21.ini")));
    EXPECT_FALSE(model.readParametersFrom(dir.file("missing.ini")));
}

TEST(ModelConstantsTest, AConstantThatIsNoNumberRefusesTheFile) {
    Bench bench;
    clsIndOp_RigK5& model = gObjRigOp();
    testsupport::TempDir dir;
    for (const char* bad : {"1e40", "nan"}) {
        dir.writeFile("ok.ini", constantsFile("VS-K5 ALN Rev.1.0", 21));
        ASSERT_TRUE(model.readParametersFrom(dir.file("ok.ini")));
        std::string text = "VS-K5 ALN Rev.1.0\n7\n8\n" + std::string(bad) + "\n";
        for (int i = 3; i <= 20; ++i) {
            text += "1\n";
        }
        dir.writeFile("bad.ini", text);
        EXPECT_FALSE(model.readParametersFrom(dir.file("bad.ini"))) << bad;
        // As with a short file, the constants before the bad line were taken.
        EXPECT_FLOAT_EQ(model.txfConst(1), 8.0f) << bad;
        EXPECT_FLOAT_EQ(model.txfConst(2), 2.5f) << bad;
    }
}

TEST(ModelConstantsTest, BordersAreasAndTheirRange) {
    Bench bench;
    const clsIndOp_RigK5& model = gObjRigOp();
    const std::int16_t expected[] = {0,   16,  24,  32,  40,  48,  64,  80,  96,  112, 128,
                                     144, 160, 176, 192, 208, 216, 224, 232, 240, 255, 0};
    for (std::int16_t i = 0; i <= 21; ++i) {
        EXPECT_EQ(model.RigOp_Table_Txf_TempBorder(i), expected[i]) << i;
    }
    EXPECT_THROW(model.RigOp_Table_Txf_TempBorder(-1), std::out_of_range);
    EXPECT_THROW(model.RigOp_Table_Txf_TempBorder(22), std::out_of_range);
    // A reading equal to a border lies in the area above it; 255 in the last one.
    const std::pair<std::int16_t, std::int16_t> areas[] = {
        {0, 0}, {15, 0}, {16, 1}, {128, 10}, {239, 18}, {240, 19}, {255, 19}};
    for (const auto& [reading, area] : areas) {
        EXPECT_EQ(model.RigOpProc_TxfArea(reading), area) << reading;
    }
}

TEST(ModelConstantsTest, WindowHeightFollowsTheScreen) {
    EXPECT_EQ(clsIndOp_RigK5::windowHeightFor(9000), 8100);
    EXPECT_EQ(clsIndOp_RigK5::windowHeightFor(7000), 6600);
    EXPECT_EQ(clsIndOp_RigK5::windowHeightFor(11520), 9800);
    EXPECT_EQ(clsIndOp_RigK5::windowHeightFor(10000), 9000);
    EXPECT_EQ(clsIndOp_RigK5::windowHeightFor(10001), 9800);
}
