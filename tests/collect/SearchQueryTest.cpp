#include "collect/SearchQuery.h"

#include "app/Wait.h"
#include "collect/ResultPaging.h"
#include "collect/ScriptUnescape.h"
#include "collect/SearchResults.h"
#include "regex/RegexObject.h"
#include "text/Encoding.h"
#include "text/TextOps.h"

#include <gtest/gtest.h>

namespace tuji {
namespace {

std::string QueryOf(const std::string& address) {
    return MidText(address, FindText(address, "?") + 1);
}

TEST(BuildSearchAddress, KeyOrderAndChoiceValues) {
    const std::string cat = T("猫");
    std::string first = BuildSearchAddress("https://image.so.com", cat, 0, T("全部颜色"), 0, 0);
    EXPECT_EQ(first, "https://image.so.com/j?q=%E7%8C%AB&src=srp&t=0&color=&zoom=0&sn=0&pn=30");
    EXPECT_EQ(QueryOf(BuildSearchAddress("http://h/", cat, 0, T("全部颜色"), 0, 60)),
              "q=%E7%8C%AB&src=srp&t=0&color=&zoom=0&sn=60&pn=30");
    EXPECT_EQ(QueryOf(BuildSearchAddress("http://h", "a b", 1, T("青色(grass)"), 4, 30)),
              "q=a%20b&src=srp&t=d&color=grass&zoom=4&sn=30&pn=30");
    EXPECT_EQ(QueryOf(BuildSearchAddress("http://h", "x", 2, T("黑白(bandw)"), 2, 0)),
              "q=x&src=srp&t=s&color=bandw&zoom=2&sn=0&pn=30");
    // A type outside the list counts as all types.
    EXPECT_EQ(QueryOf(BuildSearchAddress("http://h", "x", 7, "", 0, 0)),
              "q=x&src=srp&t=0&color=&zoom=0&sn=0&pn=30");
}

TEST(UrlEncode, Cases) {
    struct Case {
        const char* text;
        bool utf8, keep, every;
        const char* expected;
    } cases[] = {
        {"a b.c", true, false, false, "a%20b.c"},
        {"x_y-z.~+/&=", true, false, false, "x_y-z.%7E%2B%2F%26%3D"},
        {"k&v=1", true, true, false, "k&v=1"},
        {"a.b", false, false, true, "%61%2E%62"},
        {"猫", true, false, false, "%E7%8C%AB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UrlEncode(T(c.text), c.utf8, c.keep, c.every), c.expected) << c.text;
    // Without UTF-8 the program text's own (GBK) bytes are encoded.
    EXPECT_EQ(UrlEncode(T("猫"), false), "%C3%A8");
}

TEST(ChoiceItems, FormOrder) {
    EXPECT_EQ(SizeChoiceItems().size(), 5u);
    EXPECT_EQ(TypeChoiceItems().at(1), T("动态类型"));
    ASSERT_EQ(ColourChoiceItems().size(), 13u);
    EXPECT_EQ(ColourChoiceItems().back(), T("黑白(bandw)"));
}

TEST(ResultParsing, HitsAfterTheListMarker) {
    std::string page = R"({"total":2,"LIST":[{"img":"http:\/\/a.b\/c.jpg","title":"t1"},)"
                       R"({"title":"t2","img":"http://d/e.png"}],"x":null})";
    int cursor = FindListPosition(page);
    EXPECT_GT(cursor, 1); // the marker in upper case is found too
    std::string hit = NextResultItem(page, cursor);
    EXPECT_EQ(ItemImageAddress(hit), "http://a.b/c.jpg");
    EXPECT_EQ(ItemImageAddress(NextResultItem(page, cursor)), "http://d/e.png");
    EXPECT_EQ(NextResultItem(page, cursor), "");
}

TEST(ResultParsing, EmptyListTakesLaterObjectsAsHits) {
    std::string page = R"({"list":[],"boxresult":{"a":1},"more":{"img":"x"}})";
    int cursor = FindListPosition(page);
    std::string first = NextResultItem(page, cursor);
    EXPECT_EQ(first, R"("a":1)");
    EXPECT_EQ(ItemImageAddress(first), "");
    EXPECT_EQ(ItemImageAddress(NextResultItem(page, cursor)), "x");
    // Without a marker the hits are searched from the start.
    int none = -1;
    EXPECT_EQ(NextResultItem("{a}{}", none), "a");
    EXPECT_EQ(NextResultItem("{a}{}", none), "");
}

TEST(ScriptUnescape, ScriptEscapesThenUnescape) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {R"(\u732b<em>咪<\/em> )", "猫<em>咪</em> "},
        {R"(\u201c好\u201d)", "“好”"},
        {R"(a\\b\"c\'d)", "a\\b\"c'd"},
        {R"(%41%u732B%zz)", "A猫%zz"},
        {R"(\x41\101\0)", "AA"},
        {"it's ’x’", "it's 'x'"}, // the apostrophe placeholder comes back as "'"
        {"a\r\nb", "a\r\nb"},
        {"\rab", "ab"},
        {R"(a\nb\tc)", "a\nb\tc"},
    };
    for (const auto& c : cases) {
        std::string expected = T(c.out);
        if (std::string_view(c.in) == R"(\x41\101\0)") expected.push_back('\0');
        EXPECT_EQ(ScriptUnescape(T(c.in)), expected) << c.in;
    }
}

TEST(ScriptUnescape, TextAScriptWouldRejectKeepsWhatCannotBeDecoded) {
    // A trailing lone backslash would leave the script string open; the
    // rest of the text is decoded all the same and the backslash kept.
    EXPECT_EQ(ScriptUnescape(T(R"(\u732b\)")), T("猫\\"));
    EXPECT_EQ(ScriptUnescape("a\nb"), "a\nb");
    // 乗 ends in the byte of "\"; it is a character, not an escape.
    EXPECT_EQ(ScriptUnescape(T("乗n")), T("乗n"));
}

TEST(ItemTitle, EscapesDecodedTagsRemovedSpacesTrimmed) {
    RegexObject regex;
    PrepareTitleCleaner(regex);
    struct Case {
        const char* hit;
        const char* title;
    } cases[] = {
        {R"("title":"\u732b<em>咪<\/em> ","img":"x")", "猫咪"},
        {R"("title":"<b
class=x>a</b>　","img":"x")",
         "a"},
        {R"("img":"x")", ""},
        {R"("title":"say \"hi\"","img":"x")", "say \\"}, // cut at the escaped quote
    };
    for (const auto& c : cases)
        EXPECT_EQ(ItemTitle(T(c.hit), regex), T(c.title)) << c.hit;
}

TEST(TrimWideSpaces, BothWidths) {
    EXPECT_EQ(TrimWideSpaces(T(" 　猫 咪　 ")), T("猫 咪"));
    EXPECT_EQ(TrimWideSpaces(T("　")), "");
}

// Pages as a fake service would answer them: `pages[i]` hits at offset 30*i.
class FakePages {
public:
    explicit FakePages(std::vector<int> pages) : pages_(std::move(pages)) {}
    ResultPage Fetch(int offset) {
        offsets.push_back(offset);
        int index = offset / kHitsPerPage;
        int n = index < int(pages_.size()) ? pages_[size_t(index)] : 0;
        std::string text = "{\"list\":[";
        for (int i = 0; i < n; ++i)
            text += "{\"img\":\"http://h/" + std::to_string(i) + "\"},";
        text += "]}";
        return {text, FindListPosition(text)};
    }
    std::vector<int> offsets;

private:
    std::vector<int> pages_;
};

class Paging : public ::testing::Test {
protected:
    void SetUp() override { SetWaitScale(0); }
    void TearDown() override { SetWaitScale(1); }
    int Run(FakePages& fake, int maximum) {
        PagingSteps steps;
        steps.fetchPage = [&](int offset) { return fake.Fetch(offset); };
        steps.takeHit = [&](const std::string&) {
            if (++hits == stopAfter) stop = 1;
        };
        return RunResultPaging(steps, maximum, stop);
    }
    std::atomic<int> stop{0};
    int hits = 0, stopAfter = -1;
};

TEST_F(Paging, FivePagesWithoutHitsEndTheKeyword) {
    FakePages fake({30, 30, 5});
    EXPECT_EQ(Run(fake, 0), 65);
    EXPECT_EQ(fake.offsets, (std::vector<int>{0, 30, 60, 90, 90, 90, 90, 90}));
}

TEST_F(Paging, MaximumCutsThePage) {
    FakePages fake({30, 30});
    EXPECT_EQ(Run(fake, 25), 25);
    EXPECT_EQ(fake.offsets, (std::vector<int>{0}));
    FakePages more({30, 30, 30});
    EXPECT_EQ(Run(more, 31), 31);
    EXPECT_EQ(more.offsets, (std::vector<int>{0, 30}));
}

TEST_F(Paging, StopEndsTheScanAndTheLoop) {
    FakePages fake({30, 30});
    stopAfter = 3;
    EXPECT_EQ(Run(fake, 0), 3);
    EXPECT_EQ(fake.offsets, (std::vector<int>{0}));
}

} // namespace
} // namespace tuji
