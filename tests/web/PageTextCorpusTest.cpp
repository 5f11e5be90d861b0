// Decoding real files in known encodings: a few copied samples, and a run
// over the whole shared charset corpus when it is there.

#include "app/Paths.h"
#include "text/Encoding.h"
#include "text/TextOps.h"
#include "web/PageText.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <string>

using namespace tuji;

namespace {

std::string ReadAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QByteArray all = f.readAll();
    return std::string(all.constData(), static_cast<size_t>(all.size()));
}

std::string Sample(const char* name) {
    return TextFromFsPath(QString(TUJI_TEST_DATA) + "/web/charsets/" + name);
}

std::string Reference(const char* name) {
    return *Utf8ToText(ReadAll(FsPath(Sample(name))));
}

// Which code a caller asks for to read a file of this encoding.
int RequestFor(const std::string& encoding) {
    if (encoding == "Big5") return kEncodingBig5;
    if (encoding == "Big5-HKSCS") return kEncodingBig5Hkscs;
    return kEncodingProgram; // GB2312, GBK, GB18030 are program text already
}

} // namespace

TEST(PageTextSamples, DecodeToTheirReferences) {
    int code = 0;
    EXPECT_EQ(DecodePageText(Sample("cpython-gbk.txt"), 0, &code),
              Reference("cpython-gbk-utf8.txt"));
    EXPECT_EQ(code, 1); // GBK bytes fail the UTF-8 trial and stay as they are

    // Undeclared Big5 is not recognised; asked for, it decodes.
    std::string big5 = ReadAll(FsPath(Sample("cpython-big5.txt")));
    EXPECT_EQ(DecodePageText(Sample("cpython-big5.txt"), 0, &code), big5);
    EXPECT_EQ(code, 1);
    EXPECT_EQ(DecodePageText(Sample("cpython-big5.txt"), 5, &code),
              Reference("cpython-big5-utf8.txt"));
    EXPECT_EQ(DecodePageText(Sample("cpython-big5hkscs.txt"), 6, &code),
              Reference("cpython-big5hkscs-utf8.txt"));
    EXPECT_EQ(code, 6);

    EXPECT_EQ(DecodePageText(Sample("uchardet-zh-utf-8.txt"), 0, &code),
              *Utf8ToText(ReadAll(FsPath(Sample("uchardet-zh-utf-8.txt")))));
    EXPECT_EQ(code, 2);

    std::string le = DecodePageText(Sample("html-encoding-sniffer-bom-UTF-16LE.html"), 0, &code);
    EXPECT_EQ(code, 3);
    std::string be = DecodePageText(Sample("html-encoding-sniffer-bom-UTF-16BE.html"), 0, &code);
    EXPECT_EQ(code, 4);
    EXPECT_EQ(le, be);
    EXPECT_TRUE(ContainsText(le, "<meta", Case::Ignore)) << le;

    const char* ascii = "html-encoding-sniffer-normal-charset-bracket_UTF-8.html";
    EXPECT_EQ(DecodePageText(Sample(ascii), 0, &code), ReadAll(FsPath(Sample(ascii))));
    EXPECT_EQ(code, 2); // by its declaration
}

// Every file of the shared corpus: nothing fails, byte-order marks and
// UTF-8 are found, Chinese legacy encodings come through unchanged, and the
// reference pairs agree.
TEST(PageTextCorpus, WholeCharsetFolder) {
    const QString root = QString(TUJI_SHARED_CORPUS) + "/charsets";
    const std::string index = ReadAll(root + "/INDEX.tsv");
    if (index.empty()) GTEST_SKIP() << "shared corpus not found at " << root.toStdString();

    int checked = 0;
    for (const auto& line : SplitText(index, "\n")) {
        auto f = SplitText(line, "\t");
        if (f.size() < 8 || f[0] == "file") continue;
        const std::string& file = f[0];
        const std::string& encoding = f[1];
        const std::string& bom = f[2];
        const std::string& notes = f[7];
        const QString path = root + "/" + QString::fromStdString(file);
        const std::string bytes = ReadAll(path);
        int code = -1;
        std::string text = DecodePageText(TextFromFsPath(path), 0, &code);
        ++checked;

        if (!TextBeforeZero(bytes).empty()) {
            EXPECT_FALSE(text.empty()) << file;
        }
        const int bomCode = bom == "EF BB BF" ? 2 : bom == "FF FE" ? 3 : bom == "FE FF" ? 4 : 0;
        if (bomCode) {
            EXPECT_EQ(code, bomCode) << file;
        }
        // (Comparisons as truth values: a failure names the file instead of
        // printing a whole page.)
        if (bom == "none" && encoding == "UTF-8") {
            // A UTF-8 file converts as a whole, or (when it holds a character
            // the GB18030 table lacks) stays as it is.
            auto converted = Utf8ToText(TextBeforeZero(bytes));
            EXPECT_TRUE(text == (converted ? *converted : std::string(TextBeforeZero(bytes))))
                << file;
        }
        if (bom == "none" && (encoding == "GB2312" || encoding == "GBK" || encoding == "Big5")) {
            EXPECT_EQ(code, 1) << file;
            EXPECT_TRUE(text == std::string(TextBeforeZero(bytes))) << file;
        }
        if (ContainsText(notes, "pair with the -utf8 reference")) {
            QString ref = path;
            ref.replace(".txt", "-utf8.txt");
            auto expected = Utf8ToText(ReadAll(ref));
            ASSERT_TRUE(expected.has_value()) << file;
            EXPECT_TRUE(DecodePageText(TextFromFsPath(path), RequestFor(encoding)) == *expected)
                << file;
        }
    }
    EXPECT_GT(checked, 50);
}
