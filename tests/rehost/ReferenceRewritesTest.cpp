#include "rehost/ReferenceRewrites.h"

#include <gtest/gtest.h>

namespace tuji {
namespace {

std::string Apply(std::string_view article,
                  std::initializer_list<std::pair<const char*, const char*>> rewrites) {
    ReferenceRewrites table;
    for (const auto& [from, to] : rewrites)
        table.Add(from, to);
    return table.ApplyTo(article);
}

TEST(ReferenceRewrites, ReplacesEveryOccurrenceInsideAndOutsideTags) {
    EXPECT_EQ(Apply("<img src=\"/a.jpg\"><a href=\"/a.jpg\">/a.jpg</a>", {{"/a.jpg", "/N/1.jpg"}}),
              "<img src=\"/N/1.jpg\"><a href=\"/N/1.jpg\">/N/1.jpg</a>");
    // Inside a longer address too.
    EXPECT_EQ(Apply("x http://h/pics/a.jpg?s=1 y", {{"pics/a.jpg", "Z"}}), "x http://h/Z?s=1 y");
    EXPECT_EQ(Apply("nothing here", {{"a.jpg", "Z"}}), "nothing here");
    EXPECT_EQ(Apply("", {{"a", "b"}}), "");
}

TEST(ReferenceRewrites, LongestReferenceWinsAndNewAddressesAreNotSearchedAgain) {
    // Either order of the workers gives the same article.
    EXPECT_EQ(Apply("[a.jpg][x/a.jpg]", {{"a.jpg", "/f/A.jpg"}, {"x/a.jpg", "/f/B.jpg"}}),
              "[/f/A.jpg][/f/B.jpg]");
    EXPECT_EQ(Apply("[x/a.jpg][a.jpg]", {{"x/a.jpg", "/f/B.jpg"}, {"a.jpg", "/f/A.jpg"}}),
              "[/f/B.jpg][/f/A.jpg]");
    // "4.jpg" stands inside the new address of another reference: untouched there.
    EXPECT_EQ(
        Apply("<img src=http://h/p.gif><img src=4.jpg>",
              {{"http://h/p.gif", "/files/img/0A1B2C3D4.jpg"}, {"4.jpg", "/files/img/X.jpg"}}),
        "<img src=/files/img/0A1B2C3D4.jpg><img src=/files/img/X.jpg>");
    // Overlapping occurrences: the leftmost is taken.
    EXPECT_EQ(Apply("aaa", {{"aa", "B"}}), "Ba");
}

TEST(ReferenceRewrites, RawBytesOfAnyEncoding) {
    // UTF-8 reference.
    EXPECT_EQ(Apply("<img src=\"\xE5\x9B\xBE.jpg\">\xE4\xB8\xAD", {{"\xE5\x9B\xBE.jpg", "/N.jpg"}}),
              "<img src=\"/N.jpg\">\xE4\xB8\xAD");
    // GBK article: "a.jpg" after the lead byte 81 of a double-byte character
    // that ends in 'a' must not be touched, the real one must.
    std::string gbk = "\xB0\xA1 \x81"
                      "a.jpg a.jpg";
    EXPECT_EQ(Apply(gbk, {{"a.jpg", "Z"}}), "\xB0\xA1 \x81"
                                            "a.jpg Z");
}

TEST(ReferenceRewrites, ManyReferencesInOnePass) {
    std::string article;
    ReferenceRewrites table;
    for (int i = 0; i < 10000; ++i) {
        std::string ref = "http://h/" + std::to_string(i) + ".jpg";
        article += "<img src=\"" + ref + "\">\n";
        table.Add(ref, "/f/" + std::to_string(i) + ".jpg");
    }
    std::string out = table.ApplyTo(article);
    EXPECT_EQ(out.find("http://"), std::string::npos);
    EXPECT_NE(out.find("<img src=\"/f/9999.jpg\">"), std::string::npos);
    EXPECT_NE(out.find("<img src=\"/f/1.jpg\">\n<img src=\"/f/2.jpg\">"), std::string::npos);
}

} // namespace
} // namespace tuji
