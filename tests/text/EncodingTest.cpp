#include "text/Encoding.h"

#include <gtest/gtest.h>

using namespace tuji;

TEST(Encoding, RoundTripsGbkAndFourByteCharacters) {
    // 猫 is GBK C3 A8; 😀 (U+1F600) needs the four-byte form 94 39 FC 36.
    auto text = Utf8ToText("猫😀a");
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, std::string("\xC3\xA8\x94\x39\xFC\x36"
                                 "a"));
    EXPECT_EQ(TextToUtf8(*text).value(), "猫😀a");
    EXPECT_EQ(FromQString(ToQString(*text)), *text);
}

TEST(Encoding, InvalidOrIncompleteInputFailsWhole) {
    EXPECT_FALSE(Utf8ToText("ok\xE7\x8C")); // incomplete
    EXPECT_FALSE(Utf8ToText("ok\xFFok"));   // invalid
    EXPECT_FALSE(TextToUtf8("\xC3"));       // lead byte alone
    EXPECT_EQ(Utf8ToText("").value(), "");
    EXPECT_EQ(TextToUtf8Lenient("a\xC3"), "a\xEF\xBF\xBD");
}

TEST(Encoding, LiteralHelperGivesProgramText) {
    EXPECT_EQ(T("保存"), std::string("\xB1\xA3\xB4\xE6"));
    EXPECT_TRUE(IsValidUtf8("保存"));
    EXPECT_FALSE(IsValidUtf8("\xB1\xA3"));
}
