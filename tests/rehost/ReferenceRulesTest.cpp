#include "rehost/ReferenceRules.h"

#include <gtest/gtest.h>

namespace tuji {
namespace {

TEST(ReferenceRules, TrimsSpacesAndFullWidthSpacesOnly) {
    EXPECT_EQ(TrimBlanks("  a.jpg "), "a.jpg");
    EXPECT_EQ(TrimBlanks("\xE3\x80\x80"
                         "a.jpg"
                         "\xE3\x80\x80 "),
              "a.jpg"); // UTF-8 U+3000
    EXPECT_EQ(TrimBlanks("\xA1\xA1"
                         "a.jpg"
                         "\xA1\xA1"),
              "a.jpg"); // GBK full-width
    EXPECT_EQ(TrimBlanks("\ta.jpg\r\n"), "\ta.jpg\r\n");
    EXPECT_EQ(TrimBlanks("\xA1\xA1 \xA1\xA1"), "");
    // a, A1 A1, A1: the last two bytes are not a full-width space.
    EXPECT_EQ(TrimBlanks("a\xA1\xA1\xA1"), "a\xA1\xA1\xA1");
}

TEST(ReferenceRules, ResolvesAgainstTheOldDomain) {
    struct Case {
        const char* reference;
        const char* domain;
        const char* address; // nullptr: dropped
    } cases[] = {
        {"/pics/a.jpg", "old.cn", "http://old.cn/pics/a.jpg"},
        {"pics/a.jpg", "old.cn", "http://old.cn/pics/a.jpg"},
        {"pics/a.jpg", "", nullptr},
        {"/pics/a.jpg", "", nullptr},
        {"HTTP://x.cn/a.jpg", "", "HTTP://x.cn/a.jpg"},
        // The secure scheme is an absolute address, fetched as it stands.
        {"https://x.cn/a.jpg", "", "https://x.cn/a.jpg"},
        {"https://x.cn/a.jpg", "old.cn", "https://x.cn/a.jpg"},
        // Protocol-relative: a host of its own, not a path under the old domain.
        {"//cdn.x.cn/a.jpg", "", "http://cdn.x.cn/a.jpg"},
        {"//cdn.x.cn/a.jpg", "old.cn", "http://cdn.x.cn/a.jpg"},
        // The old domain is used as typed.
        {"a.jpg", "http://old.cn", "http://http://old.cn/a.jpg"},
        {"ftp://x/a.jpg", "o", "http://o/ftp://x/a.jpg"},
        {"", "old.cn", nullptr},
    };
    for (const Case& c : cases) {
        std::optional<std::string> got = DownloadAddress(c.reference, c.domain);
        if (c.address) {
            EXPECT_EQ(got.value_or("(dropped)"), c.address) << c.reference;
        } else {
            EXPECT_FALSE(got) << c.reference;
        }
    }
}

TEST(ReferenceRules, AddressForFetchIsAscii) {
    EXPECT_EQ(AddressForFetch("http://h/\xE5\x9B\xBE.jpg"), "http://h/%E5%9B%BE.jpg");
    // GBK 中 (D6 D0) goes out as UTF-8, as a browser sends a path.
    EXPECT_EQ(AddressForFetch("http://h/\xD6\xD0.jpg"), "http://h/%E4%B8%AD.jpg");
    EXPECT_EQ(AddressForFetch("http://h/a%20b.jpg?x=1&y"), "http://h/a%20b.jpg?x=1&y");
}

} // namespace
} // namespace tuji
