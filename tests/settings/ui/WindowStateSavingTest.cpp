#include "settings/ui/WindowStateSaving.h"

#include "app/ui/MainWindow.h"
#include "app/ui/MessageBox.h"
#include "fs/Files.h"
#include "support/TempFolder.h"
#include "text/Encoding.h"
#include "text/TextOps.h"

#include <QCheckBox>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace tuji {
namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// A page with one edit box "编辑框保存目录" and one check box.
QWidget* MakePage(QWidget* owner) {
    auto* page = new QWidget(owner, Qt::Window);
    auto* folder = new QLineEdit(U("form"), page);
    folder->setObjectName(U("编辑框保存目录"));
    auto* box = new QCheckBox(page);
    box->setObjectName(U("选择框包含子文件夹"));
    return page;
}

QLineEdit* FolderBox(QWidget* page) {
    return page->findChild<QLineEdit*>(U("编辑框保存目录"));
}

// The image modification page keeps keys beside its controls.
class PageWithExtras : public QWidget, public PageSettingsSteps {
public:
    explicit PageWithExtras(QWidget* owner) : QWidget(owner, Qt::Window) {}
    void RestoreExtraSettings(SettingsStore& store) override {
        section = store.Section();
        fontName = store.ReadText(T("文字.字体名称"), "Sans");
    }
    void SaveExtraSettings(SettingsStore& store) override {
        store.WriteText(T("文字.字体名称"), fontName);
    }
    std::string section, fontName;
};

class WindowStateSavingTest : public testing::Test {
protected:
    void SetUp() override { path = dir.file(T("岚舟·图集工坊.ini")); }
    // The start routine: open the store, create the window with its pages.
    void Start() {
        ASSERT_TRUE(store.Open(path));
        window = std::make_unique<MainWindow>();
        for (int i = 0; i < 3; ++i)
            window->setPageFactory(i, MakePage);
        window->setPageFactory(3, [this](QWidget* owner) {
            extras = new PageWithExtras(owner);
            return extras;
        });
        saving = new WindowStateSaving(window.get(), store);
        window->show();
    }
    std::string Ini() { return ReadFileBytes(path); }

    test::TempFolder dir;
    std::string path;
    SettingsStore store;
    std::unique_ptr<MainWindow> window;
    WindowStateSaving* saving = nullptr;
    PageWithExtras* extras = nullptr;
};

TEST_F(WindowStateSavingTest, FirstRunShowsTabZeroAndClosingSavesOnlyThatPage) {
    Start();
    EXPECT_EQ(window->currentTab(), 0);
    ASSERT_TRUE(window->pageIfCreated(0));
    EXPECT_FALSE(window->pageIfCreated(1));
    EXPECT_EQ(FolderBox(window->pageIfCreated(0))->text(), "form");
    window->close();
    EXPECT_EQ(Ini(), T("[主界面]\r\n当前功能项=0\r\n[采集图片]\r\n选择框包含子文件夹=假\r\n"
                       "编辑框保存目录=form"));
}

TEST_F(WindowStateSavingTest, TheStoredTabOpensItsPageFirstWithItsControls) {
    ASSERT_TRUE(WriteFileBytes(path, T("[主界面]\r\n当前功能项=2\r\n[转存图片]\r\n"
                                       "编辑框保存目录=/data/articles")));
    Start();
    EXPECT_EQ(window->currentTab(), 2);
    ASSERT_TRUE(window->pageIfCreated(2));
    EXPECT_FALSE(window->pageIfCreated(0));
    EXPECT_EQ(FolderBox(window->pageIfCreated(2))->text(), "/data/articles");
    window->setCurrentTab(0);
    ASSERT_TRUE(window->pageIfCreated(0));
    EXPECT_EQ(FolderBox(window->pageIfCreated(0))->text(), "form"); // its own section is empty
}

TEST_F(WindowStateSavingTest, AStoredTabOutsideTheStripLeavesTabZero) {
    ASSERT_TRUE(WriteFileBytes(path, T("[主界面]\r\n当前功能项=7")));
    Start();
    EXPECT_EQ(window->currentTab(), 0);
    EXPECT_TRUE(window->pageIfCreated(0));
}

TEST_F(WindowStateSavingTest, HeaderSaveSavesAPageShownAndHiddenAgain) {
    Start();
    window->setCurrentTab(1);
    FolderBox(window->pageIfCreated(1))->setText("/data/batch");
    window->setCurrentTab(0);
    std::vector<MessageRequest> shown;
    {
        ScopedMessageResponder responder([&](const MessageRequest& r) {
            shown.push_back(r);
            return MessageButton::Ok;
        });
        emit window->saveRequested();
    }
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, T("保存完毕！"));
    EXPECT_EQ(shown[0].title, T("岚舟："));
    EXPECT_EQ(shown[0].style & MessageStyle::IconMask, MessageStyle::IconInformation);
    EXPECT_EQ(shown[0].style & 0x0F, MessageStyle::Ok);
    EXPECT_TRUE(window->isVisible()); // saving does not close
    EXPECT_TRUE(ContainsText(Ini(), T("[下载图片]")));
    EXPECT_TRUE(ContainsText(Ini(), T("编辑框保存目录=/data/batch")));
    EXPECT_TRUE(ContainsText(Ini(), T("当前功能项=0")));
    EXPECT_FALSE(ContainsText(Ini(), T("[转存图片]")));
    EXPECT_TRUE(saving->PageWasCreated(1));
    EXPECT_FALSE(saving->PageWasCreated(2));
}

TEST_F(WindowStateSavingTest, ExtraStepsRunInThePagesSection) {
    ASSERT_TRUE(WriteFileBytes(path, T("[主界面]\r\n当前功能项=3\r\n[修改图片]\r\n"
                                       "文字.字体名称=宋体")));
    Start();
    ASSERT_TRUE(extras);
    EXPECT_EQ(extras->section, T("修改图片"));
    EXPECT_EQ(extras->fontName, T("宋体"));
    extras->fontName = T("黑体");

    // A callback registered for a tab runs after the page's own steps.
    std::vector<std::string> calls;
    saving->setPageSteps(3, {}, [&](SettingsStore& s, QWidget*) { calls.push_back(s.Section()); });
    window->close();
    EXPECT_EQ(calls, (std::vector<std::string>{T("修改图片")}));
    EXPECT_TRUE(ContainsText(Ini(), T("文字.字体名称=黑体")));
}

TEST_F(WindowStateSavingTest, APageNamesItsSectionByProperty) {
    ASSERT_TRUE(store.Open(path));
    window = std::make_unique<MainWindow>();
    window->setPageFactory(0, [](QWidget* owner) {
        QWidget* page = MakePage(owner);
        page->setProperty(kSettingsSectionProperty, U("别的节"));
        return page;
    });
    new WindowStateSaving(window.get(), store);
    window->show();
    FolderBox(window->pageIfCreated(0))->setText("x");
    window->pageIfCreated(0)->close(); // a page saves itself when asked to close
    EXPECT_TRUE(ContainsText(Ini(), T("[别的节]\r\n选择框包含子文件夹=假\r\n编辑框保存目录=x")));
    EXPECT_FALSE(ContainsText(Ini(), T("[采集图片]")));
}

} // namespace
} // namespace tuji
