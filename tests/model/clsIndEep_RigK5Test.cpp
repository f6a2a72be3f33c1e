// SPDX-License-Identifier: GPL-3.0-or-later
// The adjustment dump: exact labels, values and line layout, and the field behind each line.
#include "model/clsIndEep_RigK5.h"
#include "link/clsCmcEeprom.h"
#include "model/TxfTable.h"

#include <gtest/gtest.h>

// clang-format off
const char* const ExpectedAllFF[] = {
"           POW HI Level:  255", "          POW LOW Level:  255", "         DTCS Bal Level:  255",
"           MOD LV Level:  255", "              MOD Level:  255", "              SQL Level:  255",
"       BPF LOW T1 Level:  255", "       BPF LOW T2 Level:  255", "       BPF LOW T3 Level:  255",
"       BPF MID T1 Level:  255", "       BPF MID T2 Level:  255", "       BPF MID T3 Level:  255",
"      BPF HIGH T1 Level:  255", "      BPF HIGH T2 Level:  255", "      BPF HIGH T3 Level:  255",
"            SD S1 Level:  255", "            SD S2 Level:  255", "            SD S3 Level:  255",
"            REF Area  0:    0", "            REF Area  1:   16", "            REF Area  2:   24",
"            REF Area  3:   32", "            REF Area  4:   40", "            REF Area  5:   48",
"            REF Area  6:   64", "            REF Area  7:   80", "            REF Area  8:   96",
"            REF Area  9:  112", "            REF Area 10:  128", "            REF Area 11:  144",
"            REF Area 12:  160", "            REF Area 13:  176", "            REF Area 14:  192",
"            REF Area 15:  208", "            REF Area 16:  216", "            REF Area 17:  224",
"            REF Area 18:  232", "            REF Area 19:  240", "            REF Area 20:  255",
"         REF Initial  0:  255", "         REF Initial  1:  255", "         REF Initial  2:  255",
"         REF Initial  3:  255", "         REF initial  4:  255", "         REF Initial  5:  255",
"         REF Initial  6:  255", "         REF Initial  7:  255", "         REF Initial  8:  255",
"         REF Initial  9:  255", "         REF Initial 10:  255", "         REF Initial 11:  255",
"         REF Initial 12:  255", "         REF Initial 13:  255", "         REF Initial 14:  255",
"         REF Initial 15:  255", "         REF Initial 16:  255", "         REF Initial 17:  255",
"         REF Initial 18:  255", "         REF Initial 19:  255", "           REF Slant  0: -128",
"           REF Slant  1:   -1", "           REF Slant  2:   -1", "           REF Slant  3:   -1",
"           REF Slant  4:   -1", "           REF Slant  5:   -1", "           REF Slant  6:   -1",
"           REF Slant  7:   -1", "           REF Slant  8:   -1", "           REF Slant  9:   -1",
"           REF Slant 10:   -1", "           REF Slant 11:   -1", "           REF Slant 12:   -1",
"           REF Slant 13:   -1", "           REF Slant 14:   -1", "           REF Slant 15:   -1",
"           REF Slant 16:   -1", "           REF Slant 17:   -1", "           REF Slant 18:   -1",
"           REF Slant 19:  127",
};
// clang-format on

TEST(clsIndEep_RigK5Test, FullTextOfAnErasedAreaWithExtremeSlants) {
    clsCmcEeprom eep;
    for (std::int32_t adr = 0x7A8; adr <= 0x7E7; ++adr) {
        eep.WriteByte(adr, 0xFF);
    }
    eep.WriteByte(0x7D4, 0x80); // slant 0
    eep.WriteByte(0x7E7, 0x7F); // slant 19
    std::string expected;
    for (const std::string line : ExpectedAllFF) {
        ASSERT_EQ(line.size(), 29u) << line; // and CR LF
        expected += line + "\r\n";
    }
    ASSERT_EQ(std::size(ExpectedAllFF), static_cast<std::size_t>(clsIndEep_RigK5::LineCount));
    const TxfTable table;
    EXPECT_EQ(clsIndEep_RigK5::RigEep_Text(eep, table), expected);
    EXPECT_EQ(clsIndEep_RigK5::RigEep_Text(eep, table), expected); // the same once more
    // Values wider than four characters show their last four.
    EXPECT_EQ(clsIndEep_RigK5::RigEep_FormatUnsigned(-1000), "1000");
    EXPECT_EQ(clsIndEep_RigK5::RigEep_FormatSigned(200), " -56");
}
