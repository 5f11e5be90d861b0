#include "settings/SettingsEngine.h"

#include "fs/Files.h"
#include "support/TempFolder.h"
#include "text/Encoding.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

namespace tuji {
namespace {

struct Write {
    std::string section, key, value;
};

struct EditCase {
    const char* name;
    std::string before;
    std::vector<Write> writes;
    std::string after;
};

// Every write lands in the memory copy and in the file, byte for byte.
TEST(SettingsEngine, WritesLeaveExactBytes) {
    const std::vector<EditCase> cases = {
        {"first key of an empty file", "", {{"S", "a", "1"}}, "[S]\r\na=1"},
        {"new key goes first in its section", "[S]\r\na=1", {{"S", "b", "2"}}, "[S]\r\nb=2\r\na=1"},
        {"new section is appended",
         "[S]\r\nb=2\r\na=1",
         {{"T", "c", "3"}},
         "[S]\r\nb=2\r\na=1\r\n[T]\r\nc=3"},
        {"three writes into an empty file",
         "",
         {{"S", "a", "1"}, {"S", "b", "2"}, {"T", "c", "3"}},
         "[S]\r\nb=2\r\na=1\r\n[T]\r\nc=3"},
        {"a value grows in place",
         "[S]\r\nb=2\r\na=1\r\n[T]\r\nc=3",
         {{"S", "a", "123"}},
         "[S]\r\nb=2\r\na=123\r\n[T]\r\nc=3"},
        {"a value shrinks in place", "[S]\r\na=12345\r\nb=2", {{"S", "a", ""}}, "[S]\r\na=\r\nb=2"},
        {"a value at the end of the file", "[S]\r\na=1", {{"S", "a", "xyz"}}, "[S]\r\na=xyz"},
        {"x[S] inside a value is no header",
         "[R]\r\nv=x[S]\r\na=5",
         {{"S", "a", "1"}},
         "[R]\r\nv=x[S]\r\na=5\r\n[S]\r\na=1"},
        {"a key of the next section is not a key of S",
         "[S]\r\n[T]\r\na=9",
         {{"S", "a", "1"}},
         "[S]\r\na=1\r\n[T]\r\na=9"},
        {"the first of two equal headers is used",
         "[S]\r\na=1\r\n[S]\r\na=2",
         {{"S", "a", "3"}},
         "[S]\r\na=3\r\n[S]\r\na=2"},
        {"a key name that ends another key is not it",
         "[S]\r\nxa=1",
         {{"S", "a", "2"}},
         "[S]\r\na=2\r\nxa=1"},
        {"a file edited by hand with a final line end keeps it",
         "[S]\r\na=1\r\n",
         {{"S", "a", "22"}},
         "[S]\r\na=22\r\n"},
        {"GBK names and values",
         T("[采集图片]\r\n编辑框保存目录=旧"),
         {{T("采集图片"), T("编辑框保存目录"), T("新的目录")}},
         T("[采集图片]\r\n编辑框保存目录=新的目录")},
        // 中 typed in a UTF-8 editor: three bytes that are no GBK character
        // must not hide the line end after them.
        {"a hand-typed UTF-8 value before the key",
         "[S]\r\nv=\xE4\xB8\xAD\r\na=1",
         {{"S", "a", "2"}},
         "[S]\r\nv=\xE4\xB8\xAD\r\na=2"},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder dir;
        std::string path = dir.file("s.ini");
        if (!c.before.empty()) {
            ASSERT_TRUE(WriteFileBytes(path, c.before));
        }
        SettingsEngine engine;
        ASSERT_TRUE(engine.Open(path));
        for (const Write& w : c.writes)
            EXPECT_EQ(engine.SetValue(w.section, w.key, w.value), kEditDone);
        EXPECT_EQ(engine.WholeText(), c.after);
        EXPECT_EQ(ReadFileBytes(path), c.after);
        const Write& last = c.writes.back();
        EXPECT_EQ(engine.GetValue(last.section, last.key, "?"), last.value);
    }
}

struct ReadCase {
    const char* name;
    std::string file, section, key, expected;
};

TEST(SettingsEngine, ReadsFollowTheFindingRules) {
    const std::vector<ReadCase> cases = {
        {"empty value is not the default", "[S]\r\na=", "S", "a", ""},
        {"value before the next line", "[S]\r\na=1\r\nb=2", "S", "a", "1"},
        {"missing section", "[T]\r\na=1", "S", "a", "?"},
        {"missing key", "[S]\r\nb=1", "S", "a", "?"},
        {"key under the next header", "[S]\r\n[T]\r\na=9", "S", "a", "?"},
        {"header only inside a value", "[R]\r\nv=x[S]\r\na=5", "S", "a", "?"},
        {"header later in the file", "[R]\r\nv=x[S]\r\n[S]\r\na=5", "S", "a", "5"},
        {"a line opening with [ but not closed is no header", "[S]\r\n[x=1\r\na=2", "S", "a", "2"},
        // 81 5D is one double-byte character whose trail byte is "]".
        {"a trail byte ] closes no header line", "[S]\r\n[\x81\x5d\r\na=2", "S", "a", "2"},
        {"case counts", "[S]\r\nA=1", "S", "a", "?"},
        {"section names compare exactly", "[s]\r\na=1", "S", "a", "?"},
        {"a value may hold =", "[S]\r\na=b=c", "S", "a", "b=c"},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder dir;
        std::string path = dir.file("s.ini");
        ASSERT_TRUE(WriteFileBytes(path, c.file));
        SettingsEngine engine;
        ASSERT_TRUE(engine.Open(path));
        EXPECT_EQ(engine.GetValue(c.section, c.key, "?"), c.expected);
        EXPECT_EQ(ReadFileBytes(path), c.file); // reading never writes
    }
}

// Two writes asked for by an event handler while a third searches are queued
// and carried out in order before the outer call returns.
TEST(SettingsEngine, WritesDuringAWriteAreQueuedInOrder) {
    test::TempFolder dir;
    std::string path = dir.file("s.ini");
    SettingsEngine engine;
    ASSERT_TRUE(engine.Open(path));
    std::vector<int> nested;
    std::string seenDuring;
    QTimer::singleShot(0, [&] {
        nested.push_back(engine.SetValue("S", "y", "2"));
        nested.push_back(engine.SetValue("S", "z", "3"));
        seenDuring = engine.WholeText();
    });
    EXPECT_EQ(engine.SetValue("S", "x", "1"), kEditDone);
    EXPECT_EQ(nested, (std::vector<int>{kEditQueued, kEditQueued}));
    EXPECT_EQ(seenDuring, ""); // the handler ran while the first write searched
    // y before z: the key added last comes first.
    EXPECT_EQ(engine.WholeText(), "[S]\r\nz=3\r\ny=2\r\nx=1");
    EXPECT_EQ(ReadFileBytes(path), engine.WholeText());
}

TEST(SettingsEngine, ASecondStoreOnAHeldFileWorksInMemoryOnly) {
    test::TempFolder dir;
    std::string path = dir.file("s.ini");
    ASSERT_TRUE(WriteFileBytes(path, "[S]\r\na=1"));
    SettingsEngine first;
    ASSERT_TRUE(first.Open(path));
    SettingsEngine second;
    EXPECT_FALSE(second.Open(path));
    EXPECT_EQ(second.GetValue("S", "a"), "1"); // it still reads what the file held
    EXPECT_EQ(second.SetValue("S", "a", "2"), kEditDone);
    EXPECT_EQ(second.GetValue("S", "a"), "2");
    EXPECT_EQ(ReadFileBytes(path), "[S]\r\na=1");
    EXPECT_EQ(first.SetValue("S", "b", "3"), kEditDone);
    EXPECT_EQ(ReadFileBytes(path), "[S]\r\nb=3\r\na=1");

    first.Close(); // the lock ends with the first store
    SettingsEngine third;
    EXPECT_TRUE(third.Open(path));
}

TEST(SettingsEngine, MemoryModeNeverTouchesTheDisk) {
    test::TempFolder dir;
    std::string path = dir.file("s.ini");
    ASSERT_TRUE(WriteFileBytes(path, "[S]\r\na=1"));
    SettingsEngine engine;
    ASSERT_TRUE(engine.Open(path, SettingsMode::Memory));
    EXPECT_EQ(engine.SetValue("S", "a", "2"), kEditDone);
    EXPECT_EQ(engine.SetValue("T", "b", "3"), kEditDone);
    EXPECT_EQ(engine.GetValue("S", "a"), "2");
    EXPECT_EQ(ReadFileBytes(path), "[S]\r\na=1");

    SettingsEngine missing;
    EXPECT_TRUE(missing.Open(dir.file("none.ini"), SettingsMode::Memory));
    EXPECT_FALSE(PathExists(dir.file("none.ini")));
}

TEST(SettingsEngine, OpeningCreatesAMissingFileAndCloseForgetsTheCopy) {
    test::TempFolder dir;
    std::string path = dir.file("new.ini");
    SettingsEngine engine;
    EXPECT_TRUE(engine.Open(path));
    EXPECT_TRUE(PathIsFile(path));
    engine.SetValue("S", "a", "1");
    engine.Close();
    EXPECT_FALSE(engine.IsOpen());
    EXPECT_EQ(engine.GetValue("S", "a", "?"), "?");
    EXPECT_EQ(ReadFileBytes(path), "[S]\r\na=1");

    SettingsEngine unopenable;
    EXPECT_FALSE(unopenable.Open(dir.file("no/such/folder.ini")));
    EXPECT_EQ(unopenable.SetValue("S", "a", "1"), kEditDone);
    EXPECT_EQ(unopenable.GetValue("S", "a"), "1");
}

struct OtherEditCase {
    const char* name;
    std::string before;
    std::function<int(SettingsEngine&)> edit;
    int result;
    std::string after;
};

TEST(SettingsEngine, DeleteAndRenameEditInPlace) {
    const std::string file = "[S]\r\na=1\r\nb=2\r\n[T]\r\nc=3";
    const std::vector<OtherEditCase> cases = {
        {"delete a key", file, [](auto& e) { return e.DeleteKey("S", "a"); }, kEditDone,
         "[S]\r\nb=2\r\n[T]\r\nc=3"},
        {"delete a missing key", file, [](auto& e) { return e.DeleteKey("T", "a"); }, kEditFailed,
         file},
        {"delete the first section", file, [](auto& e) { return e.DeleteSection("S"); }, kEditDone,
         "[T]\r\nc=3"},
        {"delete the last section", file, [](auto& e) { return e.DeleteSection("T"); }, kEditDone,
         "[S]\r\na=1\r\nb=2"},
        {"delete a middle section", "[R]\r\nx=0\r\n" + file,
         [](auto& e) { return e.DeleteSection("S"); }, kEditDone, "[R]\r\nx=0\r\n[T]\r\nc=3"},
        {"rename a section", file, [](auto& e) { return e.RenameSection("T", "Long"); }, kEditDone,
         "[S]\r\na=1\r\nb=2\r\n[Long]\r\nc=3"},
        {"rename a key", file, [](auto& e) { return e.RenameKey("S", "b", "bee"); }, kEditDone,
         "[S]\r\na=1\r\nbee=2\r\n[T]\r\nc=3"},
        {"rename a missing section", file, [](auto& e) { return e.RenameSection("X", "Y"); },
         kEditFailed, file},
    };
    for (const OtherEditCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder dir;
        std::string path = dir.file("s.ini");
        ASSERT_TRUE(WriteFileBytes(path, c.before));
        SettingsEngine engine;
        ASSERT_TRUE(engine.Open(path));
        EXPECT_EQ(c.edit(engine), c.result);
        EXPECT_EQ(engine.WholeText(), c.after);
        EXPECT_EQ(ReadFileBytes(path), c.after);
    }
}

TEST(SettingsEngine, ListsSectionsAndKeys) {
    test::TempFolder dir;
    std::string path = dir.file("s.ini");
    ASSERT_TRUE(WriteFileBytes(path, "[S]\r\na=1\r\nb=2\r\n[T]\r\na=2"));
    SettingsEngine engine;
    ASSERT_TRUE(engine.Open(path));
    EXPECT_EQ(engine.SectionNames(), (std::vector<std::string>{"S", "T"}));
    EXPECT_EQ(engine.KeyNames("S"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(engine.SectionsWithKey("a"), (std::vector<std::string>{"S", "T"}));
    EXPECT_EQ(engine.KeysWithValue("S", "2"), (std::vector<std::string>{"b"}));
}

TEST(SettingsEngine, SideFilesHoldTheBytesOnly) {
    test::TempFolder dir;
    std::string path = dir.file(T("岚舟·图集工坊.ini"));
    SettingsEngine engine;
    ASSERT_TRUE(engine.Open(path));
    const std::string bytes = T("第一行\r\n第二行\r\n") + std::string("\0\xff", 2);
    EXPECT_EQ(engine.SideFilePath(T("采集图片"), T("编辑框关键词列表")),
              dir.path() + T("/inibin/采集图片-编辑框关键词列表.ibn"));
    EXPECT_EQ(engine.ReadSideFile("S", "k", "default"), "default");
    EXPECT_TRUE(engine.WriteSideFile(T("采集图片"), T("编辑框关键词列表"), bytes));
    EXPECT_EQ(ReadFileBytes(dir.path() + T("/inibin/采集图片-编辑框关键词列表.ibn")), bytes);
    EXPECT_EQ(engine.ReadSideFile(T("采集图片"), T("编辑框关键词列表"), "default"), bytes);
    EXPECT_TRUE(engine.WriteSideFile("S", "k", ""));
    EXPECT_EQ(engine.ReadSideFile("S", "k", "default"), "default"); // empty gives the default
    EXPECT_EQ(engine.WholeText(), "");                              // nothing in the ini
}

} // namespace
} // namespace tuji
