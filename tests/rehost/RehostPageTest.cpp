#include "rehost/ui/RehostPage.h"

#include "app/Md5.h"
#include "app/Wait.h"
#include "app/ui/MessageBox.h"
#include "app/ui/Shell.h"
#include "app/ui/StateListView.h"
#include "fs/Files.h"
#include "settings/SettingsStore.h"
#include "settings/ui/WindowControls.h"
#include "support/LocalHttpServer.h"
#include "support/TempFolder.h"
#include "text/Encoding.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace tuji {
namespace {

template <typename W> W* Find(QWidget& page, const char* name) {
    return page.findChild<W*>(QString::fromUtf8(name));
}

TEST(RehostPage, EveryControlOfTheFormAtItsPlace) {
    RehostPage page;
    EXPECT_EQ(page.windowTitle(), QString::fromUtf8("转存文章图片"));
    EXPECT_EQ(page.size(), QSize(830, 510));
    EXPECT_EQ(page.property("settingsSection").toString(), QString::fromUtf8("转存图片"));
    struct Place {
        const char* name;
        QRect rect;
        const char* text;
    } places[] = {
        {"标签1", {13, 16, 80, 28}, "文章目录："},
        {"编辑框文章目录", {93, 16, 673, 28}, "C:\\文章目录"},
        {"编辑框过滤", {704, 18, 60, 24}, "*.htm"},
        {"按钮选择", {768, 16, 48, 28}, ".."},
        {"进度条", {13, 16, 803, 28}, nullptr},
        {"标签2", {13, 56, 80, 28}, "保存目录："},
        {"编辑框图片存放目录", {93, 56, 387, 28}, "files\\img"},
        {"按钮开始转存", {484, 56, 176, 28}, "开始转存"},
        {"组合框线程数", {664, 58, 150, 28}, nullptr},
        {"超级列表框", {13, 96, 803, 328}, nullptr},
        {"标签3", {13, 437, 75, 24}, "相对旧域："},
        {"编辑框相对旧域", {93, 437, 300, 24}, ""},
        {"标签5", {437, 438, 75, 24}, "相对新域："},
        {"编辑框相对新域", {517, 438, 300, 24}, ""},
        {"标签4", {13, 471, 75, 24}, "排除地址："},
        {"编辑框排除地址", {93, 471, 724, 24}, ""},
    };
    for (const Place& p : places) {
        QWidget* w = Find<QWidget>(page, p.name);
        ASSERT_NE(w, nullptr) << p.name;
        EXPECT_EQ(w->geometry(), p.rect) << p.name;
        if (!p.text) continue;
        QString text;
        if (auto* l = qobject_cast<QLabel*>(w)) text = l->text();
        if (auto* e = qobject_cast<QLineEdit*>(w)) text = e->text();
        if (auto* b = qobject_cast<QPushButton*>(w)) text = b->text();
        EXPECT_EQ(text, QString::fromUtf8(p.text)) << p.name;
    }
    // The filter lies over the folder box; the label reads over the bar.
    QWidget* folder = Find<QWidget>(page, "编辑框文章目录");
    QWidget* filter = Find<QWidget>(page, "编辑框过滤");
    EXPECT_GT(page.children().indexOf(filter), page.children().indexOf(folder));
    auto* bar = Find<QProgressBar>(page, "进度条");
    auto* label = Find<QLabel>(page, "透明标签");
    EXPECT_EQ(label->parentWidget(), bar);
    EXPECT_EQ(label->geometry(), QRect(10, 0, 783, 28)); // the bar less 20
    EXPECT_TRUE(bar->isHidden());

    auto* threads = Find<QComboBox>(page, "组合框线程数");
    ASSERT_EQ(threads->count(), 10);
    EXPECT_EQ(threads->currentIndex(), 4);
    EXPECT_EQ(threads->itemText(0), QString::fromUtf8("1 个线程下载图片"));
    auto* list = Find<StateListView>(page, "超级列表框");
    EXPECT_EQ(list->listModel()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              QString::fromUtf8("存放位置"));
    EXPECT_EQ(list->listModel()->columnCount(), 2);
    EXPECT_EQ(list->listModel()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
              QString::fromUtf8("下载地址"));
    EXPECT_EQ(list->columnWidth(0), 350);
    EXPECT_EQ(list->columnWidth(1), 250);
}

// No server here: these never download.
class RehostPageIdle : public ::testing::Test {
protected:
    void SetUp() override {
        Find<QLineEdit>(page, "编辑框文章目录")->setText(ToQString(folder.path()));
        shell.opened = [this](const std::string& how, const std::string& target) {
            opened.push_back(how + " " + target);
        };
    }

