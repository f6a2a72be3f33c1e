// Typed settings values: round trips, defaults, empty values, trailing blanks and values that
// do not convert.
#include "app/common/clsCmcProfileIO.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using testsupport::TempDir;

namespace {

class ProfileIOTest : public ::testing::Test {
protected:
    ProfileIOTest() {
        profile.setPath(dir.path());
        profile.setName("VSK5ALN.ini");
        profile.setSection("OPTION");
    }

    void store(const std::string& text) { dir.writeFile("VSK5ALN.ini", "[OPTION]\n" + text); }

    TempDir dir;
    clsCmcProfileIO profile;
};

template <typename T> T roundTrip(clsCmcProfileIO& profile, const std::string& key, T value) {
    EXPECT_TRUE(profile.saveData(key, value));
    T loaded{};
    EXPECT_TRUE(profile.loadData(key, loaded));
    return loaded;
}

} // namespace

TEST_F(ProfileIOTest, EveryTypeRoundTrips) {
    EXPECT_EQ(roundTrip<std::int16_t>(profile, "i16", -32768), -32768);
    EXPECT_EQ(roundTrip<std::int32_t>(profile, "MR-3(Frequency)", 14452500), 14452500);
    EXPECT_EQ(roundTrip<float>(profile, "f", 0.015f), 0.015f);
    EXPECT_EQ(roundTrip<double>(profile, "d", 1.0 / 3.0), 1.0 / 3.0);
    EXPECT_EQ(roundTrip<std::uint8_t>(profile, "b", 255), 255);
    EXPECT_EQ(roundTrip<std::string>(profile, "s", "COM text"), "COM text");
    EXPECT_TRUE(roundTrip<bool>(profile, "t", true));
    EXPECT_FALSE(roundTrip<bool>(profile, "f0", false));
    const QDateTime when(QDate(2026, 12, 6), QTime(8, 5, 9));
    EXPECT_EQ(roundTrip<QDateTime>(profile, "when", when), when);
    EXPECT_EQ(dir.readFile("VSK5ALN.ini").find("when=2026.12.06-08:05:09") != std::string::npos,
              true);
}

TEST_F(ProfileIOTest, BooleansStoreOneAndZeroAndOnlyZeroIsFalse) {
    profile.saveData("Flag", true);
    EXPECT_NE(dir.readFile("VSK5ALN.ini").find("Flag=1"), std::string::npos);
    store("A=yes\nB=0\nC=-1\n");
    bool a = false, b = true, c = false;
    EXPECT_TRUE(profile.loadData("A", a));
    EXPECT_TRUE(profile.loadData("B", b));
    EXPECT_TRUE(profile.loadData("C", c));
    EXPECT_TRUE(a);
    EXPECT_FALSE(b);
    EXPECT_TRUE(c);
}

TEST_F(ProfileIOTest, MissingKeyTakesTheDefault) {
    std::int16_t port = 7;
    EXPECT_TRUE(profile.loadData("ComPort", port, std::int16_t{1}));
    EXPECT_EQ(port, 1);
    std::int32_t freq = 14500000; // without a default the current value is the default
    EXPECT_TRUE(profile.loadData("MR-1(Frequency)", freq));
    EXPECT_EQ(freq, 14500000);
}

TEST_F(ProfileIOTest, EmptyValueLeavesVariableAndReportsFalse) {
    std::string text = "kept";
    EXPECT_FALSE(profile.loadData("Missing", text, std::string()));
    EXPECT_EQ(text, "kept");
    store("Empty=\n");
    std::int16_t n = 5;
    EXPECT_FALSE(profile.loadData("Empty", n, std::int16_t{9}));
    EXPECT_EQ(n, 5);
}

TEST_F(ProfileIOTest, FailedConversionLeavesVariableUnchanged) {
    store("Word=abc\nBig=70000\nByte=256\nDate=2026.13.01-00:00:00\nShort=2026.12.06\n"
          "Blanks=42   \nHalf=12.5\nHex=&H1F\n");
    std::int16_t word = 3, big = 4, blanks = 0, half = 0, hex = 0;
    std::uint8_t byte = 6;
    const QDateTime original(QDate(2000, 1, 1), QTime(0, 0, 0));
    QDateTime date = original, shortDate = original;
    EXPECT_FALSE(profile.loadData("Word", word));
    EXPECT_FALSE(profile.loadData("Big", big));
    EXPECT_FALSE(profile.loadData("Byte", byte));
    EXPECT_FALSE(profile.loadData("Date", date));
    EXPECT_TRUE(profile.loadData("Short", shortDate)); // another length is ignored, not an error
    EXPECT_TRUE(profile.loadData("Blanks", blanks));
    EXPECT_TRUE(profile.loadData("Half", half));
    EXPECT_TRUE(profile.loadData("Hex", hex));
    EXPECT_EQ(word, 3);
    EXPECT_EQ(big, 4);
    EXPECT_EQ(byte, 6);
    EXPECT_EQ(date, original);
    EXPECT_EQ(shortDate, original);
    EXPECT_EQ(blanks, 42);
    EXPECT_EQ(half, 12);
    EXPECT_EQ(hex, 31);
}

TEST_F(ProfileIOTest, LongValueIsCutTo254Characters) {
    store("Long=" + std::string(300, 'x') + "\n");
    std::string text;
    EXPECT_TRUE(profile.loadData("Long", text));
    EXPECT_EQ(text.size(), 254u);
}

TEST_F(ProfileIOTest, StripTerminatorCutsAtTheFirstNul) {
    EXPECT_EQ(clsCmcProfileIO::StripTerminator(std::string("abc\0def", 7)), "abc");
    EXPECT_EQ(clsCmcProfileIO::StripTerminator("whole"), "whole");
}

TEST_F(ProfileIOTest, CurrentPathIsTheProgramFolderWithOneSeparator) {
    clsCmcProfileIO fresh;
    EXPECT_EQ(fresh.Name(), "Profile.INI");
    fresh.SetCurrentPath();
    ASSERT_FALSE(fresh.Path().empty());
    EXPECT_EQ(fresh.Path().back(), '/');
    EXPECT_NE(fresh.Path().substr(fresh.Path().size() - 2), "//");
    EXPECT_EQ(fresh.GetMyProfile(), fresh.Path() + "Profile.INI");
}
