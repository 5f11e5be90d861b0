#include "rehost/ScanArticle.h"

#include "text/Encoding.h"

#include <gtest/gtest.h>

namespace tuji {
namespace {

std::vector<std::string> Captured(const std::string& article) {
    ArticleScanner scanner("");
    return scanner.CapturedReferences(article);
}

std::vector<std::string> Addresses(const ArticleQueue& queue) {
    std::vector<std::string> out;
    for (const QueueEntry& e : queue.entries)
        out.push_back(e.downloadAddress);
    return out;
}

using List = std::vector<std::string>;

TEST(ScanArticle, WhichTagsTheImageTagPatternFinds) {
    struct Case {
        const char* article;
        List captured;
    } cases[] = {
        {"<IMG SRC=/pics/a.jpg>", {"/pics/a.jpg"}},
        {"<img src=\"a.jpg\" alt=x><img class=c src='b.png'>", {"a.jpg", "b.png"}},
        {"<img alt=\"a b\" src=c.gif width=3>", {"c.gif"}},
        // Blanks around "=" keep the tag from being found.
        {"<img src = \"a.jpg\">", {}},
        // "<img" followed by a line break instead of a blank.
        {"<img\nsrc=\"a.jpg\">", {}},
        // Attributes running over a line break before "src=".
        {"<img alt=\"x\"\nsrc=\"a.jpg\">", {}},
        // The "src=" inside "data-src=" is the one matched.
        {"<img data-src=\"lazy.jpg\" src=\"blank.gif\">", {"lazy.jpg"}},
        {"<p>no images</p>", {}},
        {"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Captured(c.article), c.captured) << c.article;
}

TEST(ScanArticle, NonAsciiReferencesComeBackAsTheirOwnBytes) {
    std::string utf8 = "<p>\xE4\xB8\xAD</p><img src=\"/\xE5\x9B\xBE\xE7\x89\x87/a.jpg\">";
    EXPECT_EQ(Captured(utf8), List{"/\xE5\x9B\xBE\xE7\x89\x87/a.jpg"});
    std::string gbk = "<p>" + T("中文") + "</p><img src=\"/" + T("图片") + "/a.jpg\">";
    EXPECT_EQ(Captured(gbk), List{"/" + T("图片") + "/a.jpg"});
}

TEST(ScanArticle, RowsInReverseOrderOfTheDeduplicatedList) {
    ArticleScanner scanner("");
    ArticleQueue q = scanner.ScanArticle(
        "<img src=http://h/B.jpg><img src=http://h/A.jpg><img src=http://h/B.jpg>", "");
    EXPECT_EQ(Addresses(q), (List{"http://h/B.jpg", "http://h/A.jpg"}));

    q = scanner.ScanArticle("<img src=/x.jpg><img src=/x.jpg><img src=/x.jpg>", "d.cn");
    ASSERT_EQ(q.entries.size(), 1u);
    EXPECT_EQ(q.entries[0].reference, "/x.jpg");
    EXPECT_EQ(q.entries[0].downloadAddress, "http://d.cn/x.jpg");
}

TEST(ScanArticle, RelativeRuleWithAndWithoutOldDomain) {
    const char* article =
        "<IMG SRC=/pics/a.jpg><img src=\"pics/a.jpg\"><img src='https://s.cn/b.png'>"
        "<img src=//cdn.cn/c.gif>";
    ArticleScanner scanner("");
    ArticleQueue with = scanner.ScanArticle(article, "old.cn");
    EXPECT_EQ(Addresses(with), (List{"http://cdn.cn/c.gif", "https://s.cn/b.png",
                                     "http://old.cn/pics/a.jpg", "http://old.cn/pics/a.jpg"}));
    ArticleQueue without = scanner.ScanArticle(article, "");
    EXPECT_EQ(Addresses(without), (List{"http://cdn.cn/c.gif", "https://s.cn/b.png"}));
    ASSERT_EQ(without.dropped.size(), 2u);
    EXPECT_EQ(without.dropped[0].reason, DropReason::RelativeWithoutOldDomain);
}

TEST(ScanArticle, ExclusionsMatchAnywhereIgnoringCase) {
    const char* article = "<img src=http://ads.x.cn/1.gif><img src=http://h/Track/2.gif>"
                          "<img src=http://h/ok.jpg>";
    ArticleScanner xy("ADS|track");
    ArticleQueue q = xy.ScanArticle(article, "");
    EXPECT_EQ(Addresses(q), List{"http://h/ok.jpg"});
    ASSERT_EQ(q.dropped.size(), 2u);
    EXPECT_EQ(q.dropped[0].reason, DropReason::Excluded);

    ArticleScanner all("*");
    EXPECT_TRUE(all.ScanArticle(article, "").entries.empty());

    ArticleScanner wildcard("http://h/*.jpg");
    EXPECT_EQ(Addresses(wildcard.ScanArticle(article, "")),
              (List{"http://h/Track/2.gif", "http://ads.x.cn/1.gif"}));
    // The test is made on the resolved address.
    ArticleScanner host("old.cn");
    EXPECT_TRUE(host.ScanArticle("<img src=/a.jpg>", "old.cn").entries.empty());
}

TEST(ScanArticle, FullWidthBlanksAreTrimmedButTheReferenceStaysAsWritten) {
    ArticleScanner scanner("");
    std::string ref = "\xE3\x80\x80http://h/a.jpg";
    ArticleQueue q = scanner.ScanArticle("<img src=\"" + ref + "\">", "");
    ASSERT_EQ(q.entries.size(), 1u);
    EXPECT_EQ(q.entries[0].reference, ref);
    EXPECT_EQ(q.entries[0].downloadAddress, "http://h/a.jpg");
    // Nothing left after trimming.
    q = scanner.ScanArticle("<img src=\"\xE3\x80\x80\">", "d.cn");
    EXPECT_TRUE(q.entries.empty());
}

TEST(ScanArticle, TenThousandReferences) {
    std::string article;
    for (int i = 0; i < 10000; ++i)
        article += "<img src=\"/p/" + std::to_string(i) + ".jpg\">\n";
    ArticleScanner scanner("");
    ArticleQueue q = scanner.ScanArticle(article, "d.cn");
    ASSERT_EQ(q.entries.size(), 10000u);
    EXPECT_EQ(q.entries.front().downloadAddress, "http://d.cn/p/9999.jpg");
}

} // namespace
} // namespace tuji
