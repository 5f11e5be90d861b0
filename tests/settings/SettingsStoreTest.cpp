#include "settings/SettingsStore.h"

#include "fs/Files.h"
#include "support/TempFolder.h"
#include "text/Encoding.h"

#include <gtest/gtest.h>

namespace tuji {
namespace {

class SettingsStoreTest : public testing::Test {
protected:
    void SetUp() override {
        path = dir.file(T("岚舟·图集工坊.ini"));
        ASSERT_TRUE(store.Open(path));
    }
    test::TempFolder dir;
    std::string path;
    SettingsStore store;
};

TEST_F(SettingsStoreTest, ValuesTakeTheirTextForms) {
    EXPECT_EQ(store.SelectSection(T("下载图片")), T("岚舟软件\\岚舟·图集工坊\\下载图片\\"));
    EXPECT_TRUE(store.WriteText(T("编辑框保存目录"), "a\r\nb"));
    EXPECT_TRUE(store.WriteNumber(T("组合框线程数"), -42));
    EXPECT_TRUE(store.WriteBool(T("单选框自动命名"), false));
    EXPECT_TRUE(store.WriteBool(T("单选框原图片名"), true));
    EXPECT_EQ(ReadFileBytes(path), T("[下载图片]\r\n单选框原图片名=真\r\n单选框自动命名=假\r\n"
                                     "组合框线程数=-42\r\n编辑框保存目录=a┊*┊b"));
    EXPECT_EQ(store.ReadText(T("编辑框保存目录")), "a\r\nb");
    EXPECT_EQ(store.ReadNumber(T("组合框线程数")), -42);
    EXPECT_FALSE(store.ReadBool(T("单选框自动命名"), true));
    EXPECT_TRUE(store.ReadBool(T("单选框原图片名")));
}

TEST_F(SettingsStoreTest, ReadsDecodeStoredValuesAndKeepDefaults) {
    store.SelectSection("S");
    store.Engine().SetValue("S", "t", T("x┊*┊y┊*┊"));
    store.Engine().SetValue("S", "n", "12px");
    store.Engine().SetValue("S", "word", "yes");
    store.Engine().SetValue("S", "no", T("假"));
    EXPECT_EQ(store.ReadText("t"), "x\r\ny\r\n");
    EXPECT_EQ(store.ReadNumber("n"), 12);
    EXPECT_EQ(store.ReadNumber("word", 7), 0);  // no number at the start
    EXPECT_FALSE(store.ReadBool("word", true)); // anything but "真" is false
    EXPECT_TRUE(store.ReadBoolUnlessFalse("word", false));
    EXPECT_FALSE(store.ReadBoolUnlessFalse("no", true));

    // Missing keys give the default back unchanged, line breaks included.
    EXPECT_EQ(store.ReadText("missing", "p\r\nq"), "p\r\nq");
    EXPECT_EQ(store.ReadNumber("missing", 4278190080LL), 4278190080LL);
    EXPECT_TRUE(store.ReadBool("missing", true));
    EXPECT_FALSE(store.ReadBoolUnlessFalse("missing", false));
}

TEST_F(SettingsStoreTest, DatesAndSideFilesWorkInTheCurrentSection) {
    store.SelectSection("S");
    QDateTime when(QDate(2024, 2, 29), QTime(13, 5, 9));
    EXPECT_TRUE(store.WriteDate("d", when));
    EXPECT_EQ(store.ReadText("d"), "2024-02-29 13:05:09");
    EXPECT_EQ(store.ReadDate("d"), when);
    store.WriteText("bad", "soon");
    EXPECT_EQ(store.ReadDate("bad", when), when);

    EXPECT_TRUE(store.WriteSideFile("list", "1\r\n2"));
    EXPECT_EQ(ReadFileBytes(dir.path() + "/inibin/S-list.ibn"), "1\r\n2");
    EXPECT_EQ(store.ReadSideFile("list"), "1\r\n2");
    store.SelectSection("T");
    EXPECT_EQ(store.ReadSideFile("list", "none"), "none");
    EXPECT_EQ(store.SettingsPath(), path);
}

} // namespace
} // namespace tuji
