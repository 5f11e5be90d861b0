#include "fs/FolderListing.h"

#include "fs/FsoFileSystem.h"
#include "support/TempFolder.h"
#include "text/Encoding.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tuji {
namespace {

using test::TempFolder;

class FolderListing : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"a.htm", "B.HTM", "c.htm", "a.html", "x.jpg.txt", "p.jpg", "q.png",
                                 "a.txt", "README", ".hidden", "ab.txt", "abc.txt"})
            Touch(name);
        Touch("图片.htm");
        QDir(dir.fsPath()).mkdir("sub1");
        QDir(dir.fsPath()).mkdir("Sub2");
        QDir(dir.fsPath()).mkdir(".git");
    }
    void Touch(const QString& name) {
        QFile f(dir.fsPath() + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    // The names of the listed paths, in order.
    std::vector<std::string> NamesOf(const std::vector<std::string>& paths) const {
        std::vector<std::string> names;
        const std::string prefix = dir.path() + "/";
        for (const auto& p : paths) {
            EXPECT_EQ(p.substr(0, prefix.size()), prefix);
            names.push_back(p.substr(prefix.size()));
        }
        return names;
    }
    std::vector<std::string> List(const std::string& filter, bool folders = false) {
        std::vector<std::string> out;
        int n = ListFolderEntries(dir.path(), filter, out, false, folders);
        EXPECT_EQ(n, int(out.size()));
        return NamesOf(out);
    }
    std::vector<std::string> Search(const std::string& filter, bool folders = false) {
        std::vector<std::string> out;
        int n = SearchFolderEntries(dir.path(), filter, out, false, folders);
        EXPECT_EQ(n, int(out.size()));
        return NamesOf(out);
    }
    TempFolder dir;
};

using Names = std::vector<std::string>;

TEST_F(FolderListing, ListNameTests) {
    const std::string chinese = T("图片.htm");
    EXPECT_EQ(List("*.htm"), (Names{"a.htm", "B.HTM", "c.htm", chinese}));
    EXPECT_EQ(List("*.HTM"), (Names{"a.htm", "B.HTM", "c.htm", chinese}));
    // Unanchored pattern: the ".jpg" inside x.jpg.txt counts.
    EXPECT_EQ(List("*.jpg|*.png"), (Names{"p.jpg", "q.png", "x.jpg.txt"}));
    // One star only: taken as the single extension ".htm|a.txt".
    EXPECT_EQ(List("*.htm|a.txt"), Names{});
    EXPECT_EQ(List("a?.txt"), (Names{"a.txt", "ab.txt"})); // ? is at most one character
    EXPECT_EQ(List("b.*"), (Names{"ab.txt", "B.HTM"}));    // unanchored, "." is a dot
    const Names everything = {".hidden", "a.htm",     "a.html", "a.txt", "ab.txt",
                              "abc.txt", "B.HTM",     "c.htm",  "p.jpg", "q.png",
                              "README",  "x.jpg.txt", chinese};
    EXPECT_EQ(List(""), everything);
    EXPECT_EQ(List("*"), everything);
    EXPECT_EQ(List("*.*"), everything);
    EXPECT_EQ(List(T("图*")), Names{chinese});
}

TEST_F(FolderListing, SearchWildcards) {
    EXPECT_EQ(Search("*.htm"), (Names{"a.htm", "B.HTM", "c.htm", T("图片.htm")}));
    EXPECT_EQ(Search("*.jpg|*.png"), (Names{"p.jpg", "q.png"}));
    EXPECT_EQ(Search("*.htm|a.txt"), (Names{"a.htm", "B.HTM", "c.htm", T("图片.htm"), "a.txt"}));
    // Pattern after pattern: a name that fits both comes twice.
    EXPECT_EQ(Search("a.*|*.txt"),
              (Names{"a.htm", "a.html", "a.txt", "a.txt", "ab.txt", "abc.txt", "x.jpg.txt"}));
    EXPECT_EQ(Search("a?.txt"), (Names{"a.txt", "ab.txt"}));
    EXPECT_EQ(Search("readme.*"), Names{"README"});
    EXPECT_EQ(Search(""), List(""));
    EXPECT_EQ(Search("*"), List(""));
}

TEST_F(FolderListing, FoldersMode) {
    EXPECT_EQ(List("*", true), (Names{".git", "sub1", "Sub2"}));
    EXPECT_EQ(List("sub", true), (Names{"sub1", "Sub2"}));
    EXPECT_EQ(Search("*.*", true), (Names{".git", "sub1", "Sub2"}));
    EXPECT_EQ(Search("s*", true), (Names{"sub1", "Sub2"}));
}

TEST_F(FolderListing, TrailingSeparatorAppendAndMissingFolder) {
    std::vector<std::string> plain, slash, backslash;
    ListFolderEntries(dir.path(), "*.htm", plain);
    ListFolderEntries(dir.path() + "/", "*.htm", slash);
    SearchFolderEntries(dir.path() + "\\", "*.htm", backslash);
    EXPECT_EQ(plain, slash);
    ASSERT_EQ(backslash.size(), plain.size());
    EXPECT_EQ(backslash[0], dir.path() + "\\a.htm");

    EXPECT_EQ(ListFolderEntries(dir.path(), "*.png", plain, true), 5);
    EXPECT_EQ(plain.back(), dir.path() + "/q.png");
    EXPECT_EQ(SearchFolderEntries(dir.path(), "*.png", plain, true), 6);

    EXPECT_EQ(ListFolderEntries(dir.path() + "/missing", "*", plain), 0);
    EXPECT_TRUE(plain.empty());
    plain = {"kept"};
    EXPECT_EQ(SearchFolderEntries(dir.path() + "/missing", "*", plain, true), 1);
    EXPECT_EQ(ListFolderEntries("", "*", plain), 0);
}

#ifndef _WIN32
TEST_F(FolderListing, NamesProgramTextCannotReachAreLeftOut) {
    // Not UTF-8, and a name with a backslash (a separator in program paths).
    const std::string raw = QFile::encodeName(dir.fsPath()).toStdString();
    const std::string unreachable[] = {raw + "/bad\xFF\xFE.htm", raw + "/x\\y.htm"};
    for (const auto& path : unreachable) {
        int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    std::vector<std::string> listed;
    ListFolderEntries(dir.path(), "*.htm", listed);
    SearchFolderEntries(dir.path(), "*.htm", listed, true);
    EXPECT_EQ(listed.size(), 8u);
    FsoFileSystem fso;
    for (const auto& path : listed)
        EXPECT_TRUE(fso.FileExists(path)) << path;
    // The temporary folder cannot remove what Qt cannot name either.
    for (const auto& path : unreachable)
        ::unlink(path.c_str());
}
#endif

} // namespace
} // namespace tuji
