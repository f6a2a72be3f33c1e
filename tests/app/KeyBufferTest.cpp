// The key buffer of the cmd00 buttons and the channel dialog's OK button.
#include "app/common/KeyBuffer.h"

#include <gtest/gtest.h>

#include <cctype>

namespace {

TEST(KeyBufferTest, EachCharacterShiftedUpAndUpperCased) {
    EXPECT_EQ(KeyBuffer::Encode('a'), 'B');
    EXPECT_EQ(KeyBuffer::Encode('Z'), '[');
    EXPECT_EQ(KeyBuffer::Encode('`'), 'A'); // shifted into a lower-case letter first
    EXPECT_EQ(KeyBuffer::Encode('0'), '1');
    EXPECT_EQ(KeyBuffer::Encode(' '), '!');
    EXPECT_EQ(KeyBuffer::Decode("Ifmmp!"), "Hello ");
}

TEST(KeyBufferTest, KeepsOnlyTheLastCharacters) {
    KeyBuffer kb;
    EXPECT_FALSE(kb.Feed("abcdefghijklmnopq"));
    EXPECT_EQ(kb.contents().size(), KeyBuffer::CodeLength);
    EXPECT_EQ(kb.contents(), "FGHIJKLMNOPQR"); // the last 13, each one higher
}

TEST(KeyBufferTest, MatchAfterAnyPrefixGivesTheDecodedText) {
    KeyBuffer kb("BCD", "Ifmmp");
    EXPECT_FALSE(kb.Feed("xx"));
    EXPECT_FALSE(kb.Feed("a"));
    EXPECT_FALSE(kb.Feed("b"));
    const auto text = kb.Feed("c");
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "Hello");
    // Case does not matter for letters: A..C typed give the same buffer.
    KeyBuffer upper("BCD", "Ifmmp");
    EXPECT_TRUE(upper.Feed("zzABC"));
    // A wrong last key does not match, and the match comes again once typed anew.
    EXPECT_FALSE(kb.Feed("d"));
    EXPECT_TRUE(kb.Feed("abc"));
}

TEST(KeyBufferTest, MatchInTheMiddleOfOneFeedIsReported) {
    KeyBuffer kb("BCD", "Ifmmp");
    EXPECT_TRUE(kb.Feed("abcxyz"));
}

TEST(KeyBufferTest, ProgramCodeGivesASixteenCharacterCaption) {
    // The code as stored (shifted); typing it back means lowering each character by one.
    const std::string stored = "TFSWJDFCFODI2";
    std::string typed;
    for (char c : stored) {
        typed += static_cast<char>(std::tolower(static_cast<unsigned char>(c - 1)));
    }
    KeyBuffer kb;
    EXPECT_FALSE(kb.Feed(typed.substr(0, typed.size() - 1)));
    const auto caption = kb.Feed(typed.substr(typed.size() - 1));
    ASSERT_TRUE(caption);
    EXPECT_EQ(caption->size(), 16u);
    for (char c : *caption) {
        EXPECT_TRUE(std::isprint(static_cast<unsigned char>(c))) << int(c);
    }
}

} // namespace
