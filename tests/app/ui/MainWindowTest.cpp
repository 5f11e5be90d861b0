#include "app/ui/MainWindow.h"

#include "app/ui/LinkLabel.h"
#include "app/ui/PageJob.h"
#include "app/ui/Shell.h"

#include <QFileInfo>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <array>
#include <gtest/gtest.h>

using namespace tuji;

namespace {

QString U(const char* s) {
    return QString::fromUtf8(s);
}

// A main window whose pages count how often they are made.
struct HostedWindow {
    MainWindow window;
    std::array<int, kPageCount> made{};
    std::vector<std::pair<int, bool>> createdEvents; // index, visible at the time

    HostedWindow() {
        window.logoTimer()->stop();
        for (int i = 0; i < kPageCount; ++i)
            window.setPageFactory(i, [this, i](QWidget* owner) {
                ++made[size_t(i)];
                auto* page = new QWidget(owner, Qt::Window);
                page->setWindowTitle(U(PageTitle(i)));
                page->resize(830, 510);
                return page;
            });
        QObject::connect(&window, &MainWindow::pageCreated, [this](int index, QWidget* page) {
            createdEvents.emplace_back(index, page->isVisible());
        });
    }
};

} // namespace

TEST(MainWindow, FormTitleSizeAndTabCaptions) {
    MainWindow window;
    EXPECT_EQ(window.windowTitle(),
              U("岚舟·图集工坊 v1.0 - 关键词采集图片、批量下载图片列表、转存文章图片、修改图片"));
    EXPECT_EQ(window.size(), QSize(850, 670));
    EXPECT_EQ(window.pos(), QPoint(50, 50));
    const QStringList captions = {U(" 关键词采集全网图片 "), U(" 批量下载图片列表 "),
                                  U(" 转存本地文章的图片 "), U(" 修改图片MD5、水印、尺寸、格式 ")};
    ASSERT_EQ(window.tabStrip()->count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(window.tabStrip()->tabText(i), captions[i]) << i;
    EXPECT_EQ(window.logoTimer()->interval(), 20);
    EXPECT_TRUE(window.logoTimer()->isActive());
}

TEST(MainWindow, ControlsCarryTheirFormNamesAndPlaces) {
    MainWindow window;
    struct Expected {
        const char* name;
        QRect place; // empty = not checked
    };
    const Expected controls[] = {
        {"图片框", {0, 0, 1000, 90}},         {"选择夹", {0, 90, 984, 36}},
        {"图片保存配置", {15, 0, 64, 64}},    {"文字保存配置", {15, 64, 64, 24}},
        {"图片疑点说明", {90, 0, 64, 64}},    {"文字疑点说明", {90, 64, 64, 24}},
        {"图片呼叫QQ", {168, 0, 64, 64}},     {"文字呼叫QQ", {168, 64, 64, 24}},
        {"图片软件主页", {245, 0, 64, 64}},   {"文字软件主页", {245, 64, 64, 24}},
        {"图片岚舟软件", {360, 12, 195, 64}}, {"标签10", {-1, 88, 1200, 2}},
    };
    for (const auto& c : controls) {
        auto* widget = window.findChild<QWidget*>(U(c.name));
        ASSERT_NE(widget, nullptr) << c.name;
        EXPECT_EQ(widget->geometry(), c.place) << c.name;
    }
    EXPECT_NE(window.findChild<QTimer*>(U("时钟官网")), nullptr);
    EXPECT_EQ(window.findChild<QWidget*>(U("图片保存配置"))->parentWidget(), window.header());
}

TEST(MainWindow, OnlyTheCurrentPageIsCreatedHiddenFirst) {
    HostedWindow h;
    h.window.show();
    EXPECT_EQ(h.made, (std::array<int, 4>{1, 0, 0, 0}));
    ASSERT_EQ(h.createdEvents.size(), 1u);
    EXPECT_EQ(h.createdEvents[0], std::make_pair(0, false));
    QWidget* page = h.window.pageIfCreated(0);
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(page->isWindow());
    EXPECT_EQ(page->parentWidget(), &h.window);
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(page->geometry(), QRect(0, 126, 850, 670 - 126));
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(h.window.pageIfCreated(i), nullptr);
}

TEST(MainWindow, SwitchingKeepsPagesAlive) {
    HostedWindow h;
    h.window.show();
    QWidget* first = h.window.pageIfCreated(0);
    h.window.setCurrentTab(2);
    QWidget* third = h.window.pageIfCreated(2);
    ASSERT_NE(third, nullptr);
    EXPECT_TRUE(third->isVisible());
    EXPECT_FALSE(first->isVisible());
    EXPECT_EQ(h.window.shownPage(), third);

    h.window.setCurrentTab(0);
    h.window.setCurrentTab(2);
    h.window.showCurrentPage(); // the shown page again: nothing happens
    h.window.setCurrentTab(7);  // no such tab
    EXPECT_EQ(h.window.currentTab(), 2);
    EXPECT_EQ(h.window.pageIfCreated(0), first);
    EXPECT_EQ(h.window.pageIfCreated(2), third);
    EXPECT_EQ(h.made, (std::array<int, 4>{1, 0, 1, 0}));
    EXPECT_TRUE(third->isVisible());
    EXPECT_FALSE(first->isVisible());
}

TEST(MainWindow, RestoredTabIsTheFirstPageShown) {
    HostedWindow h;
    int hookRuns = 0;
    bool signalled = false;
    h.window.restoreLastTab = [&] {
        ++hookRuns;
        h.window.setCurrentTab(2);
    };
    QObject::connect(&h.window, &MainWindow::aboutToShowFirstPage, [&] {
        signalled = true;
        EXPECT_EQ(h.window.pageIfCreated(2), nullptr); // before any page exists
    });
    h.window.show();
    h.window.hide();
    h.window.show();
    EXPECT_EQ(hookRuns, 1);
    EXPECT_TRUE(signalled);
    EXPECT_EQ(h.made, (std::array<int, 4>{0, 0, 1, 0}));
}

TEST(MainWindow, ResizeMovesHeaderAndTabsButNotThePage) {
    HostedWindow h;
    h.window.show();
    QWidget* page = h.window.pageIfCreated(0);
    const QSize before = page->size();
    h.window.resize(1100, 800);
    EXPECT_EQ(h.window.header()->geometry(), QRect(0, 0, 1100, 90));
    EXPECT_EQ(h.window.tabStrip()->geometry(), QRect(0, 90, 1100, 800));
    EXPECT_EQ(page->size(), before);

    h.window.setCurrentTab(1);
    EXPECT_EQ(h.window.pageIfCreated(1)->geometry(), QRect(0, 126, 1100, 800 - 126));
    h.window.setCurrentTab(0);
    EXPECT_EQ(page->geometry(), QRect(0, 126, 1100, 800 - 126));
}

TEST(MainWindow, TabWithoutFactoryShowsTitledEmptyFrame) {
    MainWindow window;
    window.show();
    window.setCurrentTab(3);
    QWidget* page = window.pageIfCreated(3);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->windowTitle(), U("修改图片"));
    EXPECT_TRUE(page->isVisible());
}

