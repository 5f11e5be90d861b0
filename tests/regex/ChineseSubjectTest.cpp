// Subjects in the encodings the program meets: GB18030 program text, UTF-8
// articles, and bytes that are neither.
#include "regex/RegexFilter.h"
#include "regex/RegexObject.h"
#include "text/Encoding.h"
#include "text/TextOps.h"

#include <gtest/gtest.h>
#include <random>

namespace tuji {
namespace {

const std::string kImageTag = "<img .*?src=(\"|'|)([^\"'<> ]+)(\"|'|).*?>";

// Every character of the subject, one match each, put back together.
std::string Characters(RegexObject& re, const std::string& subject, int* count = nullptr) {
    re.SetPattern("[\\s\\S]");
    int n = re.Execute(subject);
    if (count) *count = n;
    std::string joined;
    for (int i = 1; i <= n; ++i)
        joined += re.MatchText(i);
    return joined;
}

TEST(ChineseSubject, Gb18030TextGivesWholeCharacters) {
    RegexObject re;
    const std::string text = T("乗车去看猫，a\\b𠀀");
    int n = 0;
    EXPECT_EQ(Characters(re, text, &n), text);
    EXPECT_EQ(n, 10);
    EXPECT_EQ(re.MatchText(1), T("乗"));
    EXPECT_EQ(re.MatchText(10), T("𠀀"));

    re.SetPattern(T("看(.)"));
    ASSERT_EQ(re.Execute(text), 1);
    EXPECT_EQ(re.SubMatchText(1, 1), T("猫"));
    EXPECT_EQ(re.SubMatchPosition(1, 1), 9);
    // "\\" must not be found inside 乗 (81 5C).
    re.SetPattern("\\\\");
    ASSERT_EQ(re.Execute(text), 1);
    EXPECT_EQ(re.SubMatchPosition(1, 0), FindText(text, "\\"));
}

TEST(ChineseSubject, Utf8ArticleGivesItsOwnBytes) {
    // Source literals are UTF-8: this is an article as it lies on disk.
    const std::string article = "<p>中文段落，图片如下：</p>\n"
                                "<img alt=\"猫\" src=\"http://例子.cn/图片/猫咪 1.jpg\">"
                                "<img src='/img/%E7%8C%AB.png'>";
    RegexObject re;
    re.SetPattern(kImageTag);
    ASSERT_EQ(re.Execute(article), 2);
    EXPECT_EQ(re.SubMatchText(1, 2), "http://例子.cn/图片/猫咪");
    EXPECT_EQ(re.SubMatchText(2, 2), "/img/%E7%8C%AB.png");
    int at = re.SubMatchPosition(1, 2);
    EXPECT_EQ(article.substr(size_t(at - 1), re.SubMatchText(1, 2).size()), re.SubMatchText(1, 2));

    // The user's exclusion text is program text; it still finds the UTF-8
    // characters of the address.
    RegexObject exclude;
    exclude.SetPattern(RegexObject::WildcardToPattern(T("*猫咪*")));
    EXPECT_EQ(exclude.Execute(re.SubMatchText(1, 2)), 1);
    EXPECT_EQ(exclude.Execute(re.SubMatchText(2, 2)), 0);
    // So does a short one whose bytes happen to be UTF-8 as well (猫 is C3 A8).
    exclude.SetPattern(T("猫"));
    EXPECT_EQ(exclude.Execute(re.SubMatchText(1, 2)), 1);
    EXPECT_EQ(exclude.Execute(T("小猫")), 1);

    // A reference cut out of the article, escaped, finds itself again.
    RegexObject again;
    again.SetPattern(RegexObject::EscapePattern(re.SubMatchText(1, 2)));
    ASSERT_EQ(again.Execute(article), 1);
    EXPECT_EQ(again.SubMatchPosition(1, 0), at);

    int n = 0;
    EXPECT_EQ(Characters(re, article, &n), article);
    EXPECT_EQ(n, int(QString::fromUtf8(article.c_str()).size()));
}

TEST(ChineseSubject, Gb18030ArticleGivesItsOwnBytes) {
    const std::string article =
        T("<p>文章</p><img src=\"http://例子.cn/图片/猫.jpg\" alt=\"乗\"><IMG SRC=表.gif>");
    RegexObject re;
    re.SetPattern(kImageTag);
    ASSERT_EQ(re.Execute(article), 2);
    EXPECT_EQ(re.SubMatchText(1, 2), T("http://例子.cn/图片/猫.jpg"));
    EXPECT_EQ(re.SubMatchText(2, 2), T("表.gif"));
}

TEST(ChineseSubject, StrayBytesAreMatchedAndComeBackExactly) {
    // UTF-8 with damaged bytes, GBK with a stray 0x80 and 0xFF, and a
    // GB18030 four-byte code that is not assigned (FE 39 FE 39).
    const std::string subjects[] = {
        "<p>中文\xFF\xFE</p><img src=\"http://a.cn/\xE7\x8C/\xFFx.jpg\">\xC3",
        T("<p>文章") + "\x80" + T("<img src=图") + "\xFF" + T("片.jpg>") + "\xFF",
        T("图") + "\xFE\x39\xFE\x39" + "<img src=a\xFE\x39\xFE\x39.jpg>",
    };
    const std::string addresses[] = {"http://a.cn/\xE7\x8C/\xFFx.jpg",
                                     T("图") + "\xFF" + T("片.jpg"), "a\xFE\x39\xFE\x39.jpg"};
    for (size_t k = 0; k < 3; ++k) {
        RegexObject re;
        re.SetPattern(kImageTag);
        ASSERT_EQ(re.Execute(subjects[k]), 1) << k;
        EXPECT_EQ(re.SubMatchText(1, 2), addresses[k]) << k;
        EXPECT_EQ(Characters(re, subjects[k]), subjects[k]) << k;
        // A stray byte in the pattern matches the same stray byte.
        re.SetPattern(RegexObject::EscapePattern(addresses[k]));
        EXPECT_EQ(re.Execute(subjects[k]), 1) << k;
    }
}

TEST(ChineseSubject, AnyBytesSurviveTheRoundTrip) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(size_t(random() % 64), '\0');
        for (auto& b : bytes)
            b = char(random() % 4 == 0 ? random() % 128 : 0x80 + random() % 128);
        RegexObject re;
        EXPECT_EQ(Characters(re, bytes), bytes);
        re.SetSubjectBytes(SubjectBytes::ProgramText);
        EXPECT_EQ(Characters(re, bytes), bytes);
    }
}

TEST(ChineseSubject, FilterMatchesProgramTextNames) {
    RegexFilter filter;
    ASSERT_TRUE(filter.Create(RegexFilter::WildcardToPattern(T("*猫*.JPG"))));
    EXPECT_EQ(filter.Execute(T("小猫咪.jpg")), 1);
    EXPECT_EQ(filter.MatchText(1), T("小猫咪.jpg"));
    EXPECT_EQ(filter.Execute(T("小狗.jpg")), 0);
}

} // namespace
} // namespace tuji
