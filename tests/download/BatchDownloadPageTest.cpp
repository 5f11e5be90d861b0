#include "PageFixture.h"
#include "app/ui/Clipboard.h"
#include "app/ui/Shell.h"
#include "collect/SavePath.h"
#include "fs/Files.h"
#include "settings/SettingsStore.h"
#include "settings/ui/WindowControls.h"

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

namespace tuji::test {
namespace {

TEST_F(BatchPageTest, FormPlacesEveryControl) {
    struct Place {
        const char* name;
        QRect rect;
    };
    const Place places[] = {
        {"标签1", {12, 16, 120, 24}},
        {"按钮粘贴", {124, 16, 72, 24}},
        {"进度条", {12, 16, 804, 24}},
        {"编辑框图片地址列表", {12, 48, 804, 368}},
        {"标签2", {12, 428, 80, 24}},
        {"编辑框保存目录", {92, 428, 526, 24}},
        {"按钮选择目录", {622, 428, 40, 24}},
        {"组合框线程数", {666, 428, 150, 24}},
        {"标签3", {12, 466, 80, 24}},
        {"单选框原图片名", {92, 466, 88, 24}},
        {"单选框原图片路径", {188, 466, 104, 24}},
        {"单选框自动命名", {300, 466, 104, 24}},
        {"按钮开始下载", {420, 462, 396, 32}},
    };
    for (const Place& p : places) {
        QWidget* control = Find<QWidget>(page.get(), p.name);
        ASSERT_NE(control, nullptr) << p.name;
        EXPECT_EQ(control->parentWidget(), page.get()) << p.name;
        EXPECT_EQ(control->geometry(), p.rect) << p.name;
    }
    auto* label = Find<QLabel>(page.get(), "透明标签");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->parentWidget(), Find<QProgressBar>(page.get(), "进度条"));
    EXPECT_EQ(label->geometry(), QRect(10, 0, 772, 24));
    EXPECT_FALSE(label->isVisible());
    EXPECT_FALSE(Find<QProgressBar>(page.get(), "进度条")->isVisible());

