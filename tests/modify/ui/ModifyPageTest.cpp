#include "modify/ui/ModifyPage.h"

#include "app/ui/ColourPicker.h"
#include "app/ui/MessageBox.h"
#include "app/ui/Shell.h"
#include "fs/Files.h"
#include "modify/ImageCodecs.h"
#include "settings/SettingsStore.h"
#include "settings/ui/WindowControls.h"
#include "text/Encoding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace tuji {
namespace {

class ModifyPageTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        QFont::insertSubstitution(QString::fromUtf8("宋体"), "WenQuanYi Micro Hei");
    }
    void SetUp() override {
        root_ = FromQString(dir_.path()) + "/pics";
        QDir().mkpath(ToQString(root_ + "/2020"));
        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(qRgb(200, 30, 30));
        for (const char* name : {"/a.jpg", "/b.jpg", "/2020/a.jpg"})
            ASSERT_TRUE(WriteFileBytes(root_ + name, EncodeImage(image, kFormatJpeg)));
        shell_.pickFolder = [this](const std::string& initial, const std::string& title) {
            pickerStarts_.push_back(initial);
            pickerTitle_ = title;
            if (onPick_) onPick_();
            return pickAnswer_;
        };
        shell_.opened = [this](const std::string& how, const std::string& target) {
            opened_.push_back(how + ":" + target);
        };
    }
    template <typename W> W* Find(const char* name) {
        W* w = page_.findChild<W*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QPushButton* Start() { return Find<QPushButton>("按钮开始修改"); }

    QTemporaryDir dir_;
    std::string root_;
    ScopedShellStandIn shell_;
    std::vector<std::string> pickerStarts_, opened_, messages_;
    std::string pickerTitle_;
    std::string pickAnswer_;
    std::function<void()> onPick_;
    int messageAnswer_ = MessageButton::Yes;
    ScopedMessageResponder responder_{[this](const MessageRequest& request) {
        messages_.push_back(request.text);
        return messageAnswer_;
    }};
    ModifyPage page_;
};

TEST_F(ModifyPageTest, EveryControlAtItsPlace) {
    struct Place {
        const char* name;
        QRect geometry;
    };
    const Place places[] = {
        {"分组框1", {13, 16, 579, 224}},
        {"标签2", {16, 28, 88, 24}},
        {"组合框水印方位", {104, 28, 64, 23}},
        {"标签1", {400, 28, 115, 24}},
        {"编辑框边缘距离", {520, 28, 43, 24}},
        {"选择框图像水印", {16, 64, 88, 24}},
        {"编辑框图像文件", {104, 64, 411, 24}},
        {"按钮选择图像", {520, 64, 43, 24}},
        {"颜色选择器图像水印透明色", {464, 66, 48, 20}},
        {"选择框文字水印", {16, 98, 88, 24}},
        {"编辑框文字内容", {104, 98, 459, 110}},
        {"按钮输入文字", {33, 126, 64, 24}},
        {"按钮设置字体", {33, 154, 64, 24}},
        {"颜色选择器文字水印背景色", {33, 184, 64, 24}},
        {"处理画板", {448, 104, 100, 100}},
        {"分组框3", {13, 256, 579, 104}},
        {"选择框缩放尺寸", {16, 32, 88, 24}},
        {"编辑框缩放值", {104, 32, 40, 24}},
        {"标签3", {149, 32, 16, 24}},
        {"组合框缩放条件", {176, 32, 72, 23}},
        {"编辑框宽度", {256, 32, 64, 24}},
        {"标签4", {328, 32, 16, 24}},
        {"编辑框高度", {352, 32, 64, 24}},
        {"标签5", {424, 32, 123, 24}},
        {"选择框转换格式", {16, 65, 136, 24}},
        {"组合框保存格式", {152, 65, 243, 23}},
        {"选择框改变md5", {412, 64, 123, 24}},
        {"标签6", {13, 378, 80, 24}},
        {"编辑框图片类型", {92, 378, 228, 24}},
        {"选择框包含子文件夹", {343, 378, 126, 24}},
        {"选择框新目录保存修改", {471, 378, 136, 24}},
        {"按钮开始修改", {13, 419, 579, 45}},
        {"进度条", {13, 472, 579, 24}},
    };
    for (const Place& p : places) {
        QWidget* w = Find<QWidget>(p.name);
        if (w) {
            EXPECT_EQ(w->geometry(), p.geometry) << p.name;
        }
    }
    EXPECT_EQ(Find<QLabel>("透明标签")->parentWidget(), Find<QWidget>("进度条"));
    EXPECT_EQ(Find<QLabel>("透明标签")->pos(), QPoint(10, 0));
    EXPECT_EQ(Find<QLineEdit>("编辑框图片类型")->text(), QString::fromUtf8("*.jpg|*.png|*.bmp"));
    EXPECT_EQ(Find<QComboBox>("组合框保存格式")->itemText(3),
              QString::fromUtf8("TIFF - 多通道富格式图像"));
    EXPECT_EQ(Find<QPlainTextEdit>("编辑框文字内容")->toPlainText().count('|'), 3);
    EXPECT_EQ(Start()->text(), QString::fromUtf8("开始修改"));
}

