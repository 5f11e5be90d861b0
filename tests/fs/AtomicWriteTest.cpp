#include "fs/AtomicWrite.h"

#include "fs/Files.h"
#include "support/TempFolder.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace tuji;

TEST(AtomicWrite, KeepNeverReplacesAndLeavesNoTemporaryFile) {
    test::TempFolder tmp;
    std::string path = tmp.file("a.jpg");
    EXPECT_EQ(WriteFileAtomic(path, "one", ReplaceMode::Keep), AtomicWriteResult::Written);
    EXPECT_EQ(WriteFileAtomic(path, "two", ReplaceMode::Keep), AtomicWriteResult::NameTaken);
    EXPECT_EQ(ReadFileBytes(path), "one");
    EXPECT_EQ(WriteFileAtomic(path, "three", ReplaceMode::Replace), AtomicWriteResult::Written);
    EXPECT_EQ(ReadFileBytes(path), "three");
    EXPECT_EQ(QDir(tmp.fsPath()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(AtomicWrite, MissingFolderFails) {
    test::TempFolder tmp;
    EXPECT_EQ(WriteFileAtomic(tmp.file("no/such/a.jpg"), "x", ReplaceMode::Keep),
              AtomicWriteResult::Failed);
    EXPECT_EQ(WriteFileAtomic(tmp.file("no/b.jpg"), "x", ReplaceMode::Replace),
              AtomicWriteResult::Failed);
    std::string bytes = "left alone";
    EXPECT_FALSE(ReadFileBytes(tmp.file("none"), bytes));
    EXPECT_TRUE(bytes.empty());
}
