#include "collect/SavePath.h"

#include "app/Md5.h"
#include "app/Paths.h"
#include "fs/Files.h"
#include "support/TempFolder.h"
#include "text/Encoding.h"
#include "text/TextOps.h"

#include <gtest/gtest.h>

namespace tuji {
namespace {

struct SaveCase {
    int mode;
    const char* address;
    const char* title;
    const char* expected; // below the keyword folder, "/" separated
};

class SavePathTest : public ::testing::Test {
protected:
    std::string Folder() const { return tmp.path() + "/" + T("猫") + "/"; }
    std::string Below(const std::string& path) const { return ReplaceText(path, Folder(), ""); }
    test::TempFolder tmp;
};

TEST_F(SavePathTest, NamesByModeStayInsideTheFolder) {
    const SaveCase cases[] = {
        {kNameOriginal, "http://h/p/a.png", "", "a.png"},
        {kNameOriginal, "http://h/p/a", "", "a.jpg"},
        {kNameOriginal, "http://h/p/a.jpg?s=1", "", "a.jpg？s=1"},
        {kNameOriginalPath, "http://h/p/q/a.gif", "", "p/q/a.gif"},
        {kNameOriginalPath, "http://h/a.gif", "", "a.gif"},
        {kNameOriginalPath, "http://h/p//a", "", "p/a.jpg"},
        {kNameTitle, "http://h/x.png", "猫/狗:1", "猫／狗：1.png"},
        {kNameTitle, "http://h/x.png", "", ".png"},
        {kNameTitle, "http://h/x", "t", "t.jpg"},
        // An address path must never climb out of the keyword folder.
        {kNameOriginalPath, "http://h/../../x.jpg", "", "x.jpg"},
        {kNameOriginalPath, "http://h/a/./../b/x.jpg", "", "a/b/x.jpg"},
        {kNameOriginalPath, "http://h/a\\..\\..\\x.jpg", "", "a/x.jpg"},
        {kNameOriginalPath, "http://h/..%2F..%2Fx.jpg", "", "..%2F..%2Fx.jpg"},
        {kNameOriginalPath, "http://h/p:q/a*.gif", "", "p：q/a＊.gif"},
    };
    for (const auto& c : cases) {
        std::string path = ChooseSavePath(Folder(), T(c.address), "img", c.mode, T(c.title));
        EXPECT_EQ(Below(path), T(c.expected)) << c.address << " mode " << c.mode;
        EXPECT_TRUE(PathIsFolder(PathFolder(path, PathForm::File))) << c.address;
    }
}

TEST_F(SavePathTest, AutoNameIsTheContentHash) {
    std::string a = ChooseSavePath(Folder(), "http://h/x.gif", "one", kNameAuto);
    std::string b = ChooseSavePath(Folder(), "http://h/x", "two", kNameAuto);
    EXPECT_EQ(Below(a), ShortHash("one") + ".gif");
    EXPECT_EQ(Below(b), ShortHash("two") + ".jpg");
}

TEST_F(SavePathTest, SameBytesAreRecognisedAndOthersGetNumberedNames) {
    const std::string address = "http://h/p/a.png";
    std::string first = ChooseSavePath(Folder(), address, "A", kNameOriginal);
    ASSERT_TRUE(WriteFileBytes(first, "A"));
    EXPECT_EQ(ChooseSavePath(Folder(), address, "A", kNameOriginal), "");

    std::string second = ChooseSavePath(Folder(), address, "B", kNameOriginal);
    EXPECT_EQ(Below(second), "a_1.png");
    ASSERT_TRUE(WriteFileBytes(second, "B"));
    // Numbered names are not compared: the same other image lands once more.
    EXPECT_EQ(Below(ChooseSavePath(Folder(), address, "B", kNameOriginal)), "a_2.png");
}

TEST_F(SavePathTest, OverlongNamesAreCutAtACharacterKeepingTheExtension) {
    std::string title;
    for (int i = 0; i < 120; ++i)
        title += T("猫"); // 360 bytes as UTF-8
    std::string path = ChooseSavePath(Folder(), "http://h/x.png", "img", kNameTitle, title);
    std::string name = PathFileName(path, PathForm::File);
    std::string utf8 = TextToUtf8Lenient(name);
    EXPECT_LE(utf8.size(), 255u);
    EXPECT_GT(utf8.size(), 250u);
    EXPECT_TRUE(EndsWithText(name, ".png"));
    EXPECT_TRUE(IsValidUtf8(utf8));
    EXPECT_EQ(SaveImageNoReplace(path, "img").status, SaveStatus::Saved);
    // The numbered name of a different image fits too.
    std::string next = ChooseSavePath(Folder(), "http://h/x.png", "other", kNameTitle, title);
    EXPECT_TRUE(EndsWithText(next, "_1.png"));
    EXPECT_LE(TextToUtf8Lenient(PathFileName(next, PathForm::File)).size(), 255u);
    EXPECT_EQ(SaveImageNoReplace(next, "other").status, SaveStatus::Saved);
}

TEST_F(SavePathTest, SavingNeverReplacesAFile) {
    std::string path = ChooseSavePath(Folder(), "http://h/a.png", "mine", kNameOriginal);
    // Another worker takes the name between the choice and the write.
    ASSERT_TRUE(WriteFileBytes(path, "theirs"));
    SaveResult r = SaveImageNoReplace(path, "mine");
    EXPECT_EQ(r.status, SaveStatus::Saved);
    EXPECT_EQ(Below(r.path), "a_1.png");
    EXPECT_EQ(ReadFileBytes(path), "theirs");
    EXPECT_EQ(ReadFileBytes(r.path), "mine");

    // ... or writes the same bytes there.
    EXPECT_EQ(SaveImageNoReplace(path, "theirs").status, SaveStatus::AlreadyThere);
    EXPECT_EQ(SaveImageNoReplace(tmp.path() + "/missing/a.png", "x").status, SaveStatus::Failed);
}

TEST_F(SavePathTest, ControlCharactersOfATitleNeverReachTheFileName) {
    // A title decoded from "\u0000" or "\u001b" escapes: a zero byte would
    // end the name at the file system, and Windows refuses the others.
    using namespace std::string_literals;
    std::string path =
        ChooseSavePath(Folder(), "http://h/x.png", "img", kNameTitle, "a\0b\x1b\x7f"s + T("猫"));
    EXPECT_EQ(Below(path), "ab" + T("猫") + ".png");
    EXPECT_EQ(SaveImageNoReplace(path, "img").status, SaveStatus::Saved);
    EXPECT_EQ(SafePathSegment("\x01\x02"s), "");
}

TEST(SafePathSegment, NeverNamesTheFolderOrItsParent) {
    EXPECT_EQ(SafePathSegment(".."), T("．．"));
    EXPECT_EQ(SafePathSegment("."), T("．"));
    EXPECT_EQ(SafePathSegment("../x"), T("..／x"));
    EXPECT_EQ(SafePathSegment(""), "");
    EXPECT_EQ(SafePathSegment(T("猫")), T("猫"));
}

TEST(NamingMode, CheckedButtonsInPriorityOrder) {
    EXPECT_EQ(NamingModeFromChecks(true, true, true), kNameOriginal);
    EXPECT_EQ(NamingModeFromChecks(false, true, true), kNameOriginalPath);
    EXPECT_EQ(NamingModeFromChecks(false, false, true), kNameTitle);
    EXPECT_EQ(NamingModeFromChecks(false, false, false), kNameAuto);
}

} // namespace
} // namespace tuji
