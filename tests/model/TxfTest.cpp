// SPDX-License-Identifier: GPL-3.0-or-later
// The TXF table and curve: the constants file (its product line, its length, the number rule
// of its lines, the values that refuse it), the temperature borders and areas, and the curve of
// the full write.
#include "model/TxfCurve.h"
#include "model/TxfTable.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>

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
    std::optional<float> value; // nothing: the line refuses the file
};

class ConstantNumberTest : public ::testing::TestWithParam<NumberCase> {};

} // namespace

TEST_P(ConstantNumberTest, ReadsLikeTheFileWritesIt) {
    const auto value = TxfTable::constantValue(GetParam().line);
    ASSERT_EQ(value.has_value(), GetParam().value.has_value()) << GetParam().line;
    if (value) {
        EXPECT_FLOAT_EQ(*value, *GetParam().value) << GetParam().line;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rule, ConstantNumberTest,
    ::testing::Values(NumberCase{"1.5e-2 unit", 0.015f}, NumberCase{"letters only", 0.0f},
                      NumberCase{"", 0.0f}, NumberCase{"1 2", 12.0f}, NumberCase{"\t-1\t.5", -1.5f},
                      NumberCase{"+4", 4.0f}, NumberCase{"1.2.3", 1.2f}, NumberCase{"2E", 2.0f},
                      NumberCase{"1 e 3", 1000.0f}, NumberCase{"&H1F", 31.0f},
                      NumberCase{"&hff x", 255.0f}, NumberCase{"-.25", -0.25f},
                      NumberCase{"3D2", 300.0f}, NumberCase{"information", 0.0f},
                      NumberCase{"1e39", std::nullopt}, NumberCase{"1e40", std::nullopt},
                      NumberCase{"-3.5e38", std::nullopt}, NumberCase{"nan", std::nullopt},
                      NumberCase{"inf", std::nullopt}, NumberCase{"-Infinity", std::nullopt},
                      NumberCase{"N a N", std::nullopt}, NumberCase{"3.4e38", 3.4e38f}));

TEST(TxfTableTest, AcceptsTheProductLineWithBlanksAndExactly22Lines) {
    testsupport::TempDir dir;
    TxfTable table;
    dir.writeFile("ok.ini", constantsFile("   VS-K5 ALN Rev.1.0  ", 21));
    EXPECT_TRUE(table.readConstantsFrom(dir.file("ok.ini")));
    EXPECT_FLOAT_EQ(table.constant(0), 0.5f);
    EXPECT_FLOAT_EQ(table.constant(20), 20.5f);
    dir.writeFile("more.ini", constantsFile("VS-K5 ALN Rev.1.0", 21) + "anything\r\nelse\r\n");
    EXPECT_TRUE(table.readConstantsFrom(dir.file("more.ini")));

    // Refused at the first line: nothing changes.
    dir.writeFile("rev.ini", constantsFile("VS-K5 ALN Rev.1.1", 21));
    EXPECT_FALSE(table.readConstantsFrom(dir.file("rev.ini")));
    EXPECT_FLOAT_EQ(table.constant(0), 0.5f);
    // Too short: refused, the constants before it stay. (A value that is no number is a row of
    // ConstantNumberTest; a file one number short fails constant(20) above.)
    dir.writeFile("short.ini", "VS-K5 ALN Rev.1.0\n7\n8\n");
    EXPECT_FALSE(table.readConstantsFrom(dir.file("short.ini")));
    EXPECT_FLOAT_EQ(table.constant(1), 8.0f);
    EXPECT_FLOAT_EQ(table.constant(2), 2.5f);
    EXPECT_FALSE(table.readConstantsFrom(dir.file("missing.ini")));
}

TEST(TxfTableTest, BordersAreasAndTheirRange) {
    const TxfTable table;
    // The golden dumps show the borders of areas 0 to 20; the one past them is 0.
    EXPECT_EQ(table.RigOp_Table_Txf_TempBorder(21), 0);
    EXPECT_THROW(table.RigOp_Table_Txf_TempBorder(-1), std::out_of_range);
    EXPECT_THROW(table.RigOp_Table_Txf_TempBorder(22), std::out_of_range);
    // A reading equal to a border lies in the area above it; 255 in the last one.
    const std::pair<std::int16_t, std::int16_t> areas[] = {
        {0, 0}, {15, 0}, {16, 1}, {128, 10}, {239, 18}, {240, 19}, {255, 19}};
    for (const auto& [reading, area] : areas) {
        EXPECT_EQ(table.area(reading), area) << reading;
    }
}

// Whatever the constants, the curve passes (within a step) through the setting at the first
// Enter at the temperature measured now, and every value fits its byte.
TEST(TxfCurveTest, TheCurvePassesThroughTheStartValueAtTheMeasuredTemperature) {
    TxfTable table;
    testsupport::TempDir dir;
    std::string text = "VS-K5 ALN Rev.1.0";
    for (int i = 0; i <= 20; ++i) {
        text += "\n" + std::to_string(10.0 * std::sin(i * 0.7) - 3.0); // a bumpy set
    }
    dir.writeFile("bumpy.ini", text + "\n");
    ASSERT_TRUE(table.readConstantsFrom(dir.file("bumpy.ini")));
    for (const std::int16_t t : {20, 100, 173, 250}) {
        const std::int16_t area = table.area(t);
        const TxfCurve curve = TxfCurve::compute(120, 140, table, area, t);
        const int initial = curve.writeValue(area);
        const int slant = curve.writeValue(20 + area);
        const int border = table.RigOp_Table_Txf_TempBorder(area);
        // What the radio computes at t from the written area: initial + slant (t - border) / 32.
        EXPECT_NEAR(initial + slant * (t - border) / 32.0, 120, 1.5) << t;
        for (int n = 0; n < 40; ++n) {
            EXPECT_TRUE(n < 20 ? curve.writeValue(n) >= 0 && curve.writeValue(n) <= 255
                               : curve.writeValue(n) >= -128 && curve.writeValue(n) <= 127);
        }
    }
}
