#include "regex/PatternText.h"

#include "regex/RegexObject.h"
#include "text/Encoding.h"

#include <gtest/gtest.h>

namespace tuji {
namespace {

struct PatternCase {
    std::string in, wildcard, escaped, keepBar;
};

TEST(PatternText, EscapesAndWildcards) {
    const PatternCase cases[] = {
        {"*.jpg|*.png", ".*\\.jpg|.*\\.png", "\\*\\.jpg\\|\\*\\.png", "\\*\\.jpg|\\*\\.png"},
        {"a?b", "a.?b", "a\\?b", "a\\?b"},
        {"x=(1)", "x\\=\\(1\\)", "x\\=\\(1\\)", "x\\=\\(1\\)"},
        // The backslash is doubled before the others get theirs.
        {"a\\.b", "a\\\\\\.b", "a\\\\\\.b", "a\\\\\\.b"},
        {"^$+{}[]\"", "\\^\\$\\+\\{\\}\\[\\]\\\"", "\\^\\$\\+\\{\\}\\[\\]\\\"",
         "\\^\\$\\+\\{\\}\\[\\]\\\""},
        {"", "", "", ""},
        // 乗 is 81 5C: its trail byte is no backslash.
        {T("乗*"), T("乗.*"), T("乗\\*"), T("乗\\*")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WildcardToPattern(c.in), c.wildcard) << c.in;
        EXPECT_EQ(EscapePattern(c.in), c.escaped) << c.in;
        EXPECT_EQ(EscapePatternKeepAlternation(c.in), c.keepBar) << c.in;
        EXPECT_EQ(RegexObject::WildcardToPattern(c.in), c.wildcard);
    }
}

TEST(PatternText, WildcardPatternsMatchAsUsersExpect) {
    struct {
        std::string wildcard, subject;
        bool matches;
    } cases[] = {
        {"a?b", "ab", true}, // ? is at most one character
        {"a?b", "axb", true},
        {"a?b", "axxb", false},
        {"*.jpg", "PHOTO.JPG", true}, // case ignored
        {"*.jpg", "x.jpg.txt", true}, // not anchored
        {"*.jpg|*.png", "a.png", true},
        {"x=(1)", "x=(1)", true},
        {T("乗"), T("乗"), true},
        {T("乗*"), T("乗车"), true},
    };
    for (const auto& c : cases) {
        RegexObject re;
        re.SetPattern(RegexObject::WildcardToPattern(c.wildcard));
        EXPECT_EQ(re.Execute(c.subject) > 0, c.matches) << c.wildcard << " on " << c.subject;
    }
}

TEST(PatternText, EscapedTextMatchesItselfOnly) {
    const std::string texts[] = {"http://a.com/x?y=1&z=(2)|[3]", "a\\b.c*d+e^f$g", T("图片/猫.jpg"),
                                 "\xE5\x9B\xBE\xE7\x89\x87.jpg"};
    for (const auto& t : texts) {
        RegexObject re;
        re.SetPattern(RegexObject::EscapePattern(t));
        ASSERT_EQ(re.Execute("<" + t + ">" + t), 2) << t;
        EXPECT_EQ(re.MatchText(1), t);
        EXPECT_EQ(re.SubMatchPosition(1, 0), 2);
    }
}

} // namespace
} // namespace tuji
