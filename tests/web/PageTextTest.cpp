#include "web/PageText.h"

#include "support/TempFolder.h"
#include "text/Encoding.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <string>

using namespace tuji;

namespace {

std::string Gb(const char* utf8) {
    return *ConvertEncoding(utf8, "UTF-8", "GB18030");
}
std::string To(const char* utf8, const char* to) {
    return *ConvertEncoding(utf8, "UTF-8", to);
}

struct DecodeCase {
    const char* name;
    int requested;
    std::string input;
    int expectedCode;
    std::string expectedText;
};

std::string Head(const std::string& meta) {
    return "<html><head>" + meta + "</head><body>";
}

} // namespace

TEST(DecodePageText, Table) {
    const std::string zh = Gb("中文网页");
    const std::string gbkPage = Head("<meta charset=gb2312>") + Gb("简体中文") + "</body>";
    const std::string big5Body = To("繁體中文", "BIG5");
    const std::string hkscsBody = To("香港字", "BIG5-HKSCS");
    const std::string nonGbk = Gb("😀"); // four-byte GB18030, outside GBK

    const DecodeCase cases[] = {
        {"utf8 bom", 0, "\xEF\xBB\xBF" + To("中文网页", "UTF-8"), 2, zh},
        {"utf16le bom", 0, "\xFF\xFE" + To("中文网页", "UTF-16LE"), 3, zh},
        {"utf16be bom", 0, "\xFE\xFF" + To("中文网页", "UTF-16BE"), 4, zh},
        {"meta utf-8, lower case", 0,
         Head("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">") +
             To("中文网页", "UTF-8"),
         2, Head("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">") + zh},
        {"meta upper case", 0, Head("<META CHARSET=\"UTF-8\">") + To("中文网页", "UTF-8"), 2,
         Head("<META CHARSET=\"UTF-8\">") + zh},
        {"utf8 by trial", 0, To("没有声明的中文", "UTF-8"), 2, Gb("没有声明的中文")},
        {"ascii stays program text", 0, "<html>plain ascii</html>", 1, "<html>plain ascii</html>"},
        {"gbk raw", 0, gbkPage, 1, gbkPage},
        {"gbk undeclared", 0, Gb("简体中文页面"), 1, Gb("简体中文页面")},
        {"big5-hkscs before big5", 0, Head("<meta charset=big5-hkscs>") + hkscsBody, 6,
         Head("<meta charset=big5-hkscs>") + Gb("香港字")},
        {"quoted big5", 0, Head("<meta charset=\"big5\">") + big5Body, 5,
         Head("<meta charset=\"big5\">") + Gb("繁體中文")},
        {"single-quoted Big5", 0, Head("<meta content='text/html; charset='Big5'>") + big5Body, 5,
         Head("<meta content='text/html; charset='Big5'>") + Gb("繁體中文")},
        // The empty tag ends the search before the declaring one; the Big5
        // bytes then fail the UTF-8 trial and come back raw.
        {"empty meta ends search", 0, Head("<meta><meta charset=big5>") + big5Body, 1,
         Head("<meta><meta charset=big5>") + big5Body},
        {"declaration outside the head", 0,
         "<head><title>t</title></head><meta charset=big5>" + big5Body, 1,
         "<head><title>t</title></head><meta charset=big5>" + big5Body},
        {"no head: the whole page is searched", 0, "<meta charset=big5>" + big5Body, 5,
         "<meta charset=big5>" + Gb("繁體中文")},
        {"code 4 drops two bytes without a bom", 4, "xy" + To("中文", "UTF-16BE"), 4, Gb("中文")},
        {"code 3 drops two bytes", 3, "ab" + To("中文", "UTF-16LE"), 3, Gb("中文")},
        {"code 2 without bom", 2, To("中文", "UTF-8"), 2, Gb("中文")},
        {"invalid utf-8 after bom falls back leniently", 0,
         "\xEF\xBB\xBF"
         "ab\xFF"
         "cd",
         2, "ab" + Gb("\xEF\xBF\xBD") + "cd"},
        {"requested program text, utf-8 found", 1, To("中文", "UTF-8"), 2, Gb("中文")},
        {"code outside the table", 9, "abc", 9, "abc"},
        {"empty", 0, "", 1, ""},
        {"characters outside gbk are kept", 0, "\xEF\xBB\xBF" + To("😀", "UTF-8"), 2, nonGbk},
        {"utf-16 outside gbk kept", 0, "\xFF\xFE" + To("😀", "UTF-16LE"), 3, nonGbk},
        {"zero byte ends the text", 0, std::string("ab\0cd", 5), 2, "ab"},
        // The euro sign of code page 950 is no Big5-HKSCS character: the
        // strict conversion fails and the lenient Big5 reading keeps it.
        {"big5 rejected by the strict table", 0,
         Head("<meta charset=big5-hkscs>") + "\xA3\xE1" + big5Body, 6,
         Head("<meta charset=big5-hkscs>") + Gb("€繁體中文")},
        {"invalid big5 pair becomes ?", 0, Head("<meta charset=big5>") + "\x8E\x69" + big5Body, 5,
         Head("<meta charset=big5>") + "?" + Gb("繁體中文")},
    };
    for (const auto& c : cases) {
        int detected = -7;
        std::string decoded = "x";
        std::string result = DecodePageText("", c.requested, &detected, &decoded, c.input);
        EXPECT_EQ(result, c.expectedText) << c.name;
        EXPECT_EQ(decoded, result) << c.name;
        EXPECT_EQ(detected, c.expectedCode) << c.name;
    }
}

TEST(DecodePageText, InputTextWhenNoBytesAndFileWins) {
    int code = 0;
    EXPECT_EQ(DecodePageText("", 0, &code, nullptr, "", To("中文", "UTF-8")), Gb("中文"));
    EXPECT_EQ(code, 2);

    test::TempFolder dir;
    std::string path = dir.file(Gb("页面.htm"));
    QFile f(FsPath(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    std::string bytes = "\xFF\xFE" + To("文件", "UTF-16LE");
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    f.close();
    EXPECT_EQ(DecodePageText(path, 0, &code, nullptr, "ignored"), Gb("文件"));
    EXPECT_EQ(code, 3);

    std::string decoded = "x";
    EXPECT_EQ(DecodePageText(dir.file("missing.htm"), 0, nullptr, &decoded, "ignored"), "");
    EXPECT_EQ(decoded, "");
}

TEST(DetectMetaCharset, ListsInOrder) {
    struct {
        const char* page;
        bool found;
        int code;
    } cases[] = {
        {"<head><meta charset=UTF-8></head>", true, 1},
        {"<HEAD><Meta content=\"text/html; Charset=Big5-HKSCS\"></HEAD>", true, 3},
        {"<head><meta charset='big5'></head>", true, 2},
        {"<head><meta name=x><meta charset=\"utf-8\"></head>", true, 1},
        {"<head><meta charset=gb2312></head>", false, 0},
        {"<head><meta></head>", false, 0},
        {"no tags at all", false, 0},
    };
    for (const auto& c : cases) {
        int code = -1;
        EXPECT_EQ(DetectMetaCharset(c.page, &code), c.found) << c.page;
        EXPECT_EQ(code, c.code) << c.page;
    }
}

TEST(MatchesAnyAlternative, AnyAndAll) {
    EXPECT_TRUE(MatchesAnyAlternative("xx CHARSET=utf-8", "charset=UTF-8[fg]nothing"));
    EXPECT_FALSE(MatchesAnyAlternative("xx", "a[fg]b"));
    EXPECT_TRUE(MatchesAnyAlternative("a b", "A[fg]B", false));
    EXPECT_FALSE(MatchesAnyAlternative("a", "a[fg]b", false));
}

TEST(FallbackConversions, KeepWhatTheyCan) {
    EXPECT_EQ(WideToAnsi(To("中文", "UTF-16LE") + std::string("\0\0x\0", 4)), Gb("中文"));
    EXPECT_EQ(WideToAnsi(To("中文", "UTF-16BE"), true), Gb("中文"));
    // A lone surrogate becomes the default character, the rest stays.
    EXPECT_EQ(WideToAnsi(std::string("a\0\x00\xD8"
                                     "b\0",
                                     6)),
              "a?b");
    EXPECT_EQ(Utf8ToAnsi("a\xC3"), "a" + Gb("\xEF\xBF\xBD"));
    EXPECT_EQ(Big5ToGbk(To("繁體", "BIG5") + std::string("\0x", 2)), Gb("繁體"));
    EXPECT_EQ(Big5ToGbk("ab\xA4"), "ab?"); // a lead byte without its trail byte
}