    test::TempFolder folder;
    ScopedShellStandIn shell;
    std::vector<std::string> opened;
    RehostPage page;
};

TEST_F(RehostPageIdle, RightClickListsBySearchAndNoFilesGivesThePlainMessage) {
    std::vector<MessageRequest> boxes;
    ScopedMessageResponder responder([&](const MessageRequest& r) {
        boxes.push_back(r);
        return MessageButton::Ok;
    });
    Find<QLineEdit>(page, "编辑框过滤")->setText("*.txt");
    auto* start = Find<QPushButton>(page, "按钮开始转存");
    emit start->customContextMenuRequested(QPoint(5, 5));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, T("在这个目录下‘") + folder.path() + T("’找不到‘*.txt’类型的文件！"));
    EXPECT_EQ(boxes[0].title, T("信息："));
    EXPECT_EQ(boxes[0].style & 7, MessageStyle::Ok);
    EXPECT_EQ(start->text(), QString::fromUtf8("开始转存"));
}

TEST_F(RehostPageIdle, PickButtonPicksIntoTheBoxAndRightClickOpensTheFolder) {
    shell.pickFolder = [](const std::string&, const std::string&) {
        return std::string("/chosen");
    };
    auto* pick = Find<QPushButton>(page, "按钮选择");
    pick->click();
    EXPECT_EQ(Find<QLineEdit>(page, "编辑框文章目录")->text(), QString("/chosen"));
    emit pick->customContextMenuRequested(QPoint(1, 1));
    EXPECT_EQ(opened, std::vector<std::string>{"explorer /chosen"});
}

TEST(RehostPage, ControlsComeBackFromItsSettingsSection) {
    test::TempFolder tmp;
    SettingsStore store;
    ASSERT_TRUE(store.Open(tmp.file("s.ini"), SettingsMode::Memory));
    {
        RehostPage page;
        Find<QLineEdit>(page, "编辑框文章目录")->setText(QString::fromUtf8("/站点/文章"));
        Find<QLineEdit>(page, "编辑框过滤")->setText("*.html|*.htm");
        Find<QLineEdit>(page, "编辑框图片存放目录")->setText("uploads\\pics");
        Find<QLineEdit>(page, "编辑框相对旧域")->setText("old.example");
        Find<QLineEdit>(page, "编辑框相对新域")->setText("new.example");
        Find<QLineEdit>(page, "编辑框排除地址")->setText("ads|*.svg");
        Find<QComboBox>(page, "组合框线程数")->setCurrentIndex(2);
        SaveWindowControls(store, &page, RehostSection());
    }
    RehostPage page;
    RestoreWindowControls(store, &page, RehostSection());
    RehostInputs in = page.Inputs();
    EXPECT_EQ(in.articleFolder, T("/站点/文章"));
    EXPECT_EQ(in.filter, "*.html|*.htm");
    EXPECT_EQ(in.imageFolder, "uploads\\pics");
    EXPECT_EQ(in.oldDomain, "old.example");
    EXPECT_EQ(in.newDomain, "new.example");
    EXPECT_EQ(in.excluded, "ads|*.svg");
    EXPECT_EQ(page.ThreadCountIndex(), 2);
    EXPECT_EQ(FromQString(Find<QPushButton>(page, "按钮开始转存")->text()), T("开始转存"));
}

class RehostPageRun : public ::testing::Test {
protected:
    void SetUp() override {
        SetWaitScale(0.01);
        ServedResponse slow = ServedResponse::Bytes("GIF89a-page");
        slow.delay = std::chrono::milliseconds(400);
        server.Serve("/a.gif", slow);
        ASSERT_TRUE(server.Start());
        ASSERT_TRUE(WriteFileBytes(folder.file("x.htm"), "<img src=/a.gif>"));
        Find<QLineEdit>(page, "编辑框文章目录")->setText(ToQString(folder.path()));
        Find<QLineEdit>(page, "编辑框相对旧域")
            ->setText(QString("127.0.0.1:%1").arg(server.Port()));
        shell.opened = [this](const std::string& how, const std::string& target) {
            opened.push_back(how + " " + target);
        };
    }
    void TearDown() override { SetWaitScale(1.0); }

    using ServedResponse = test::ServedResponse;
    test::LocalHttpServer server;
    test::TempFolder folder;
    ScopedShellStandIn shell;
    std::vector<std::string> opened;
    RehostPage page;
};

