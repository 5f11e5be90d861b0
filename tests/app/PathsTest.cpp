#include "app/Paths.h"

#include "app/Md5.h"
#include "support/TempFolder.h"
#include "text/Encoding.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace tuji;

TEST(Paths, PiecesOfPathsAndAddresses) {
    struct Case {
        const char* path;
        PathForm form;
        const char *extension, *fileName, *folder, *baseName;
    } cases[] = {
        {"http://h/a.b/c", PathForm::Address, "", "c", "http://h/a.b", "c"},
        {"http://h/c.JPG", PathForm::Address, "JPG", "c.JPG", "http://h", "c"},
        {"C:\\d.e\\f", PathForm::File, "", "f", "C:\\d.e", "f"},
        {"/x/y/a.tar.gz", PathForm::File, "gz", "a.tar.gz", "/x/y", "a.tar"},
        {"name", PathForm::File, "", "name", "", "name"},
        {"a\\b.c", PathForm::Address, "c", "a\\b.c", "", "a\\b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(PathExtension(c.path, c.form), c.extension);
        EXPECT_EQ(PathFileName(c.path, c.form), c.fileName);
        EXPECT_EQ(PathFolder(c.path, c.form), c.folder);
        EXPECT_EQ(PathBaseName(c.path, c.form), c.baseName);
    }
    // 乗 (81 5C) ends in a byte that looks like "\": it is no separator.
    const std::string jou = "\x81\x5C";
    EXPECT_EQ(PathFileName("d\\" + jou + "x", PathForm::File), jou + "x");

    EXPECT_EQ(AddressPath("http://h/p/a.jpg", true), "p/a.jpg");
    EXPECT_EQ(AddressPath("http://h/p/a.jpg", false), "/p/a.jpg");
    EXPECT_EQ(AddressPath("http://h", true), "http://h");
    EXPECT_EQ(AddressPath("http://h", false), "");
}

TEST(Paths, SafeFileNameUsesFullWidthForms) {
    EXPECT_EQ(SafeFileName(T("a:b*c?\"d\"")), T("a：b＊c？d"));
    EXPECT_EQ(SafeFileName("x\\/|<>"), T("x＼／｜＜＞"));
    EXPECT_EQ(SafeFileName("a\r\nb\rc\td\n"), "abcd");
    EXPECT_EQ(SafeFileName(""), "");
    // A trail byte "\" stays: the character is not a separator.
    EXPECT_EQ(SafeFileName("\x81\x5C"), "\x81\x5C");
}

TEST(Paths, CreateMissingFoldersCreatesAllButTheLastPiece) {
    test::TempFolder tmp;
    std::vector<std::string> created;
    std::string file = tmp.path() + "/x\\y/z.jpg"; // the typed "\" is a separator too
    ASSERT_TRUE(CreateMissingFolders(file, &created));
    EXPECT_EQ(created, (std::vector<std::string>{tmp.path() + "/x", tmp.path() + "/x\\y"}));
    EXPECT_TRUE(QFileInfo(tmp.fsPath() + "/x/y").isDir());
    EXPECT_FALSE(QFileInfo::exists(tmp.fsPath() + "/x/y/z.jpg"));
    created.clear();
    ASSERT_TRUE(CreateMissingFolders(file, &created));
    EXPECT_TRUE(created.empty());
    // Names outside ASCII reach the file system as UTF-8.
    ASSERT_TRUE(CreateMissingFolders(tmp.path() + "/" + T("图片") + "/", &created));
    EXPECT_TRUE(QFileInfo(tmp.fsPath() + "/图片").isDir());
}

TEST(Paths, JoinAndAbsolute) {
    EXPECT_EQ(JoinPath("a", "b"), "a/b");
    EXPECT_EQ(JoinPath("a/", "b"), "a/b");
    EXPECT_EQ(JoinPath("", "b"), "b");
    EXPECT_TRUE(IsAbsolutePath("/tmp"));
    EXPECT_FALSE(IsAbsolutePath("files\\img"));
}

TEST(Md5, PublishedDigests) {
    EXPECT_EQ(Md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(ShortHash(""), "D41D8CD98");
    EXPECT_EQ(Md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(ShortHash(std::string("\0\x01", 2)).size(), 9u);
}
