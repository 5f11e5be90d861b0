#include "fs/FsoFileSystem.h"

#include "support/TempFolder.h"
#include "text/Encoding.h"

#include <QDir>
#include <QFile>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace tuji {
namespace {

TEST(FsoFileSystem, ExistenceQueries) {
    test::TempFolder dir;
    QFile(dir.fsPath() + "/" + QString::fromUtf8("猫.jpg")).open(QIODevice::WriteOnly);
    QDir(dir.fsPath()).mkdir("sub");
    FsoFileSystem fso;
    const std::string file = dir.file(T("猫.jpg")), folder = dir.file("sub");
    EXPECT_TRUE(fso.FileExists(file));
    EXPECT_FALSE(fso.FolderExists(file));
    EXPECT_TRUE(fso.FolderExists(folder));
    EXPECT_TRUE(fso.FolderExists(folder + "/"));
    EXPECT_FALSE(fso.FileExists(folder));
    EXPECT_FALSE(fso.FileExists(dir.file("missing.jpg")));
    EXPECT_FALSE(fso.FolderExists(dir.file("missing")));
    EXPECT_FALSE(fso.FileExists(""));
    EXPECT_FALSE(fso.FolderExists(""));
}

TEST(FsoFileSystem, AnswersWorkersAtTheSameTime) {
    test::TempFolder dir;
    QFile(dir.fsPath() + "/a.jpg").open(QIODevice::WriteOnly);
    const FsoFileSystem fso;
    const std::string file = dir.file("a.jpg"), missing = dir.file("b.jpg");
    std::atomic<int> wrong{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < 8; ++t) {
        workers.emplace_back([&] {
            for (int i = 0; i < 200; ++i)
                if (!fso.FileExists(file) || fso.FileExists(missing) ||
                    !fso.FolderExists(dir.path()))
                    ++wrong;
        });
    }
    for (auto& w : workers)
        w.join();
    EXPECT_EQ(wrong, 0);
}

} // namespace
} // namespace tuji