TEST_F(RehostPageRun, ClickRunsTheJobWithLockedBoxesAndAsksToOpenTheResults) {
    std::vector<MessageRequest> boxes;
    ScopedMessageResponder responder([&](const MessageRequest& r) {
        boxes.push_back(r);
        return MessageButton::Yes;
    });
    auto* start = Find<QPushButton>(page, "按钮开始转存");
    bool sawRunning = false;
    QTimer::singleShot(150, &page, [&] {
        sawRunning = true;
        EXPECT_EQ(start->text(), QString::fromUtf8("停止转存"));
        EXPECT_FALSE(Find<QProgressBar>(page, "进度条")->isHidden());
        EXPECT_EQ(Find<QLabel>(page, "透明标签")->text(), QString::fromUtf8("(1:1)x"));
        for (const char* name :
             {"编辑框图片存放目录", "编辑框相对旧域", "编辑框相对新域", "编辑框排除地址"})
            EXPECT_FALSE(Find<QWidget>(page, name)->isEnabled()) << name;
        for (const char* name : {"编辑框文章目录", "编辑框过滤", "组合框线程数"})
            EXPECT_TRUE(Find<QWidget>(page, name)->isEnabled()) << name;
        EXPECT_EQ(Find<StateListView>(page, "超级列表框")->rowCount(), 1);
    });
    start->click();

    EXPECT_TRUE(sawRunning);
    EXPECT_EQ(start->text(), QString::fromUtf8("开始转存"));
    EXPECT_TRUE(Find<QProgressBar>(page, "进度条")->isHidden());
    EXPECT_TRUE(Find<QWidget>(page, "编辑框相对旧域")->isEnabled());
    EXPECT_EQ(Find<StateListView>(page, "超级列表框")->rowCount(), 0);
    const std::string results = folder.path() + "/" + T("转存结果") + "/";
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              T("转存完成。转存结果保存在这个目录：") + results + T("\r\n\r\n请问是否打开它？"));
    EXPECT_EQ(boxes[0].title, T("信息："));
    EXPECT_EQ(boxes[0].style & MessageStyle::IconMask, 0);
    EXPECT_EQ(boxes[0].style & MessageStyle::SystemModal, 0);
    EXPECT_EQ(boxes[0].style & 7, MessageStyle::YesNo);
    EXPECT_EQ(opened, std::vector<std::string>{"explorer " + results});
    EXPECT_EQ(ReadFileBytes(results + "x.htm"),
              "<img src=/files/img/" + ShortHash("GIF89a-page") + ".gif>");
}

TEST_F(RehostPageRun, SecondPressStopsAndShowsStopping) {
    ScopedMessageResponder responder([](const MessageRequest&) { return MessageButton::No; });
    auto* start = Find<QPushButton>(page, "按钮开始转存");
    QString during;
    QTimer::singleShot(100, &page, [&] {
        start->click();
        during = start->text();
    });
    start->click();
    EXPECT_EQ(during, QString::fromUtf8("正在停止中.."));
    EXPECT_EQ(start->text(), QString::fromUtf8("开始转存"));
    EXPECT_TRUE(opened.empty());
}

} // namespace
} // namespace tuji

namespace tuji {
namespace {

// An article with ten thousand references: the window keeps handling its
// events all through the job (how long its longest pause is, is the
// benchmark's business), and every reference is rewritten.
TEST(RehostPageLarge, TenThousandReferencesKeepTheWindowAlive) {
    test::TempFolder folder;
    std::string article;
    for (int i = 0; i < 10000; ++i)
        article += "<p><img src=\"http://h.example/p/" + std::to_string(i) + ".jpg\"></p>\n";
    ASSERT_TRUE(WriteFileBytes(folder.file("big.htm"), article));

    RehostPage page;
    Find<QLineEdit>(page, "编辑框文章目录")->setText(ToQString(folder.path()));
    Find<QComboBox>(page, "组合框线程数")->setCurrentIndex(9);
    // In-process answers: this test is about the job and the window, not the web.
    page.Job().SetDownloader([](const std::string& address) { return "GIF89a" + address; });
    ScopedMessageResponder responder([](const MessageRequest&) { return MessageButton::No; });

    int ticks = 0;
    int mostRows = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        mostRows = std::max(mostRows, Find<StateListView>(page, "超级列表框")->rowCount());
    });
    timer.start(20);
    Find<QPushButton>(page, "按钮开始转存")->click();
    timer.stop();

    EXPECT_GT(ticks, 0);
    EXPECT_EQ(mostRows, 10000);
    const std::string result = ReadFileBytes(folder.path() + "/" + T("转存结果") + "/big.htm");
    EXPECT_EQ(result.find("h.example"), std::string::npos);
    EXPECT_EQ(std::count(result.begin(), result.end(), '\n'), 10000);
}

} // namespace
} // namespace tuji