TEST_F(ModifyPageTest, CaptionsAndChoices) {
    struct Caption {
        const char* name;
        const char* text;
    };
    const Caption captions[] = {
        {"标签2", "水印显示于"},
        {"标签1", "边缘距离(像素)"},
        {"选择框图像水印", "图像水印"},
        {"编辑框图像文件", "指定一个图像文件"},
        {"按钮选择图像", ".."},
        {"选择框文字水印", "文字水印"},
        {"按钮输入文字", "输入.."},
        {"按钮设置字体", "字体.."},
        {"编辑框边缘距离", "5"},
        {"选择框缩放尺寸", "缩放尺寸"},
        {"编辑框缩放值", "50"},
        {"标签3", "%"},
        {"编辑框宽度", "50"},
        {"标签4", "×"},
        {"编辑框高度", "50"},
        {"标签5", "时保持原尺寸"},
        {"选择框转换格式", "转换到指定格式"},
        {"选择框改变md5", "改变 MD5 值"},
        {"标签6", "图片类型："},
        {"选择框包含子文件夹", "包含子文件夹"},
        {"选择框新目录保存修改", "新目录保存修改"},
    };
    for (const Caption& c : captions) {
        QWidget* w = Find<QWidget>(c.name);
        ASSERT_NE(w, nullptr);
        const QVariant text = w->property("text");
        EXPECT_EQ(text.toString(), QString::fromUtf8(c.text)) << c.name;
    }
    EXPECT_EQ(Find<QGroupBox>("分组框1")->title(), QString::fromUtf8("插入水印"));
    EXPECT_EQ(Find<QGroupBox>("分组框3")->title(), QString::fromUtf8("更多修改"));
    const std::vector<std::pair<const char*, QStringList>> choices = {
        {"组合框水印方位", {"左上", "左下", "右上", "右下"}},
        {"组合框缩放条件", {"不检查", "小于", "大于"}},
        {"组合框保存格式",
         {"BMP -  Windows无压缩标准位图", "JPG -  高压缩跨平台图像", "GIF -  高压缩网络图形",
          "TIFF - 多通道富格式图像"}},
    };
    for (const auto& [name, items] : choices) {
        auto* box = Find<QComboBox>(name);
        QStringList shown;
        for (int i = 0; i < box->count(); ++i)
            shown << box->itemText(i);
        EXPECT_EQ(shown, items) << name;
        EXPECT_EQ(box->currentIndex(), 0) << name;
    }
    EXPECT_TRUE(Find<QLabel>("处理画板")->isHidden());
}

