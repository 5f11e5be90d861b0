#include "regex/RegexFilter.h"

#include <gtest/gtest.h>

namespace tuji {
namespace {

TEST(RegexFilter, CreateExecuteRelease) {
    RegexFilter f;
    EXPECT_EQ(f.GetPattern(), "");
    EXPECT_EQ(f.Execute("a.jpg"), 0); // no engine yet
    ASSERT_TRUE(f.Create(".*\\.jpg|.*\\.png"));
    EXPECT_EQ(f.GetPattern(), ".*\\.jpg|.*\\.png");
    EXPECT_EQ(f.Execute("B.PNG"), 1);
    EXPECT_EQ(f.Execute("x.jpg.txt"), 1);
    EXPECT_EQ(f.Execute("x.gif"), 0);
    f.Release();
    EXPECT_EQ(f.GetPattern(), "");
    EXPECT_EQ(f.Execute("a.jpg"), 0);
}

TEST(RegexFilter, SubMatchesStartAtOne) {
    RegexFilter f;
    ASSERT_TRUE(f.Create("(\\w+)\\.(\\w+)"));
    ASSERT_EQ(f.Execute("a.jpg b.png"), 2);
    EXPECT_EQ(f.SubMatchCount(), 2);
    EXPECT_EQ(f.MatchText(2), "b.png");
    EXPECT_EQ(f.SubMatchText(2, 0), "");
    EXPECT_EQ(f.SubMatchText(2, 2), "png");
    EXPECT_EQ(f.Replace("a.jpg", "$2.$1"), "jpg.a");
}

TEST(RegexFilter, OptionsAndRejection) {
    RegexFilter f;
    ASSERT_TRUE(f.Create("abc", false));
    EXPECT_EQ(f.Execute("ABC"), 0);
    EXPECT_FALSE(f.Create("[abc"));
    EXPECT_EQ(f.GetPattern(), "[abc");
    EXPECT_EQ(f.Execute("[abc"), 0);
    EXPECT_EQ(f.Replace("[abc", "x"), "");
    ASSERT_TRUE(f.Create("")); // an empty pattern matches everywhere
    EXPECT_EQ(f.Execute("ab"), 3);
}

} // namespace
} // namespace tuji