    EXPECT_EQ(Caption(), T("开始下载"));
    EXPECT_EQ(page->windowTitle(), QString::fromUtf8("下载图片"));
    EXPECT_EQ(BatchDownloadSection(), T("下载图片"));
    EXPECT_TRUE(Find<QRadioButton>(page.get(), "单选框自动命名")->isChecked());
    auto* threads = Find<QComboBox>(page.get(), "组合框线程数");
    EXPECT_EQ(threads->count(), 10);
    EXPECT_EQ(threads->currentText(), QString::fromUtf8("5 个线程下载图片"));
    EXPECT_EQ(Find<QLineEdit>(page.get(), "编辑框保存目录")->text(),
              QString::fromUtf8("若没有指定目录，将保存到软件目录下的“图片目录”"));
}

TEST_F(BatchPageTest, CaptionsReadAsTheForm) {
    const std::pair<const char*, const char*> texts[] = {
        {"标签1", "图片地址列表："},
        {"按钮粘贴", "粘贴"},
        {"标签2", "保存目录："},
        {"按钮选择目录", ".."},
        {"标签3", "保存名称："},
        {"单选框原图片名", "原图片名"},
        {"单选框原图片路径", "原图片路径"},
        {"单选框自动命名", "自动命名"},
    };
    for (const auto& [name, text] : texts) {
        QWidget* w = Find<QWidget>(page.get(), name);
        ASSERT_NE(w, nullptr) << name;
        QString shown;
        if (auto* l = qobject_cast<QLabel*>(w)) shown = l->text();
        if (auto* b = qobject_cast<QAbstractButton*>(w)) shown = b->text();
        EXPECT_EQ(shown, QString::fromUtf8(text)) << name;
    }
    EXPECT_TRUE(Find<QPlainTextEdit>(page.get(), "编辑框图片地址列表")->toPlainText().isEmpty());
    auto* threads = Find<QComboBox>(page.get(), "组合框线程数");
    for (int i = 0; i < threads->count(); ++i)
        EXPECT_EQ(threads->itemText(i),
                  QString::number(i + 1) + QString::fromUtf8(" 个线程下载图片"));
}

TEST_F(BatchPageTest, PasteReplacesTheWholeList) {
    SetList("old line");
    SetClipboardText(T("http://127.0.0.1/a.jpg\r\n图.png"));
    Find<QPushButton>(page.get(), "按钮粘贴")->click();
    EXPECT_EQ(Find<QPlainTextEdit>(page.get(), "编辑框图片地址列表")->toPlainText(),
              QString::fromUtf8("http://127.0.0.1/a.jpg\n图.png"));
}

TEST_F(BatchPageTest, FolderButtonPicksLeftAndOpensRight) {
    ScopedShellStandIn shell;
    std::string askedFrom;
    std::vector<std::string> opened;
    shell.pickFolder = [&](const std::string& initial, const std::string&) {
        askedFrom = initial;
        return target.path();
    };
    shell.opened = [&](const std::string&, const std::string& path) { opened.push_back(path); };
    auto* button = Find<QPushButton>(page.get(), "按钮选择目录");
    auto rightClick = [&] {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                button->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(button, &event);
    };

    rightClick(); // the hint is no folder: the default one opens
    button->click();
    EXPECT_EQ(askedFrom, T("若没有指定目录，将保存到软件目录下的“图片目录”"));
    EXPECT_EQ(FromQString(Find<QLineEdit>(page.get(), "编辑框保存目录")->text()), target.path());
    rightClick();
    EXPECT_EQ(opened,
              (std::vector<std::string>{program.path() + "/" + T("图片目录"), target.path()}));
}

TEST_F(BatchPageTest, EmptyListDoesNothing) {
    SetList("");
    EXPECT_TRUE(Click().empty());
    EXPECT_EQ(Caption(), T("开始下载"));
    EXPECT_FALSE(PathExists(program.file(T("图片目录"))));
}

TEST_F(BatchPageTest, OtherSchemesAndStrayWordsAreNeverRead) {
    // A local file that would be an image if anything read it.
    const std::string image = target.file("local.jpg");
    ASSERT_TRUE(WriteFileBytes(image, std::string("\xFF\xD8\xFF\xE0", 4) + "image"));
    SetFolder(target.path());
    SetList("file://" + TextToUtf8Lenient(image) + "\nFILE:" + TextToUtf8Lenient(image) +
            "\njavascript:alert(1)\nftp://127.0.0.1/a.jpg\nhttp://\nword");
    EXPECT_EQ(Click(), (std::vector<std::string>{"处理完成，共 6 个地址，成功下载 0 个"}));
    EXPECT_EQ(Caption(), T("开始下载"));
}

TEST_F(BatchPageTest, LongListKeepsTheWindowAliveAndStops) {
    std::string list;
    for (int i = 0; i < 100000; ++i)
        list += "no address " + std::to_string(i) + "\n";
    SetList(list);
    // Once the lines start, a click that only the event loop can deliver.
    int seenAt = -1;
    auto* bar = Find<QProgressBar>(page.get(), "进度条");
    QObject::connect(bar, &QProgressBar::valueChanged, page.get(), [&](int i) {
        if (i != 1) return;
        QTimer::singleShot(20, page.get(), [&] {
            seenAt = bar->value();
            EXPECT_EQ(Caption(), T("停止下载"));
            EXPECT_TRUE(bar->isVisible());
            EXPECT_EQ(bar->maximum(), 100000);
            auto* label = Find<QLabel>(page.get(), "透明标签");
            EXPECT_TRUE(label->isVisible());
            // "(lines:current) line", the line as it stands in the list.
            EXPECT_EQ(label->text(),
                      QString("(100000:%1) no address %2").arg(seenAt).arg(seenAt - 1));
            StartButton()->click();
            EXPECT_EQ(Caption(), T("正在停止.."));
        });
    });
    EXPECT_EQ(Click(), (std::vector<std::string>{"处理完成，共 100000 个地址，成功下载 0 个"}));
    EXPECT_GT(seenAt, 0);
    EXPECT_LT(seenAt, 100000);
    EXPECT_EQ(Caption(), T("开始下载"));
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(BatchPageTest, ClosingTheProgramStopsARunningJob) {
    std::string list;
    for (int i = 0; i < 100000; ++i)
        list += "no address " + std::to_string(i) + "\n";
    SetList(list);
    page->StopRunningJob(); // no job yet: nothing happens
    auto* bar = Find<QProgressBar>(page.get(), "进度条");
    int highest = 0;
    QObject::connect(bar, &QProgressBar::valueChanged, page.get(), [&](int i) {
        highest = std::max(highest, i);
        if (i == 1) QTimer::singleShot(20, page.get(), [&] { page->StopRunningJob(); });
    });
    EXPECT_EQ(Click(), (std::vector<std::string>{"处理完成，共 100000 个地址，成功下载 0 个"}));
    EXPECT_GT(highest, 0);
    EXPECT_LT(highest, 100000);
    EXPECT_EQ(Caption(), T("开始下载"));
    EXPECT_FALSE(page->Job().IsRunning());
}

TEST_F(BatchPageTest, ControlsComeBackFromTheSection) {
    SettingsStore store;
    ASSERT_TRUE(store.Open(program.file("settings.ini"), SettingsMode::File));
    SetList("http://127.0.0.1/a.jpg\n\nhttp://127.0.0.1/b.jpg");
    SetFolder(target.path());
    SetThreads(2);
    Find<QRadioButton>(page.get(), "单选框原图片路径")->setChecked(true);
    SaveWindowControls(store, page.get(), BatchDownloadSection());

    BatchDownloadPage again;
    RestoreWindowControls(store, &again, BatchDownloadSection());
    EXPECT_EQ(Find<QPlainTextEdit>(&again, "编辑框图片地址列表")->toPlainText(),
              QString("http://127.0.0.1/a.jpg\n\nhttp://127.0.0.1/b.jpg"));
    EXPECT_EQ(FromQString(Find<QLineEdit>(&again, "编辑框保存目录")->text()), target.path());
    EXPECT_EQ(Find<QComboBox>(&again, "组合框线程数")->currentIndex(), 1);
    EXPECT_TRUE(Find<QRadioButton>(&again, "单选框原图片路径")->isChecked());
    // The workers' naming follows the restored buttons.
    EXPECT_EQ(again.Job().NamingMode(), kNameOriginalPath);
    EXPECT_EQ(again.property("settingsSection").toString(), QString::fromUtf8("下载图片"));
}

} // namespace
} // namespace tuji::test
