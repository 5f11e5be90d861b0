#include "collect/ui/KeywordPage.h"

#include "FakeSearchService.h"
#include "app/Paths.h"
#include "app/Wait.h"
#include "app/ui/Clipboard.h"
#include "app/ui/MessageBox.h"
#include "app/ui/Shell.h"
#include "app/ui/StateListView.h"
#include "settings/ProgramSettings.h"
#include "settings/ui/WindowControls.h"
#include "support/ModalDriver.h"
#include "support/TempFolder.h"
#include "text/Encoding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace tuji {
namespace {

template <typename W = QWidget> W* Find(QWidget& page, const char* name) {
    W* w = page.findChild<W*>(QString::fromUtf8(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// What a right click reaches a control as, after the press itself.
void RightClick(QWidget* w) {
    QPoint at(5, 5);
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, w->mapToGlobal(at));
    QCoreApplication::sendEvent(w, &request);
}

TEST(KeywordPage, FormControlsAtTheirPlaces) {
    KeywordPage page;
    EXPECT_EQ(page.windowTitle(), QString::fromUtf8("关键词采集图片"));
    EXPECT_EQ(page.size(), QSize(830, 510));
    struct Place {
        const char* name;
        QRect rect;
    } places[] = {
        {"标签1", {14, 16, 96, 24}},
        {"编辑框关键词列表", {110, 16, 323, 24}},
        {"按钮粘贴", {436, 16, 40, 24}},
        {"按钮输入关键词", {478, 16, 28, 24}},
        {"组合框尺寸", {508, 16, 100, 24}},
        {"组合框类型", {612, 16, 100, 24}},
        {"组合框颜色", {716, 16, 100, 24}},
        {"超级列表框", {12, 43, 805, 336}},
        {"标签2", {12, 388, 80, 24}},
        {"编辑框保存目录", {92, 388, 488, 24}},
        {"按钮选择目录", {585, 388, 40, 24}},
        {"标签4", {641, 388, 120, 24}},
        {"编辑框最多图片数", {764, 388, 53, 24}},
        {"标签3", {12, 420, 80, 24}},
        {"选择框仅保存图片地址", {502, 420, 136, 24}},
        {"组合框线程数", {642, 420, 174, 23}},
        {"按钮开始采集", {12, 454, 805, 42}},
    };
    for (const auto& p : places)
        if (QWidget* w = Find(page, p.name)) {
            EXPECT_EQ(w->geometry(), p.rect) << p.name;
        }
    const std::pair<const char*, int> radios[] = {{"单选框原图片名", 92},
                                                  {"单选框原图片路径", 193},
                                                  {"单选框图片标题", 305},
                                                  {"单选框自动命名", 401}};
    for (const auto& [name, x] : radios)
        if (auto* r = Find<QRadioButton>(page, name)) {
            EXPECT_EQ(r->x(), x) << name;
            EXPECT_EQ(r->y(), 420) << name;
            EXPECT_EQ(r->isChecked(), std::string(name) == "单选框图片标题") << name;
        }
    EXPECT_EQ(EditBoxText(Find(page, "编辑框关键词列表")), T("猫|外星人"));
    EXPECT_EQ(Find(page, "编辑框关键词列表")->property("tag").toString(),
              QString::fromUtf8("字节集方式"));
    EXPECT_EQ(Find<QLineEdit>(page, "编辑框最多图片数")->text(), QString::fromUtf8("全部"));
    auto* threads = Find<QComboBox>(page, "组合框线程数");
    EXPECT_EQ(threads->count(), 10);
    EXPECT_EQ(threads->currentText(), QString::fromUtf8("5 个线程下载图片"));
    EXPECT_EQ(Find<QComboBox>(page, "组合框颜色")->count(), 13);
    EXPECT_EQ(Find<QPushButton>(page, "按钮开始采集")->text(), QString::fromUtf8("开始采集"));
    StateListView* list = page.List();
    EXPECT_EQ(list->listModel()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              QString::fromUtf8("存放位置"));
    EXPECT_EQ(list->columnWidth(0), 450);
    EXPECT_EQ(list->columnWidth(1), 350);
    EXPECT_EQ(list->columnWidth(2), 0);
    EXPECT_EQ(page.Job().NamingMode(), kNameTitle);
}

QString TextOf(QWidget* w) {
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    return {};
}

QStringList ItemsOf(QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

TEST(KeywordPage, CaptionsChoicesAndColumnsReadAsTheForm) {
    KeywordPage page;
    const std::pair<const char*, const char*> texts[] = {
        {"标签1", "关键词列表："},
        {"按钮粘贴", "粘贴"},
        {"按钮输入关键词", ".."},
        {"标签2", "保存目录："},
        {"编辑框保存目录", "若没有指定目录，将保存到软件目录下的“关键词目录”"},
        {"按钮选择目录", ".."},
        {"标签4", "最多采集图片数："},
        {"标签3", "保存名称："},
        {"单选框原图片名", "原图片名"},
        {"单选框原图片路径", "原图片路径"},
        {"单选框图片标题", "图片标题"},
        {"单选框自动命名", "自动命名"},
        {"选择框仅保存图片地址", "仅保存图片地址"},
    };
    for (const auto& [name, text] : texts)
        if (QWidget* w = Find(page, name)) {
            EXPECT_EQ(TextOf(w), QString::fromUtf8(text)) << name;
        }
    EXPECT_FALSE(Find<QCheckBox>(page, "选择框仅保存图片地址")->isChecked());

    const std::pair<const char*, const char*> choices[] = {
        {"组合框尺寸", "全部尺寸|大尺寸|中尺寸|小尺寸|壁纸尺寸"},
        {"组合框类型", "全部类型|动态类型|静态类型"},
        {"组合框颜色", "全部颜色|红色(red)|橙色(orange)|黄色(yellow)|绿色(green)|青色(grass)|"
                       "蓝色(blue)|紫色(purple)|粉红色(pink)|棕色(brown)|黑色(black)|"
                       "白色(white)|黑白(bandw)"},
    };
    for (const auto& [name, items] : choices)
        if (auto* box = Find<QComboBox>(page, name)) {
            EXPECT_EQ(ItemsOf(box).join('|'), QString::fromUtf8(items)) << name;
            EXPECT_EQ(box->currentIndex(), 0) << name;
        }

    QAbstractItemModel* columns = page.List()->listModel();
    EXPECT_EQ(columns->columnCount(), 3);
    EXPECT_EQ(columns->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
              QString::fromUtf8("图片地址"));
    EXPECT_EQ(columns->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(),
              QString::fromUtf8("图片标题"));
}

// A click on a row as the mouse gives it: the right button opens the row's
// image address, the left button does nothing.
TEST(KeywordPage, RightButtonOnARowOpensItsAddress) {
    KeywordPage page;
    page.show();
    page.AppendRow(0, "a.jpg", "http://127.0.0.1/a.jpg", "t");
    page.AppendRow(0, "b.jpg", "http://127.0.0.1/b.jpg", "t");
    QCoreApplication::processEvents();
    ScopedShellStandIn shell;
    std::vector<std::string> opened;
    shell.opened = [&](const std::string& how, const std::string& target) {
        opened.push_back(how + " " + target);
    };
    StateListView* list = page.List();
    auto press = [&](int row, Qt::MouseButton button) {
        const QPoint at = list->visualRect(list->listModel()->index(row, 1)).center();
        QMouseEvent event(QEvent::MouseButtonPress, at, list->viewport()->mapToGlobal(at), button,
                          button, Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &event);
    };
    press(1, Qt::LeftButton);
    EXPECT_TRUE(opened.empty());
    press(1, Qt::RightButton);
    EXPECT_EQ(opened, std::vector<std::string>{"shell http://127.0.0.1/b.jpg"});
}

TEST(KeywordPage, AddressOnlyDisablesThreadsAndNaming) {
    KeywordPage page;
    auto* box = Find<QCheckBox>(page, "选择框仅保存图片地址");
    box->click();
    EXPECT_FALSE(Find(page, "组合框线程数")->isEnabled());
    for (const char* n : {"单选框原图片名", "单选框原图片路径", "单选框图片标题", "单选框自动命名"})
        EXPECT_FALSE(Find(page, n)->isEnabled()) << n;
    box->click();
    EXPECT_TRUE(Find(page, "组合框线程数")->isEnabled());
    EXPECT_TRUE(Find(page, "单选框自动命名")->isEnabled());
    // Restoring a ticked box from the settings applies the rule as well.
    box->setChecked(true);
    EXPECT_FALSE(Find(page, "单选框自动命名")->isEnabled());
    Find<QRadioButton>(page, "单选框自动命名")->setChecked(true);
    EXPECT_EQ(page.Job().NamingMode(), kNameAuto);
}

TEST(KeywordPage, PasteFolderButtonAndRowClicks) {
    KeywordPage page;
    SetClipboardText(T("狗\r\n鸟"));
    Find<QPushButton>(page, "按钮粘贴")->click();
    EXPECT_EQ(EditBoxText(Find(page, "编辑框关键词列表")), T("狗\r\n鸟"));

    ScopedShellStandIn shell;
    std::vector<std::pair<std::string, std::string>> opened;
    shell.opened = [&](const std::string& how, const std::string& target) {
        opened.emplace_back(how, target);
    };
    shell.pickFolder = [](const std::string&, const std::string&) { return std::string("/x/y"); };
    auto* button = Find<QPushButton>(page, "按钮选择目录");
    button->click();
    EXPECT_EQ(Find<QLineEdit>(page, "编辑框保存目录")->text(), "/x/y");
    // Right button: a missing folder opens the program's default folder.
    RightClick(button);
    test::TempFolder tmp;
    Find<QLineEdit>(page, "编辑框保存目录")->setText(ToQString(tmp.path()));
    RightClick(button);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], std::make_pair(std::string("explorer"), DefaultKeywordFolder()));
    EXPECT_EQ(opened[1], std::make_pair(std::string("explorer"), tmp.path()));

    page.AppendRow(0, "a.jpg", "http://127.0.0.1/a.jpg", "t");
    page.OpenRowAddress(0);
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_EQ(opened[2],
              std::make_pair(std::string("shell"), std::string("http://127.0.0.1/a.jpg")));
}

TEST(KeywordPage, KeywordEditorEditsTheList) {
    KeywordPage page;
    std::string prompt;
    test::WhenModal([&](QWidget* dialog) {
        prompt = FromQString(dialog->findChild<QLabel*>(QString::fromUtf8("编辑框提示"))->text());
        auto* body = dialog->findChild<QPlainTextEdit*>(QString::fromUtf8("编辑框正文"));
        ASSERT_NE(body, nullptr);
        EXPECT_EQ(FromQString(body->toPlainText()), T("猫|外星人"));
        body->setPlainText(QString::fromUtf8("狗\n鸟"));
        dialog->findChild<QPushButton*>(QString::fromUtf8("按钮确定"))->click();
    });
    Find<QPushButton>(page, "按钮输入关键词")->click();
    EXPECT_EQ(prompt, T("请输入关键词列表，一行一个（同时支持使用|隔开多个关键词）"));
    EXPECT_EQ(EditBoxText(Find(page, "编辑框关键词列表")), T("狗\r\n鸟"));
    EXPECT_EQ(SplitKeywords(EditBoxText(Find(page, "编辑框关键词列表"))).size(), 2u);
}

TEST(KeywordPage, ControlsComeBackFromItsSettingsSection) {
    test::TempFolder tmp;
    SettingsStore store;
    ASSERT_TRUE(store.Open(tmp.file("s.ini"), SettingsMode::Memory));
    {
        KeywordPage page;
        EXPECT_EQ(FromQString(page.property("settingsSection").toString()), T("采集图片"));
        SetEditBoxText(Find(page, "编辑框关键词列表"), T("狗\r\n鸟"));
        Find<QCheckBox>(page, "选择框仅保存图片地址")->setChecked(true);
        Find<QRadioButton>(page, "单选框原图片路径")->setChecked(true);
        Find<QComboBox>(page, "组合框线程数")->setCurrentIndex(0);
        SaveWindowControls(store, &page, KeywordPageSection());
    }
    KeywordPage page;
    RestoreWindowControls(store, &page, KeywordPageSection());
    EXPECT_EQ(EditBoxText(Find(page, "编辑框关键词列表")), T("狗\r\n鸟"));
    EXPECT_EQ(page.ThreadCountIndex(), 0);
    EXPECT_EQ(page.Job().NamingMode(), kNameOriginalPath);
    EXPECT_FALSE(Find(page, "组合框线程数")->isEnabled()); // the address-only rule
}

// The whole job through the page, as a user runs it: the search service
// named in the settings file, the start button, the completion message.
TEST(KeywordPage, CollectsThroughTheStartButton) {
    SetWaitScale(0);
    test::TempFolder tmp;
    test::FakeSearchService service;
    ASSERT_TRUE(service.Start());
    SettingsStore& store = ProgramSettings();
    ASSERT_TRUE(store.Open(tmp.file("settings.ini"), SettingsMode::Memory));
    store.SelectSection(T("主界面"));
    store.WriteText(T("搜索服务"), service.BaseUrl());

    std::vector<std::string> messages;
    ScopedMessageResponder responder([&](const MessageRequest& m) {
        messages.push_back(m.text);
        return MessageButton::Ok;
    });
    KeywordPage page;
    SetEditBoxText(Find(page, "编辑框关键词列表"), T("猫|狗"));
    Find<QLineEdit>(page, "编辑框保存目录")->setText(ToQString(tmp.path()));
    Find<QLineEdit>(page, "编辑框最多图片数")->setText("25");
    Find<QRadioButton>(page, "单选框自动命名")->setChecked(true);
    auto* start = Find<QPushButton>(page, "按钮开始采集");
    start->click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], T("处理完成，共 2 个关键词，成功下载 50 张图片"));
    EXPECT_EQ(QDir(ToQString(tmp.path() + "/" + T("猫"))).entryList(QDir::Files).size(), 25);
    EXPECT_EQ(start->text(), QString::fromUtf8("开始采集"));
    EXPECT_EQ(page.List()->rowCount(), 0);
    EXPECT_TRUE(Find(page, "选择框仅保存图片地址")->isEnabled());
    store.Close();
    SetWaitScale(1);
}

} // namespace
} // namespace tuji
