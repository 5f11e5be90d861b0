#include "regex/RegexObject.h"

#include "text/Encoding.h"

#include <gtest/gtest.h>

namespace tuji {
namespace {

const std::string kImageTag = "<img .*?src=(\"|'|)([^\"'<> ]+)(\"|'|).*?>";

int Count(const std::string& pattern, const std::string& subject, bool ignoreCase = true,
          bool multiLine = true, bool global = true) {
    RegexObject re;
    re.SetPattern(pattern, ignoreCase, multiLine, global);
    return re.Execute(subject);
}

TEST(RegexObject, DialectTable) {
    struct {
        std::string pattern, subject;
        int count;
    } cases[] = {
        {".*\\.jpg", "PHOTO.JPG", 1}, // ignore case by default
        {"a.b", "a\nb", 0},           // "." takes no line break
        {"a.b", "a\rb", 0},
        {"a.b",
         "a\xE2\x80\xA8"
         "b",
         0}, // nor U+2028
        {"a.b", "a\tb", 1},
        {"a[\\s\\S]b", "a\nb", 1},
        {"a\\sb",
         "a\xE3\x80\x80"
         "b",
         1}, // U+3000 is white space
        {"a\\sb",
         "a\xC2\xA0"
         "b",
         1}, // so is U+00A0
        {"a\\Sb",
         "a\xE3\x80\x80"
         "b",
         0},
        {"a[^\\s]b",
         "a\xC2\xA0"
         "b",
         0},
        {"a\\vb",
         "a\x0B"
         "b",
         1}, // \v is the vertical tab
        {"a\\vb", "a\nb", 0},
        {"\\A", "A", 1},           // no escape of its own: a letter
        {"[[:alpha:]]", "[:]", 1}, // "[" in a class is a character
        {"[[:alpha:]]", "x", 0},
        {"a[]b", "ab", 0},    // an empty class never matches
        {"a[^]b", "a\nb", 1}, // and its negation takes anything
        {"(x)?\\1y", "y", 1}, // an unset group matches empty
        {"(\"|'|)q", "q", 1}, // empty alternative
        {"a$", "a\nb", 1},    // multi-line by default
        {"\\u0041", "A", 1},
        {"\\x41", "A", 1},
        {"a{", "a{", 1},
        {"(", "(", 0}, // rejected
    };
    for (const auto& c : cases)
        EXPECT_EQ(Count(c.pattern, c.subject), c.count) << c.pattern << " on " << c.subject;
}

TEST(RegexObject, OptionsApply) {
    EXPECT_EQ(Count("abc", "ABC", false), 0);
    EXPECT_EQ(Count("a$", "a\nb", true, false), 0);
    EXPECT_EQ(Count("a$", "ba", true, false), 1);
    EXPECT_EQ(Count("a", "aaa", true, true, false), 1);
    EXPECT_EQ(Count("a", "aaa"), 3);
    // After an empty match the search goes on one character later.
    EXPECT_EQ(Count("a*?", "aaa"), 4);
    EXPECT_EQ(Count("a*", "baaa"), 3);
}

TEST(RegexObject, ImageTagPattern) {
    struct {
        std::string article;
        std::vector<std::string> addresses;
    } cases[] = {
        {"<IMG SRC=/pics/a.jpg>", {"/pics/a.jpg"}},
        {"<p><img src=\"a.jpg\" alt=x><img class='c' src='b.png'/></p>", {"a.jpg", "b.png"}},
        {"<img data-src=\"lazy.jpg\" src=\"real.jpg\">", {"lazy.jpg"}},
        {"<img src = \"a.jpg\">", {}},
        {"<img\nsrc=\"a.jpg\">", {}},
        {"<img alt=x\nsrc=\"a.jpg\">", {}},
        {"<img src=\"a.jpg\"\n>", {}},
        {"no tags at all", {}},
    };
    for (const auto& c : cases) {
        RegexObject re;
        re.SetPattern(kImageTag);
        ASSERT_EQ(re.Execute(c.article), int(c.addresses.size())) << c.article;
        for (size_t i = 0; i < c.addresses.size(); ++i)
            EXPECT_EQ(re.SubMatchText(int(i) + 1, 2), c.addresses[i]) << c.article;
    }
}

TEST(RegexObject, SubMatches) {
    RegexObject re;
    re.SetPattern("(a)(x)?(b)");
    ASSERT_EQ(re.Execute("ab-AB"), 2);
    EXPECT_EQ(re.SubMatchCount(), 3);
    EXPECT_EQ(re.SubMatchText(2, 0), re.MatchText(2));
    EXPECT_EQ(re.SubMatchText(2, 0), "AB");
    EXPECT_EQ(re.SubMatchText(1, 3), "b");
    EXPECT_EQ(re.SubMatchText(1, 2), ""); // did not take part
    EXPECT_EQ(re.SubMatchPosition(1, 2), -1);
    EXPECT_EQ(re.SubMatchPosition(2, 3), 5);
    EXPECT_EQ(re.SubMatchText(3, 1), ""); // out of range
    EXPECT_EQ(re.SubMatchText(1, 4), "");
    EXPECT_EQ(re.MatchText(0), "");
    EXPECT_EQ(re.Execute("zzz"), 0);
    EXPECT_EQ(re.SubMatchCount(), 0);
    EXPECT_EQ(re.MatchText(1), "");
}

TEST(RegexObject, Replace) {
    RegexObject re;
    re.SetPattern("<[\\s\\S]+?>");
    EXPECT_EQ(re.Replace(T("<em>猫</em>咪")), T("猫咪"));
    EXPECT_EQ(re.Replace("a<b\nclass=x>c</b>"), "ac");
    re.SetPattern("(\\w+)@(\\w+)");
    EXPECT_EQ(re.Replace("x a@b y c@d", "$2#$1[$&]$$$3$0"), "x b#a[a@b]$$3$0 y d#c[c@d]$$3$0");
    EXPECT_EQ(re.Replace("a@b", "<$`|$'>"), "<|>");
    re.SetPattern("o", true, true, false);
    EXPECT_EQ(re.Replace("foo", "0"), "f0o");
    // Replace leaves the stored matches alone.
    re.SetPattern("o");
    ASSERT_EQ(re.Execute("oo"), 2);
    re.Replace("ooo", "x");
    EXPECT_EQ(re.MatchCount(), 2);
}

TEST(RegexObject, SetPatternKeepsOldPatternWhenEmpty) {
    RegexObject re;
    EXPECT_EQ(re.GetPattern(), "");
    EXPECT_TRUE(re.SetPattern("abc"));
    EXPECT_EQ(re.Execute("ABC"), 1);
    EXPECT_TRUE(re.SetPattern("", false));
    EXPECT_EQ(re.GetPattern(), "abc");
    EXPECT_EQ(re.Execute("ABC"), 0); // the new options hold
    EXPECT_EQ(re.Execute("abc"), 1);
    EXPECT_TRUE(re.SetPattern("abc", false));
    EXPECT_EQ(re.Execute("abc"), 1);
}

TEST(RegexObject, RejectedPatternFailsQuietly) {
    RegexObject re;
    EXPECT_TRUE(re.SetPattern("a(b"));
    EXPECT_EQ(re.GetPattern(), "a(b");
    EXPECT_EQ(re.Execute("a(b"), 0);
    EXPECT_EQ(re.MatchCount(), 0);
    EXPECT_EQ(re.SubMatchCount(), 0);
    EXPECT_EQ(re.MatchText(1), "");
    EXPECT_EQ(re.Replace("a(b", "x"), "");
    // A good pattern afterwards works again.
    re.SetPattern("b");
    EXPECT_EQ(re.Execute("a(b"), 1);
}

TEST(RegexObject, RunawayMatchGivesUpQuietly) {
    RegexObject re;
    // Exponential backtracking: without a step limit this would not end.
    re.SetPattern("(x+x+)+[yz]");
    const std::string xs(5000, 'x');
    EXPECT_EQ(re.Execute(xs), 0);
    EXPECT_EQ(re.Replace(xs, "z"), "");
    EXPECT_EQ(re.Execute(xs + "y"), 1);
}

} // namespace
} // namespace tuji
