#include "app/ui/Shell.h"

#include "support/ModalDriver.h"
#include "support/TempFolder.h"
#include "text/Encoding.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace tuji;

TEST(PickFolder, TrimsTheChoiceAndUsesTheDefaultTitle) {
    ScopedShellStandIn shell;
    std::string seenInitial, seenTitle;
    shell.pickFolder = [&](const std::string& initial, const std::string& title) {
        seenInitial = initial;
        seenTitle = title;
        return std::string("  /data/pics  ");
    };
    EXPECT_EQ(PickFolder("/start"), "/data/pics");
    EXPECT_EQ(seenInitial, "/start");
    EXPECT_EQ(seenTitle, T("请选择一个文件夹"));
    PickFolder("/start", T("请选择图片目录"));
    EXPECT_EQ(seenTitle, T("请选择图片目录"));
}

TEST(PickFolder, IntoBoxKeepsTheBoxOnCancel) {
    ScopedShellStandIn shell;
    std::string answer;
    std::string seenInitial;
    shell.pickFolder = [&](const std::string& initial, const std::string&) {
        seenInitial = initial;
        return answer;
    };
    QLineEdit box(QString::fromUtf8("/旧目录"));
    PickFolderIntoBox(nullptr, &box);
    EXPECT_EQ(seenInitial, T("/旧目录"));
    EXPECT_EQ(box.text(), QString::fromUtf8("/旧目录"));
    answer = T("/新目录");
    PickFolderIntoBox(nullptr, &box);
    EXPECT_EQ(box.text(), QString::fromUtf8("/新目录"));
}

TEST(PickFolder, RealBrowserStartsAtTheInitialFolder) {
    test::TempFolder temp;
    const QString folder = QDir(FsPath(temp.path())).filePath(QString::fromUtf8("图片"));
    ASSERT_TRUE(QDir().mkpath(folder));
    QString shownAt;
    test::WhenModal([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        shownAt = dialog->directory().absolutePath();
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const std::string chosen = PickFolder(" " + TextFromFsPath(folder) + " ");
    EXPECT_EQ(shownAt, folder);
    EXPECT_EQ(chosen, TextFromFsPath(folder));
}

TEST(OpenWithShell, StandInSeesTargetsInsteadOfTheDesktop) {
    ScopedShellStandIn shell;
    std::vector<std::string> seen;
    shell.opened = [&](const std::string& how, const std::string& target) {
        seen.push_back(how + ":" + target);
    };
    OpenWithShell("http://127.0.0.1/a.jpg");
    OpenInExplorer(T("/tmp/下载"));
    OpenWithShell(""); // nothing to open
    EXPECT_EQ(seen, (std::vector<std::string>{"shell:http://127.0.0.1/a.jpg",
                                              "explorer:" + T("/tmp/下载")}));
}