TEST(MainWindow, LogoTurnsAtItsTwoBounds) {
    MainWindow window;
    window.logoTimer()->stop();
    window.resize(850, 670);
    // Right bound: the logo's right edge may reach client width - 20.
    int lowest = 10000, highest = -1, turns = 0;
    bool direction = window.logoMovesLeft();
    for (int tick = 0; tick < 2000; ++tick) {
        window.tickLogo();
        lowest = std::min(lowest, window.logo()->x());
        highest = std::max(highest, window.logo()->x());
        if (window.logoMovesLeft() != direction) {
            ++turns;
            direction = window.logoMovesLeft();
        }
        EXPECT_EQ(window.logo()->y(), 12);
    }
    EXPECT_GE(turns, 4);
    EXPECT_EQ(highest, 850 - 214);    // one pixel beyond the bound, then back
    EXPECT_EQ(lowest, 245 + 64 + 20); // 20 pixels right of the home-page button
}

TEST(MainWindow, LogoBoundFollowsTheClientWidth) {
    MainWindow window;
    window.logoTimer()->stop();
    window.resize(700, 670);
    int highest = -1;
    for (int tick = 0; tick < 1000; ++tick) {
        window.tickLogo();
        highest = std::max(highest, window.logo()->x());
    }
    EXPECT_EQ(highest, 700 - 214);
}

TEST(MainWindow, HeaderActionsReachTheirHooks) {
    MainWindow window;
    int saves = 0, notes = 0, closings = 0;
    QObject::connect(&window, &MainWindow::saveRequested, [&] { ++saves; });
    QObject::connect(&window, &MainWindow::notesRequested, [&] { ++notes; });
    QObject::connect(&window, &MainWindow::closing, [&] { ++closings; });
    window.findChild<QToolButton*>(U("图片保存配置"))->click();
    emit window.findChild<LinkLabel*>(U("文字保存配置"))->pressed();
    window.findChild<QToolButton*>(U("图片疑点说明"))->click();
    EXPECT_EQ(saves, 2);
    EXPECT_EQ(notes, 1);

    ScopedShellStandIn shell;
    std::vector<std::string> opened;
    shell.opened = [&](const std::string& how, const std::string& target) {
        opened.push_back(how + " " + target);
    };
    window.findChild<QToolButton*>(U("图片软件主页"))->click();
    window.findChild<QToolButton*>(U("图片呼叫QQ"))->click();
    window.findChild<QToolButton*>(U("图片岚舟软件"))->click();
    ASSERT_EQ(opened.size(), 3u);
    const auto* home = window.findChild<LinkLabel*>(U("文字软件主页"));
    EXPECT_EQ(opened[0], "shell " + home->target());
    for (const auto& entry : opened) {
        // Every target is a bundled help page that exists on disk.
        const QUrl url(QString::fromStdString(entry.substr(6)));
        EXPECT_TRUE(url.isLocalFile()) << entry;
        EXPECT_TRUE(QFileInfo::exists(url.toLocalFile())) << entry;
    }

    window.show();
    window.close();
    EXPECT_EQ(closings, 1);
}

namespace {
struct PageWithJob : QWidget, PageJob {
    explicit PageWithJob(QWidget* owner) : QWidget(owner, Qt::Window) {}
    void StopRunningJob() override { ++stops; }
    int stops = 0;
};
} // namespace

TEST(MainWindow, ClosingAsksEveryCreatedPageToStopItsJob) {
    MainWindow window;
    window.logoTimer()->stop();
    std::array<PageWithJob*, kPageCount> made{};
    for (int i = 0; i < kPageCount; ++i)
        window.setPageFactory(
            i, [&made, i](QWidget* owner) { return made[size_t(i)] = new PageWithJob(owner); });
    int closings = 0;
    QObject::connect(&window, &MainWindow::closing, [&] {
        ++closings;
        EXPECT_EQ(made[0]->stops, 0); // the save sequence runs first
    });
    window.show();
    window.setCurrentTab(2);
    window.close();
    EXPECT_EQ(closings, 1);
    EXPECT_EQ(made[0]->stops, 1);
    EXPECT_EQ(made[1], nullptr); // never shown, never made
    EXPECT_EQ(made[2]->stops, 1);
}
