// The image-tag scan over the shared corpus of real articles, checked
// against a plain byte-wise scan: every reference must come back as the same
// bytes at the same place. Skips when the corpus is not there.
#include "regex/Pcre.h"
#include "regex/RegexObject.h"
#include "text/TextOps.h"

#include <QDir>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace tuji {
namespace {

const std::string kImageTag = "<img .*?src=(\"|'|)([^\"'<> ]+)(\"|'|).*?>";

struct Reference {
    std::string address;
    int position;
};

// The same pattern on raw bytes, without the engine's reading of characters.
std::vector<Reference> ByteWiseScan(const std::string& article) {
    std::vector<Reference> out;
    int error = 0;
    PCRE2_SIZE offset = 0;
    PcreCompileContext context(pcre2_compile_context_create(nullptr));
    pcre2_set_newline(context.get(), PCRE2_NEWLINE_ANYCRLF);
    PcreCode code(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(kImageTag.data()), kImageTag.size(),
                                PCRE2_CASELESS | PCRE2_MULTILINE, &error, &offset, context.get()));
    PcreMatchData data(pcre2_match_data_create_from_pattern(code.get(), nullptr));
    size_t start = 0;
    while (pcre2_match(code.get(), reinterpret_cast<PCRE2_SPTR>(article.data()), article.size(),
                       start, 0, data.get(), nullptr) > 0) {
        const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(data.get());
        out.push_back({article.substr(ov[4], ov[5] - ov[4]), int(ov[4]) + 1});
        start = ov[1];
    }
    return out;
}

void ScanFolder(const QString& folder) {
    QDir dir(folder);
    if (!dir.exists()) GTEST_SKIP() << "corpus folder not present: " << folder.toStdString();
    const QStringList names = dir.entryList({"*.htm"}, QDir::Files, QDir::Name);
    ASSERT_FALSE(names.isEmpty());
    RegexObject re;
    re.SetPattern(kImageTag);
    for (const QString& name : names) {
        std::ifstream in(dir.filePath(name).toStdString(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::string article(TextBeforeZero(bytes));
        std::vector<Reference> expected = ByteWiseScan(article);
        int n = re.Execute(article);
        ASSERT_EQ(n, int(expected.size())) << name.toStdString();
        for (int i = 1; i <= n; ++i) {
            EXPECT_EQ(re.SubMatchText(i, 2), expected[size_t(i - 1)].address)
                << name.toStdString() << " #" << i;
            EXPECT_EQ(re.SubMatchPosition(i, 2), expected[size_t(i - 1)].position)
                << name.toStdString() << " #" << i;
        }
    }
}

// Texts in every encoding of the corpus (UTF-16, Big5, GB, EUC, ...): read
// character by character, they must come back byte for byte.
TEST(ArticleCorpus, EveryEncodingReadsLosslessly) {
    QDir dir(QStringLiteral(TUJI_SHARED_CORPUS "/charsets"));
    if (!dir.exists()) GTEST_SKIP() << "corpus folder not present: charsets";
    QStringList files;
    for (const QString& sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        for (const QString& f : QDir(dir.filePath(sub)).entryList(QDir::Files))
            files << dir.filePath(sub + "/" + f);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& path : files) {
        std::ifstream in(path.toStdString(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (auto how : {SubjectBytes::Detect, SubjectBytes::ProgramText}) {
            RegexObject re;
            re.SetSubjectBytes(how);
            re.SetPattern("[\\s\\S]");
            int n = re.Execute(bytes);
            std::string joined;
            joined.reserve(bytes.size());
            for (int i = 1; i <= n; ++i)
                joined += re.MatchText(i);
            EXPECT_EQ(joined == bytes, true) << path.toStdString();
        }
    }
}

TEST(ArticleCorpus, EveryReferenceComesBackExactly) {
    ScanFolder(QStringLiteral(TUJI_SHARED_CORPUS "/articles"));
}

TEST(ArticleCorpus, HoldoutArticlesToo) {
    ScanFolder(QStringLiteral(TUJI_SHARED_CORPUS "/articles-holdout"));
}

} // namespace
} // namespace tuji
