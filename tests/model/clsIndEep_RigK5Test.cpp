// The adjustment dump: exact labels and values, the field behind every line, the
// number formats, and that the text box always holds just the latest dump.
#include "model/clsIndEep_RigK5.h"
#include "link/clsCmcEeprom.h"

#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

constexpr std::int32_t AreaFirst = 0x7A8;
constexpr std::int32_t AreaLast = 0x7E7;

std::int16_t testBorder(std::int16_t n) {
    if (n == 20) {
        return -1000; // too wide: only its last four characters show
    }
    if (n == 19) {
        return 12345;
    }
    return static_cast<std::int16_t>(-30 + 5 * n);
}

std::vector<std::string> splitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start)); // a line without its CR LF
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

const char* const ExpectedAllFF = "           POW HI Level:  255\r\n"
                                  "          POW LOW Level:  255\r\n"
                                  "         DTCS Bal Level:  255\r\n"
                                  "           MOD LV Level:  255\r\n"
                                  "              MOD Level:  255\r\n"
                                  "              SQL Level:  255\r\n"
                                  "       BPF LOW T1 Level:  255\r\n"
                                  "       BPF LOW T2 Level:  255\r\n"
                                  "       BPF LOW T3 Level:  255\r\n"
                                  "       BPF MID T1 Level:  255\r\n"
                                  "       BPF MID T2 Level:  255\r\n"
                                  "       BPF MID T3 Level:  255\r\n"
                                  "      BPF HIGH T1 Level:  255\r\n"
                                  "      BPF HIGH T2 Level:  255\r\n"
                                  "      BPF HIGH T3 Level:  255\r\n"
                                  "            SD S1 Level:  255\r\n"
                                  "            SD S2 Level:  255\r\n"
                                  "            SD S3 Level:  255\r\n"
                                  "            REF Area  0:  -30\r\n"
                                  "            REF Area  1:  -25\r\n"
                                  "            REF Area  2:  -20\r\n"
                                  "            REF Area  3:  -15\r\n"
                                  "            REF Area  4:  -10\r\n"
                                  "            REF Area  5:   -5\r\n"
                                  "            REF Area  6:    0\r\n"
                                  "            REF Area  7:    5\r\n"
                                  "            REF Area  8:   10\r\n"
                                  "            REF Area  9:   15\r\n"
                                  "            REF Area 10:   20\r\n"
                                  "            REF Area 11:   25\r\n"
                                  "            REF Area 12:   30\r\n"
                                  "            REF Area 13:   35\r\n"
                                  "            REF Area 14:   40\r\n"
                                  "            REF Area 15:   45\r\n"
                                  "            REF Area 16:   50\r\n"
                                  "            REF Area 17:   55\r\n"
                                  "            REF Area 18:   60\r\n"
                                  "            REF Area 19: 2345\r\n"
                                  "            REF Area 20: 1000\r\n"
                                  "         REF Initial  0:  255\r\n"
                                  "         REF Initial  1:  255\r\n"
                                  "         REF Initial  2:  255\r\n"
                                  "         REF Initial  3:  255\r\n"
                                  "         REF initial  4:  255\r\n"
                                  "         REF Initial  5:  255\r\n"
                                  "         REF Initial  6:  255\r\n"
                                  "         REF Initial  7:  255\r\n"
                                  "         REF Initial  8:  255\r\n"
                                  "         REF Initial  9:  255\r\n"
                                  "         REF Initial 10:  255\r\n"
                                  "         REF Initial 11:  255\r\n"
                                  "         REF Initial 12:  255\r\n"
                                  "         REF Initial 13:  255\r\n"
                                  "         REF Initial 14:  255\r\n"
                                  "         REF Initial 15:  255\r\n"
                                  "         REF Initial 16:  255\r\n"
                                  "         REF Initial 17:  255\r\n"
                                  "         REF Initial 18:  255\r\n"
                                  "         REF Initial 19:  255\r\n"
                                  "           REF Slant  0: -128\r\n"
                                  "           REF Slant  1:   -1\r\n"
                                  "           REF Slant  2:   -1\r\n"
                                  "           REF Slant  3:   -1\r\n"
                                  "           REF Slant  4:   -1\r\n"
                                  "           REF Slant  5:   -1\r\n"
                                  "           REF Slant  6:   -1\r\n"
                                  "           REF Slant  7:   -1\r\n"
                                  "           REF Slant  8:   -1\r\n"
                                  "           REF Slant  9:   -1\r\n"
                                  "           REF Slant 10:   -1\r\n"
                                  "           REF Slant 11:   -1\r\n"
                                  "           REF Slant 12:   -1\r\n"
                                  "           REF Slant 13:   -1\r\n"
                                  "           REF Slant 14:   -1\r\n"
                                  "           REF Slant 15:   -1\r\n"
                                  "           REF Slant 16:   -1\r\n"
                                  "           REF Slant 17:   -1\r\n"
                                  "           REF Slant 18:   -1\r\n"
                                  "           REF Slant 19:  127\r\n";