// A right click starts the job too (listing through the wildcard search) and,
// while it runs, stops it like a left click.
TEST_F(ModifyPageTest, ARightClickStartsAndStops) {
    pickAnswer_ = root_;
    onPick_ = [this] {
        QTimer::singleShot(0, &page_,
                           [this] { emit Start()->customContextMenuRequested(QPoint(5, 5)); });
    };
    emit Start()->customContextMenuRequested(QPoint(5, 5));
    ASSERT_EQ(pickerStarts_.size(), 1u);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].rfind(T("修改完成，已修改 0 张图片,成功修改 0 张图片"), 0), 0u);
    onPick_ = nullptr;
    emit Start()->customContextMenuRequested(QPoint(5, 5));
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_EQ(messages_[1].rfind(T("修改完成，已修改 2 张图片,成功修改 2 张图片"), 0), 0u);
}

TEST_F(ModifyPageTest, EnablingRules) {
    EXPECT_FALSE(Find<QLineEdit>("编辑框图像文件")->isEnabled());
    EXPECT_FALSE(Find<QPlainTextEdit>("编辑框文字内容")->isEnabled());
    EXPECT_FALSE(Find<QLineEdit>("编辑框缩放值")->isEnabled());
    EXPECT_FALSE(Find<QComboBox>("组合框保存格式")->isEnabled());
    Find<QCheckBox>("选择框文字水印")->click();
    EXPECT_TRUE(Find<QPushButton>("按钮设置字体")->isEnabled());
    EXPECT_TRUE(Find<ColourPicker>("颜色选择器文字水印背景色")->isEnabled());
    Find<QCheckBox>("选择框缩放尺寸")->click();
    EXPECT_TRUE(Find<QComboBox>("组合框缩放条件")->isEnabled());
    EXPECT_FALSE(Find<QLineEdit>("编辑框宽度")->isEnabled());
    auto* condition = Find<QComboBox>("组合框缩放条件");
    condition->setCurrentIndex(1);
    emit condition->activated(1);
    EXPECT_TRUE(Find<QLineEdit>("编辑框高度")->isEnabled());
    Find<QCheckBox>("选择框缩放尺寸")->click(); // off again: limits follow the disabled list
    EXPECT_FALSE(Find<QLineEdit>("编辑框宽度")->isEnabled());
}

TEST_F(ModifyPageTest, ARunIntoTheNewFolderAndTheCompletionQuestion) {
    Find<QCheckBox>("选择框包含子文件夹")->setChecked(true);
    Find<QCheckBox>("选择框新目录保存修改")->setChecked(true);
    pickAnswer_ = root_;
    Start()->click();
    EXPECT_EQ(pickerTitle_, T("选择一个存放图片的文件夹，确定后将开始批量修改图片："));
    EXPECT_TRUE(PathIsFile(root_ + T("(修改)/2020/a.jpg")));
    EXPECT_TRUE(PathIsFile(root_ + T("(修改)/b.jpg")));
    const std::string line = T("修改完成，已修改 3 张图片,成功修改 3 张图片");
    EXPECT_EQ(FromQString(Find<QLabel>("透明标签")->text()), line);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], line + T("\r\n\r\n是否打开保存目录：\r\n") + root_ + T("(修改)"));
    EXPECT_EQ(opened_, std::vector<std::string>{"explorer:" + root_ + T("(修改)")});
    EXPECT_EQ(Start()->text(), QString::fromUtf8("开始修改"));
    EXPECT_EQ(Find<QProgressBar>("进度条")->value(), 0);
    EXPECT_TRUE(Find<QGroupBox>("分组框1")->isEnabled());

    // The next choice starts where the last one was made; No opens nothing.
    messageAnswer_ = MessageButton::No;
    Start()->click();
    ASSERT_EQ(pickerStarts_.size(), 2u);
    EXPECT_EQ(pickerStarts_[1], root_);
    EXPECT_EQ(opened_.size(), 1u);
    EXPECT_EQ(Start()->property("tag").toString(), ToQString(root_));
}

