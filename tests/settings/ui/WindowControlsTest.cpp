#include "settings/ui/WindowControls.h"

#include "app/ui/ColourPicker.h"
#include "fs/Files.h"
#include "support/TempFolder.h"
#include "text/Encoding.h"
#include "text/TextOps.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <memory>

namespace tuji {
namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// A small form in the program's naming; every control in its form state.
struct Form {
    Form() {
        auto* inner = new QWidget(&window); // nested controls take part too
        keywords = new QPlainTextEdit(inner);
        keywords->setObjectName(U("编辑框关键词列表"));
        keywords->setProperty("tag", U("字节集方式"));
        folder = new QPlainTextEdit(&window);
        folder->setObjectName(U("编辑框保存目录"));
        maximum = new QLineEdit(U("100"), &window);
        maximum->setObjectName(U("编辑框最多图片数"));
        addressesOnly = new QCheckBox(&window);
        addressesOnly->setObjectName(U("选择框仅保存图片地址"));
        addressesOnly->setChecked(true);
        autoName = new QRadioButton(&window);
        autoName->setObjectName(U("单选框自动命名"));
        autoName->setChecked(true);
        titleName = new QRadioButton(&window);
        titleName->setObjectName(U("单选框图片标题"));
        threads = new QComboBox(&window);
        threads->setObjectName(U("组合框线程数"));
        for (int i = 1; i <= 10; ++i)
            threads->addItem(QString("%1 threads").arg(i));
        threads->setCurrentIndex(4);
        start = new QPushButton(&window);
        start->setObjectName(U("按钮开始采集"));
        start->setProperty("tag", U("开始"));
        colour = new ColourPicker(&window);
        colour->setObjectName(U("颜色选择器文字水印背景色"));
        label = new QLabel(U("form"), &window);
        label->setObjectName(U("编辑框像标签")); // a label, whatever its name says
        files = new QListWidget(&window);
        files->setObjectName(U("列表框文件"));
        files->setSelectionMode(QAbstractItemView::MultiSelection);
        files->addItems({"x", "y"});
        checked = new QListWidget(&window);
        checked->setObjectName(U("选择列表框项目"));
    }
    QWidget window;
    QPlainTextEdit* keywords;
    QPlainTextEdit* folder;
    QLineEdit* maximum;
    QCheckBox* addressesOnly;
    QRadioButton* autoName;
    QRadioButton* titleName;
    QComboBox* threads;
    QPushButton* start;
    ColourPicker* colour;
    QLabel* label;
    QListWidget* files;
    QListWidget* checked;
};

class WindowControlsTest : public testing::Test {
protected:
    void SetUp() override {
        path = dir.file(T("岚舟·图集工坊.ini"));
        ASSERT_TRUE(store.Open(path));
    }
    std::string Ini() { return ReadFileBytes(path); }
    bool IniHasLine(const char* utf8Line) {
        std::string line = T(utf8Line);
        std::string file = "\r\n" + Ini() + "\r\n";
        return file.find("\r\n" + line + "\r\n") != std::string::npos;
    }
    test::TempFolder dir;
    std::string path;
    SettingsStore store;
};

TEST_F(WindowControlsTest, SavingWritesEachKindInItsForm) {
    Form form;
    form.keywords->setPlainText(U("猫\n狗\n"));
    form.folder->setPlainText("a\nb");
    form.addressesOnly->setChecked(false);
    form.titleName->setChecked(true);
    form.threads->setCurrentIndex(2);
    form.colour->setColour(0x00332211u);
    form.files->item(1)->setSelected(true);
    form.checked->addItems({"p", "q", "r"});
    for (int i = 0; i < 3; ++i) {
        form.checked->item(i)->setFlags(form.checked->item(i)->flags() | Qt::ItemIsUserCheckable);
        form.checked->item(i)->setCheckState(i == 1 ? Qt::Unchecked : Qt::Checked);
    }
    form.checked->setCurrentRow(1);
    SaveWindowControls(store, &form.window, T("采集图片"));

    EXPECT_TRUE(IniHasLine("[采集图片]"));
    EXPECT_TRUE(IniHasLine("编辑框保存目录=a┊*┊b"));
    EXPECT_TRUE(IniHasLine("编辑框最多图片数=100"));
    EXPECT_TRUE(IniHasLine("选择框仅保存图片地址=假"));
    EXPECT_TRUE(IniHasLine("单选框自动命名=假"));
    EXPECT_TRUE(IniHasLine("单选框图片标题=真"));
    EXPECT_TRUE(IniHasLine("组合框线程数=2"));
    EXPECT_TRUE(IniHasLine("按钮开始采集.标记=开始"));
    EXPECT_TRUE(IniHasLine("颜色选择器文字水印背景色=3351057")); // 0x00332211
    EXPECT_TRUE(IniHasLine("列表框文件.选中=1"));
    EXPECT_TRUE(IniHasLine("选择列表框项目.选中=1"));
    EXPECT_TRUE(IniHasLine("选择列表框项目.打勾=0,2"));
    // The side-file edit box, the labels and the options stay out of the ini.
    for (const char* absent :
         {"编辑框关键词列表", "编辑框像标签", "组合框线程数.列表", "组合框线程数.内容", "\r\n\r\n"})
        EXPECT_EQ(Ini().find(T(absent)), std::string::npos) << absent;
    EXPECT_FALSE(EndsWithText(Ini(), "\r\n"));

    EXPECT_EQ(ReadFileBytes(dir.path() + T("/inibin/采集图片-编辑框关键词列表.ibn")),
              T("猫\r\n狗\r\n"));
    EXPECT_EQ(ReadFileBytes(dir.path() + T("/inibin/采集图片-列表框文件.ibn")), "x\r\ny\r\n");
    EXPECT_EQ(ReadFileBytes(dir.path() + T("/inibin/采集图片-选择列表框项目.ibn")),
              "p\r\nq\r\nr\r\n");
}

TEST_F(WindowControlsTest, RestoringPutsTheSavedStatesBack) {
    {
        Form form;
        form.keywords->setPlainText(U("猫\n狗"));
        form.folder->setPlainText("a\nb");
        form.addressesOnly->setChecked(false);
        form.titleName->setChecked(true);
        form.threads->setCurrentIndex(2);
        form.start->setProperty("tag", U("停止"));
        form.colour->setColour(0x00332211u);
        form.files->addItem("z");
        form.files->item(0)->setSelected(true);
        form.files->item(2)->setSelected(true);
        form.checked->addItems({"p", "q"});
        form.checked->item(1)->setFlags(form.checked->item(1)->flags() | Qt::ItemIsUserCheckable);
        form.checked->item(1)->setCheckState(Qt::Checked);
        form.checked->setCurrentRow(0);
        SaveWindowControls(store, &form.window, T("采集图片"));
    }
    Form fresh;
    RestoreWindowControls(store, &fresh.window, T("采集图片"));
    EXPECT_EQ(fresh.keywords->toPlainText(), U("猫\n狗"));
    EXPECT_EQ(fresh.folder->toPlainText(), "a\nb");
    EXPECT_FALSE(fresh.addressesOnly->isChecked());
    EXPECT_TRUE(fresh.titleName->isChecked());
    EXPECT_FALSE(fresh.autoName->isChecked());
    EXPECT_EQ(fresh.threads->currentText(), "3 threads");
    EXPECT_EQ(fresh.start->property("tag").toString(), U("停止"));
    EXPECT_EQ(fresh.colour->colour(), 0x00332211u);
    ASSERT_EQ(fresh.files->count(), 3);
    EXPECT_TRUE(fresh.files->item(0)->isSelected());
    EXPECT_FALSE(fresh.files->item(1)->isSelected());
    EXPECT_TRUE(fresh.files->item(2)->isSelected());
    ASSERT_EQ(fresh.checked->count(), 2);
    EXPECT_EQ(fresh.checked->item(0)->checkState(), Qt::Unchecked);
    EXPECT_EQ(fresh.checked->item(1)->checkState(), Qt::Checked);
    EXPECT_EQ(fresh.checked->currentRow(), 0);
}

TEST_F(WindowControlsTest, MissingKeysAndOtherValuesKeepOrDecideTheFormState) {
    Form form;
    RestoreWindowControls(store, &form.window, T("采集图片")); // first run: nothing stored
    EXPECT_TRUE(form.addressesOnly->isChecked());
    EXPECT_EQ(form.threads->currentIndex(), 4);
    EXPECT_EQ(form.maximum->text(), "100");
    EXPECT_EQ(form.files->count(), 2);
    EXPECT_EQ(Ini(), ""); // restoring writes nothing

    store.SelectSection(T("采集图片"));
    store.Engine().SetValue(T("采集图片"), T("选择框仅保存图片地址"), "1");
    store.Engine().SetValue(T("采集图片"), T("组合框线程数"), "99");
    RestoreWindowControls(store, &form.window);
    EXPECT_FALSE(form.addressesOnly->isChecked()); // anything but "真" unchecks
    EXPECT_EQ(form.threads->currentIndex(), 4);    // no such item: unchanged
}

TEST_F(WindowControlsTest, ExcludedNamesAndOptions) {
    Form form;
    form.threads->setEditable(true);
    form.threads->setEditText("7 threads, typed");
    SaveWindowControls(store, &form.window, "S", {T("编辑框保存目录"), T("选择框仅保存图片地址")},
                       true, true);
    EXPECT_EQ(Ini().find(T("编辑框保存目录")), std::string::npos);
    EXPECT_EQ(Ini().find(T("选择框仅保存图片地址")), std::string::npos);
    EXPECT_TRUE(IniHasLine("组合框线程数.内容=7 threads, typed"));
    EXPECT_TRUE(PathIsFile(dir.path() + T("/inibin/S-组合框线程数.列表.ibn")));

    Form fresh;
    fresh.threads->clear();
    fresh.threads->setEditable(true);
    store.Engine().SetValue("S", T("选择框仅保存图片地址"), T("假"));
    RestoreWindowControls(store, &fresh.window, "S", {T("选择框仅保存图片地址")}, true, true);
    EXPECT_TRUE(fresh.addressesOnly->isChecked()); // excluded: not read
    EXPECT_EQ(fresh.threads->count(), 10);         // the list came back from its side file
    EXPECT_EQ(fresh.threads->currentText(), "7 threads, typed");

    Form withoutOptions;
    withoutOptions.threads->clear();
    RestoreWindowControls(store, &withoutOptions.window, "S");
    EXPECT_EQ(withoutOptions.threads->count(), 0);
}

} // namespace
} // namespace tuji