TEST(clsIndEep_RigK5Test, FullTextOfAnErasedAreaWithExtremeSlants) {
    clsCmcEeprom eep;
    for (std::int32_t adr = AreaFirst; adr <= AreaLast; ++adr) {
        eep.WriteByte(adr, 0xFF);
    }
    eep.WriteByte(0x7D4, 0x80); // slant 0
    eep.WriteByte(0x7E7, 0x7F); // slant 19

    const std::string text = clsIndEep_RigK5::RigEep_Text(eep, testBorder);
    EXPECT_EQ(text, ExpectedAllFF);

    const auto lines = splitCrLf(text);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(clsIndEep_RigK5::LineCount));
    for (const std::string& line : lines) {
        EXPECT_EQ(line.size(), 29u) << '"' << line << '"';
    }
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    // Asking twice without a change in the image gives the same text.
    EXPECT_EQ(clsIndEep_RigK5::RigEep_Text(eep, testBorder), text);
}

// Every byte of the area holds its own offset + 1, so a line that reads the wrong address
// shows the wrong number.
TEST(clsIndEep_RigK5Test, EachLineReadsItsOwnAddress) {
    clsCmcEeprom eep;
    for (std::int32_t adr = AreaFirst; adr <= AreaLast; ++adr) {
        eep.WriteByte(adr, adr - AreaFirst + 1);
    }
    const auto lines = splitCrLf(clsIndEep_RigK5::RigEep_Text(eep, testBorder));
    ASSERT_EQ(lines.size(), 79u);

    const std::pair<const char*, std::int32_t> levels[] = {
        {"POW HI Level", 0x7A9},      {"POW LOW Level", 0x7A8},     {"DTCS Bal Level", 0x7BC},
        {"MOD LV Level", 0x7AA},      {"MOD Level", 0x7AB},         {"SQL Level", 0x7BD},
        {"BPF LOW T1 Level", 0x7B0},  {"BPF LOW T2 Level", 0x7B1},  {"BPF LOW T3 Level", 0x7B2},
        {"BPF MID T1 Level", 0x7B3},  {"BPF MID T2 Level", 0x7B4},  {"BPF MID T3 Level", 0x7B5},
        {"BPF HIGH T1 Level", 0x7B6}, {"BPF HIGH T2 Level", 0x7B7}, {"BPF HIGH T3 Level", 0x7B8},
        {"SD S1 Level", 0x7B9},       {"SD S2 Level", 0x7BA},       {"SD S3 Level", 0x7BB}};
    for (std::size_t i = 0; i < std::size(levels); ++i) {
        const std::string name = levels[i].first;
        EXPECT_EQ(lines[i].substr(23 - name.size(), name.size()), name);
        EXPECT_EQ(std::stoi(lines[i].substr(25)), levels[i].second - AreaFirst + 1) << name;
    }
    for (int n = 0; n < 20; ++n) {
        EXPECT_EQ(std::stoi(lines[39 + n].substr(25)), 0x7C0 + n - AreaFirst + 1) << n;
        EXPECT_EQ(std::stoi(lines[59 + n].substr(25)), 0x7D4 + n - AreaFirst + 1) << n;
    }
    for (int n = 0; n < 19; ++n) {
        EXPECT_EQ(std::stoi(lines[18 + n].substr(25)), testBorder(static_cast<std::int16_t>(n)));
    }
}

TEST(clsIndEep_RigK5Test, NumberFormats) {
    EXPECT_EQ(clsIndEep_RigK5::RigEep_FormatUnsigned(7), "   7");
    EXPECT_EQ(clsIndEep_RigK5::RigEep_FormatUnsigned(255), " 255");
    EXPECT_EQ(clsIndEep_RigK5::RigEep_FormatUnsigned(-999), "-999");
    EXPECT_EQ(clsIndEep_RigK5::RigEep_FormatUnsigned(9999), "9999");
    EXPECT_EQ(clsIndEep_RigK5::RigEep_FormatUnsigned(-1000), "1000");
    EXPECT_EQ(clsIndEep_RigK5::RigEep_FormatSigned(200), " -56");
    EXPECT_EQ(clsIndEep_RigK5::RigEep_FormatSigned(255), "  -1");
    EXPECT_EQ(clsIndEep_RigK5::RigEep_FormatSigned(128), "-128");
    EXPECT_EQ(clsIndEep_RigK5::RigEep_FormatSigned(127), " 127");
    EXPECT_EQ(clsIndEep_RigK5::RigEep_FormatSigned(0), "   0");
}

TEST(clsIndEep_RigK5Test, DispParaReplacesTheWholeBox) {
    clsCmcEeprom eep;
    eep.WriteByte(0x7A9, 42);
    QPlainTextEdit box;
    box.setPlainText("readouts left from before\nsecond line");

    const clsIndEep_RigK5 dump;
    dump.RigEep_DispPara(&box, eep, testBorder);
    const QString first = box.toPlainText();
    EXPECT_FALSE(first.contains("readouts left from before"));
    EXPECT_TRUE(first.startsWith("           POW HI Level:   42"));
    EXPECT_EQ(first.count("Level:"), 18);

    eep.WriteByte(0x7A9, 43);
    dump.RigEep_DispPara(&box, eep, testBorder);
    const QString second = box.toPlainText();
    EXPECT_TRUE(second.startsWith("           POW HI Level:   43"));
    EXPECT_FALSE(second.contains("POW HI Level:   42"));
    EXPECT_EQ(second.count("REF Slant"), 20); // one dump, not two

    dump.RigEep_DispPara(nullptr, eep, testBorder); // no box: nothing to do, no crash
}

} // namespace
