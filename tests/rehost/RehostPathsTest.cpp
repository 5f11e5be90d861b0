#include "rehost/RehostPaths.h"

#include "text/Encoding.h"

#include <gtest/gtest.h>

namespace tuji {
namespace {

TEST(ImageExtension, KeepsTheFourImageTypesAndSavesTheRestAsJpg) {
    struct Case {
        const char* address;
        const char* ext;
    } cases[] = {
        {"http://h/a.PNG", "png"},       {"http://h/a.gif", "gif"},
        {"http://h/favicon.Ico", "ico"}, {"http://h/a.bmp", "bmp"},
        {"http://h/a.jpeg", "jpg"},      {"http://h/a.webp", "jpg"},
        {"http://h/photo", "jpg"},       {"http://h/a.png?x=1", "jpg"},
        {"http://h.png/img", "jpg"},     {"http://h/get.php?f=x/y.gif", "gif"},
        {"http://h/dir.png/", "jpg"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ImageExtension(c.address), c.ext) << c.address;
}

TEST(RehostPaths, NewAddressWithAndWithoutNewDomain) {
    std::string r = SavedRelativePath("files\\img", "1A2B3C4D5.jpg");
    EXPECT_EQ(r, "files/img/1A2B3C4D5.jpg");
    EXPECT_EQ(NewImageAddress(r, ""), "/files/img/1A2B3C4D5.jpg");
    EXPECT_EQ(NewImageAddress(r, "www.mysite.cn"), "http://www.mysite.cn/files/img/1A2B3C4D5.jpg");
}

TEST(RehostPaths, TrailingSeparatorEmptyFolderAndLeadingSeparator) {
    // A trailing separator is kept as typed: the address holds "//".
    EXPECT_EQ(NewImageAddress(SavedRelativePath("files\\img\\", "N.gif"), ""), "/files/img//N.gif");
    // No image folder: the image lies in the results folder itself, and the
    // address must stay site-relative, not "//N.gif" (a host named N.gif).
    EXPECT_EQ(SavedRelativePath("", "N.gif"), "N.gif");
    EXPECT_EQ(NewImageAddress(SavedRelativePath("", "N.gif"), ""), "/N.gif");
    EXPECT_EQ(NewImageAddress(SavedRelativePath("\\files\\img", "N.gif"), ""), "/files/img/N.gif");
    EXPECT_EQ(NewImageAddress(SavedRelativePath("/", "N.gif"), "d.cn"), "http://d.cn/N.gif");
}

TEST(RehostPaths, NonAsciiFolderIsPercentEncodedAsUtf8) {
    EXPECT_EQ(NewImageAddress(SavedRelativePath(T("图 片"), "N.jpg"), ""),
              "/%E5%9B%BE%20%E7%89%87/N.jpg");
    // 乗 ends in the byte of "\": it is a character, not a separator.
    std::string jou = T("乗");
    ASSERT_EQ(jou.back(), '\\');
    EXPECT_EQ(SavedRelativePath(jou, "N.jpg"), jou + "/N.jpg");
}

TEST(RehostPaths, ImageFolderLeavingTheResultsFolderIsRefused) {
    for (const char* bad :
         {"..", "..\\img", "files\\..\\..\\x", "files/../../x", "C:\\img", "a/../b"})
        EXPECT_FALSE(ImageFolderProblem(bad).empty()) << bad;
    for (const char* good : {"", "files\\img", "files/img/", "...", "a..b", "\\files\\img", "img."})
        EXPECT_TRUE(ImageFolderProblem(good).empty()) << good;
}

TEST(RehostPaths, ResultsFolderInsideTheArticleFolder) {
    EXPECT_EQ(ResultsFolder("/data/arts"), "/data/arts/" + T("转存结果") + "/");
    EXPECT_EQ(ResultsFolder("/data/arts/"), "/data/arts/" + T("转存结果") + "/");
    EXPECT_EQ(ResultsFolder("/data\\arts\\"), "/data/arts/" + T("转存结果") + "/");
}

} // namespace
} // namespace tuji
