#include "rehost/RemoveDuplicates.h"

#include <gtest/gtest.h>

namespace tuji {
namespace {

using List = std::vector<std::string>;

TEST(RemoveDuplicates, LastOccurrenceWinsInOrderOfLastOccurrences) {
    struct Case {
        List in, out;
    } cases[] = {
        {{}, {}},
        {{"a"}, {"a"}},
        {{"B", "A", "B"}, {"A", "B"}},
        {{"x", "x", "x"}, {"x"}},
        {{"a", "b", "a", "c", "b"}, {"a", "c", "b"}},
        // Exact bytes: neither case nor a leading slash makes two items equal.
        {{"a.jpg", "/a.jpg", "A.JPG", "a.jpg"}, {"/a.jpg", "A.JPG", "a.jpg"}},
        {{"", "a", ""}, {"a", ""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RemoveDuplicates(c.in), c.out);
}

TEST(RemoveDuplicates, KeySeparatorComparesOnlyTheKey) {
    EXPECT_EQ(RemoveDuplicates(List{"k1=a", "k2=b", "k1=c", "k3"}, "="),
              (List{"k2=b", "k1=c", "k3"}));
}

TEST(RemoveDuplicates, TextFormJoinsSurvivorsAndCountsThem) {
    DeduplicatedText r = RemoveDuplicates(std::string_view("B\r\nA\r\nB"));
    EXPECT_EQ(r.text, "A\r\nB");
    EXPECT_EQ(r.count, 2);

    r = RemoveDuplicates(std::string_view("a|b|a|c"), "|");
    EXPECT_EQ(r.text, "b|a|c");
    EXPECT_EQ(r.count, 3);

    r = RemoveDuplicates(std::string_view("x:1,y:2,x:3"), ",", ":");
    EXPECT_EQ(r.text, "y:2,x:3");
    EXPECT_EQ(r.count, 2);

    r = RemoveDuplicates(std::string_view("only"));
    EXPECT_EQ(r.text, "only");
    EXPECT_EQ(r.count, 1);
}

TEST(RemoveDuplicates, TenThousandItemsAtOnce) {
    List items;
    for (int i = 0; i < 20000; ++i)
        items.push_back("/img/" + std::to_string(i % 10000) + ".jpg");
    List out = RemoveDuplicates(items);
    ASSERT_EQ(out.size(), 10000u);
    EXPECT_EQ(out.front(), "/img/0.jpg");
    EXPECT_EQ(out.back(), "/img/9999.jpg");
}

} // namespace
} // namespace tuji
