#include "text/TextOps.h"

#include "text/Encoding.h"

#include <gtest/gtest.h>

using namespace tuji;

namespace {
// 乗 81 5C, 亅 81 7C, 乕 81 5B: their trail bytes are "\", "|" and "[".
const std::string kJou = "\x81\x5C", kKetsu = "\x81\x7C", kKo = "\x81\x5B";
} // namespace

TEST(TextOps, NeverMatchesATrailByte) {
    EXPECT_EQ(FindText(kJou, "\\"), -1);
    EXPECT_EQ(FindText(kJou + "\\", "\\"), 3);
    EXPECT_EQ(FindText(kKetsu + "|" + kKetsu, "|"), 3);
    EXPECT_EQ(FindLastText("a\\" + kJou, "\\"), 2);
    EXPECT_EQ(FindText(kKo + "[", "["), 3);
    EXPECT_EQ(SplitText("a" + kKetsu + "|b", "|"), (std::vector<std::string>{"a" + kKetsu, "b"}));
    EXPECT_EQ(ReplaceText(kJou + "\\", "\\", "/"), kJou + "/");
    EXPECT_FALSE(EndsWithText(kJou, "\\"));
}

TEST(TextOps, FourByteSequencesAreOneCharacter) {
    // 𠀀 (U+20000) is 95 32 82 36: it holds "2" and "6" as its second and fourth bytes.
    const std::string cjkExtB = "\x95\x32\x82\x36";
    EXPECT_EQ(FindText(cjkExtB, "2"), -1);
    EXPECT_EQ(FindText(cjkExtB + "2", "2"), 5);
    EXPECT_EQ(FindText("x" + cjkExtB, cjkExtB), 2);
}

// A lead byte whose next bytes cannot complete a character (raw UTF-8 read
// as program text, a cut-off value) stands alone: the line ends, quotes and
// angle brackets after it are still found.
TEST(TextOps, StrayLeadBytesSwallowNoStructure) {
    const std::string zhong = "\xE4\xB8\xAD"; // 中 in UTF-8: three bytes, odd for pairs
    EXPECT_EQ(FindText(zhong + "\r\na=1", "\r\na="), 4);
    EXPECT_EQ(FindText(zhong + "<img src=x>", "<img"), 4);
    EXPECT_EQ(FindText(zhong + "\"x", "\""), 4);
    EXPECT_EQ(FindText(zhong + "123", "23"), 5); // not a four-byte shape
    // Real characters keep their trail bytes, whatever they look like.
    EXPECT_EQ(FindText(kJou + "\x95\x32\x82\x36", "2"), -1);
}

TEST(TextOps, FindPositionsAndCase) {
    EXPECT_EQ(FindText("abcabc", "c"), 3);
    EXPECT_EQ(FindText("abcabc", "c", 4), 6);
    EXPECT_EQ(FindText("abc", "C"), -1);
    EXPECT_EQ(FindText("abc", "C", 1, Case::Ignore), 3);
    EXPECT_EQ(FindText("", "a"), -1);
    EXPECT_EQ(FindText("abc", "", 2), 2);
    EXPECT_EQ(FindLastText("a.b.c", "."), 4);
    // A trail byte that is a letter is not folded: 81 41 vs 81 61 differ.
    EXPECT_EQ(FindText("\x81\x41", "\x81\x61", 1, Case::Ignore), -1);
    EXPECT_EQ(LowerAscii("AB\x81\x41"), "ab\x81\x41");
}

TEST(TextOps, ReplaceAndSplit) {
    EXPECT_EQ(ReplaceText("aaaa", "aa", "b"), "bb");
    EXPECT_EQ(ReplaceText("a-a-a", "-", "+", 1), "a+a-a");
    EXPECT_EQ(ReplaceText("AbAb", "ab", "x", 0, Case::Ignore), "xx");
    EXPECT_EQ(SplitText("a||b|", "|"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(SplitText("", "|").empty());
    EXPECT_EQ(SplitText("|", "|"), (std::vector<std::string>{""}));
    EXPECT_EQ(SplitText("a\r\n\r\nb\r\n", "\r\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(JoinText({"a", "", "b"}, ","), "a,,b");
    EXPECT_EQ(MidText("abcdef", 2, 3), "bcd");
    EXPECT_EQ(TextBeforeZero(std::string_view("ab\0cd", 5)), "ab");
}