TEST_F(ModifyPageTest, CancellingThePickerChangesNothing) {
    pickAnswer_ = "";
    Start()->click();
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(Start()->text(), QString::fromUtf8("开始修改"));
    EXPECT_FALSE(Start()->property("tag").isValid() &&
                 !Start()->property("tag").toString().isEmpty());
}

TEST_F(ModifyPageTest, ASecondClickStopsTheJob) {
    pickAnswer_ = root_;
    bool groupsDisabledDuringJob = false;
    onPick_ = [this, &groupsDisabledDuringJob] {
        QTimer::singleShot(0, &page_, [this, &groupsDisabledDuringJob] {
            groupsDisabledDuringJob = !Find<QGroupBox>("分组框3")->isEnabled();
            Start()->click();
        });
    };
    Start()->click();
    EXPECT_TRUE(groupsDisabledDuringJob);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].rfind(T("修改完成，已修改 0 张图片,成功修改 0 张图片"), 0), 0u);
    EXPECT_EQ(ReadFileBytes(root_ + "/a.jpg").size(), ReadFileBytes(root_ + "/b.jpg").size());
}

TEST_F(ModifyPageTest, TextStyleKeysSurviveARestart) {
    SettingsStore store;
    ASSERT_TRUE(store.Open(FromQString(dir_.filePath("settings.ini"))));
    TextStyle style;
    style.fontName = "WenQuanYi Micro Hei";
    style.fontSize = 14;
    style.bold = true;
    style.underline = true;
    style.textColour = 0x00112233;
    style.backColour = kTransparentValue;
    page_.setTextStyle(style);
    SaveWindowControls(store, &page_, T("修改图片"));
    page_.SaveExtraSettings(store);

    ModifyPage restarted;
    RestoreWindowControls(store, &restarted, T("修改图片"));
    restarted.RestoreExtraSettings(store);
    const TextStyle& back = restarted.textStyle();
    EXPECT_EQ(back.fontName, style.fontName);
    EXPECT_EQ(back.fontSize, 14);
    EXPECT_TRUE(back.bold);
    EXPECT_FALSE(back.italic);
    EXPECT_TRUE(back.underline);
    EXPECT_EQ(back.textColour, 0x00112233u);
    EXPECT_EQ(back.backColour, kTransparentValue);
    EXPECT_EQ(
        restarted.findChild<ColourPicker*>(QString::fromUtf8("颜色选择器文字水印背景色"))->colour(),
        kTransparentValue);
}

TEST_F(ModifyPageTest, NumbersAreReadFromTheirLeadingDigits) {
    struct Case {
        const char* text;
        float percent;
        int limit;
    };
    for (const Case& c : {Case{"50", 50, 50}, Case{" 12.5 ", 12.5f, 12}, Case{"50 %", 50, 50},
                          Case{"150%", 150, 150}, Case{"abc", 0, 0}, Case{"", 0, 0}}) {
        Find<QLineEdit>("编辑框缩放值")->setText(QString::fromUtf8(c.text));
        Find<QLineEdit>("编辑框宽度")->setText(QString::fromUtf8(c.text));
        Find<QLineEdit>("编辑框边缘距离")->setText(QString::fromUtf8(c.text));
        const ModifyJobSettings settings = page_.CurrentSettings();
        EXPECT_EQ(settings.resize.scalePercent, c.percent) << c.text;
        EXPECT_EQ(settings.resize.widthLimit, c.limit) << c.text;
        EXPECT_EQ(settings.watermarks.edgeDistance, c.limit) << c.text;
    }
}

TEST_F(ModifyPageTest, TheBackgroundPickerColoursTheTextBox) {
    Find<ColourPicker>("颜色选择器文字水印背景色")->setColour(0x0000FF00);
    EXPECT_EQ(page_.textStyle().backColour, 0x0000FF00u);
    EXPECT_EQ(Find<QPlainTextEdit>("编辑框文字内容")->palette().color(QPalette::Base),
              QColor(0, 255, 0));
    EXPECT_EQ(page_.CurrentSettings().watermarks.style.backColour, 0x0000FF00u);
}

} // namespace
} // namespace tuji
