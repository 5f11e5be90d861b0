#include "modify/ui/ModifyPage.h"

#include "app/ui/ColourPicker.h"
#include "app/ui/Dialogs.h"
#include "app/ui/FormControls.h"
#include "app/ui/MessageBox.h"
#include "app/ui/ProgressOverlay.h"
#include "app/ui/Shell.h"
#include "editor/ui/TextEditorDialog.h"
#include "modify/DrawingSurface.h"
#include "modify/ImageCodecs.h"
#include "settings/ui/WindowControls.h"
#include "text/Encoding.h"
#include "text/TextOps.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <cmath>
#include <vector>

namespace tuji {
namespace {

// The form's choice lists, from UTF-8 source literals.
std::vector<std::string> Items(std::initializer_list<const char*> items) {
    std::vector<std::string> result;
    for (const char* item : items)
        result.push_back(T(item));
    return result;
}

// Integers as the form reads them: a text that is no number counts as 0.
int IntegerOf(const QLineEdit* box) {
    return static_cast<int>(TextNumber(TrimSpaces(FromQString(box->text()))));
}

// The leading decimal number, read as the integers are: "50 %" is 50, not 0
// (which would shrink every image to one pixel).
float PercentOf(const QLineEdit* box) {
    const QString text = box->text().trimmed();
    int end = 0;
    if (end < text.size() && (text[end] == '+' || text[end] == '-')) ++end;
    bool point = false;
    while (end < text.size() && (text[end].isDigit() || (text[end] == '.' && !point))) {
        point = point || text[end] == '.';
        ++end;
    }
    bool ok = false;
    const float value = text.left(end).toFloat(&ok);
    return ok && std::isfinite(value) ? value : 0.0f;
}

const char* const kInitialWatermarkText =
    "岚舟软件(tuji.example.org)\r\n"
    "现在时间(#年-#月-#日 #时:#分:#秒)|使用|隔开多组文字水印|将随机文字水印";

} // namespace

ModifyPage::ModifyPage(QWidget* parent) : QWidget(parent) {
    setWindowTitle(FormText("修改图片"));
    resize(830, 510);
    BuildWatermarkGroup();
    BuildMoreGroup();
    BuildJobControls();
    LayLabelOverBar(status_, progress_);
    setTextStyle(style_);
    ApplyEnablingRules();
    StartImageCodecs();
}

ModifyPage::~ModifyPage() = default;

void ModifyPage::BuildWatermarkGroup() {
    watermarkGroup_ = PlaceControl<QGroupBox>(this, "分组框1", 13, 16, 579, 224);
    watermarkGroup_->setTitle(FormText("插入水印"));
    QWidget* g = watermarkGroup_;
    PlaceControl<QLabel>(g, "标签2", "水印显示于", 16, 28, 88, 24);
    position_ = PlaceControl<QComboBox>(g, "组合框水印方位", 104, 28, 64, 23);
    FillChoices(position_, Items({"左上", "左下", "右上", "右下"}), 0);
    PlaceControl<QLabel>(g, "标签1", "边缘距离(像素)", 400, 28, 115, 24);
    edgeDistance_ = PlaceControl<QLineEdit>(g, "编辑框边缘距离", "5", 520, 28, 43, 24);
    imageOn_ = PlaceControl<QCheckBox>(g, "选择框图像水印", "图像水印", 16, 64, 88, 24);
    imageFile_ = PlaceControl<QLineEdit>(g, "编辑框图像文件", "指定一个图像文件", 104, 64, 411, 24);
    chooseImage_ = PlaceControl<QPushButton>(g, "按钮选择图像", "..", 520, 64, 43, 24);
    keyColour_ = PlaceControl<ColourPicker>(g, "颜色选择器图像水印透明色", 464, 66, 48, 20);
    keyColour_->setColour(kTransparentValue);
    textOn_ = PlaceControl<QCheckBox>(g, "选择框文字水印", "文字水印", 16, 98, 88, 24);
    text_ = PlaceControl<QPlainTextEdit>(g, "编辑框文字内容", 104, 98, 459, 110);
    text_->setPlainText(FormText(kInitialWatermarkText).replace("\r\n", "\n"));
    editText_ = PlaceControl<QPushButton>(g, "按钮输入文字", "输入..", 33, 126, 64, 24);
    chooseFont_ = PlaceControl<QPushButton>(g, "按钮设置字体", "字体..", 33, 154, 64, 24);
    textBackground_ = PlaceControl<ColourPicker>(g, "颜色选择器文字水印背景色", 33, 184, 64, 24);
    auto* canvas = PlaceControl<QLabel>(g, "处理画板", 448, 104, 100, 100);
    canvas->hide(); // the drawing itself happens off-screen in the job

    connect(imageOn_, &QCheckBox::clicked, this, &ModifyPage::ApplyEnablingRules);
    connect(textOn_, &QCheckBox::clicked, this, &ModifyPage::ApplyEnablingRules);
    connect(chooseImage_, &QPushButton::clicked, this, &ModifyPage::ChooseWatermarkPicture);
    connect(editText_, &QPushButton::clicked, this, &ModifyPage::EditWatermarkText);
    connect(chooseFont_, &QPushButton::clicked, this, &ModifyPage::ChooseFont);
    connect(textBackground_, &ColourPicker::colourChanged, this, [this](uint colour) {
        style_.backColour = colour;
        ShowTextStyle();
    });
}

void ModifyPage::BuildMoreGroup() {
    moreGroup_ = PlaceControl<QGroupBox>(this, "分组框3", 13, 256, 579, 104);
    moreGroup_->setTitle(FormText("更多修改"));
    QWidget* g = moreGroup_;
    scaleOn_ = PlaceControl<QCheckBox>(g, "选择框缩放尺寸", "缩放尺寸", 16, 32, 88, 24);
    scale_ = PlaceControl<QLineEdit>(g, "编辑框缩放值", "50", 104, 32, 40, 24);
    PlaceControl<QLabel>(g, "标签3", "%", 149, 32, 16, 24);
    condition_ = PlaceControl<QComboBox>(g, "组合框缩放条件", 176, 32, 72, 23);
    FillChoices(condition_, Items({"不检查", "小于", "大于"}), kNoCheck);
    widthLimit_ = PlaceControl<QLineEdit>(g, "编辑框宽度", "50", 256, 32, 64, 24);
    PlaceControl<QLabel>(g, "标签4", "×", 328, 32, 16, 24);
    heightLimit_ = PlaceControl<QLineEdit>(g, "编辑框高度", "50", 352, 32, 64, 24);
    PlaceControl<QLabel>(g, "标签5", "时保持原尺寸", 424, 32, 123, 24);
    convertOn_ = PlaceControl<QCheckBox>(g, "选择框转换格式", "转换到指定格式", 16, 65, 136, 24);
    target_ = PlaceControl<QComboBox>(g, "组合框保存格式", 152, 65, 243, 23);
    FillChoices(target_,
                Items({"BMP -  Windows无压缩标准位图", "JPG -  高压缩跨平台图像",
                       "GIF -  高压缩网络图形", "TIFF - 多通道富格式图像"}),
                0);
    md5On_ = PlaceControl<QCheckBox>(g, "选择框改变md5", "改变 MD5 值", 412, 64, 123, 24);

    connect(scaleOn_, &QCheckBox::clicked, this, &ModifyPage::ApplyEnablingRules);
    connect(convertOn_, &QCheckBox::clicked, this, &ModifyPage::ApplyEnablingRules);
    connect(condition_, QOverload<int>::of(&QComboBox::activated), this,
            &ModifyPage::ApplyEnablingRules);
}

void ModifyPage::BuildJobControls() {
    PlaceControl<QLabel>(this, "标签6", "图片类型：", 13, 378, 80, 24);
    typeFilter_ =
        PlaceControl<QLineEdit>(this, "编辑框图片类型", "*.jpg|*.png|*.bmp", 92, 378, 228, 24);
    includeSubfolders_ =
        PlaceControl<QCheckBox>(this, "选择框包含子文件夹", "包含子文件夹", 343, 378, 126, 24);
    saveToNewFolder_ =
        PlaceControl<QCheckBox>(this, "选择框新目录保存修改", "新目录保存修改", 471, 378, 136, 24);
    start_ = PlaceControl<QPushButton>(this, "按钮开始修改", "开始修改", 13, 419, 579, 45);
    progress_ = PlaceControl<QProgressBar>(this, "进度条", 13, 472, 579, 24);
    progress_->setRange(0, 0);
    progress_->setMaximum(1);
    progress_->setValue(0);
    status_ = PlaceControl<QLabel>(this, "透明标签", "", 32, 472, 544, 24);
    connect(start_, &QPushButton::clicked, this,
            [this] { StartOrStopModification(ListingMode::FileSystemObject); });
    OnRightClick(start_, this, [this] { StartOrStopModification(ListingMode::WildcardSearch); });
}

void ModifyPage::ApplyEnablingRules() {
    const bool image = imageOn_->isChecked();
    imageFile_->setEnabled(image);
    chooseImage_->setEnabled(image);
    keyColour_->setEnabled(image);
    const bool text = textOn_->isChecked();
    text_->setEnabled(text);
    editText_->setEnabled(text);
    chooseFont_->setEnabled(text);
    textBackground_->setEnabled(text);
    const bool scale = scaleOn_->isChecked();
    scale_->setEnabled(scale);
    condition_->setEnabled(scale);
    const bool limits = condition_->isEnabled() && condition_->currentIndex() != kNoCheck;
    widthLimit_->setEnabled(limits);
    heightLimit_->setEnabled(limits);
    target_->setEnabled(convertOn_->isChecked());
}

ModifyJobSettings ModifyPage::CurrentSettings() const {
    ModifyJobSettings s;
    WatermarkSettings& w = s.watermarks;
    w.imageOn = imageOn_->isChecked();
    w.imageFile = FromQString(imageFile_->text());
    w.keyColour = keyColour_->colour();
    w.textOn = textOn_->isChecked();
    w.text = EditBoxText(text_);
    w.style = style_;
    w.position = position_->currentIndex();
    w.edgeDistance = IntegerOf(edgeDistance_);
    ResizeSettings& r = s.resize;
    r.scaleOn = scaleOn_->isChecked();
    r.scalePercent = PercentOf(scale_);
    r.condition = condition_->currentIndex() < 0 ? kNoCheck : condition_->currentIndex();
    r.widthLimit = IntegerOf(widthLimit_);
    r.heightLimit = IntegerOf(heightLimit_);
    r.convertOn = convertOn_->isChecked();
    r.targetItem = target_->currentIndex() < 0 ? 0 : target_->currentIndex();
    r.md5On = md5On_->isChecked();
    return s;
}

void ModifyPage::StopRunningJob() {
    if (job_) job_->RequestStop();
}

void ModifyPage::StartOrStopModification(ListingMode mode) {
    if (start_->text() != FormText("开始修改")) {
        if (job_) job_->RequestStop();
        return;
    }
    const std::string tag = FromQString(start_->property("tag").toString());
    const std::string folder =
        PickFolder(tag, T("选择一个存放图片的文件夹，确定后将开始批量修改图片："));
    if (folder.empty()) return;
    start_->setProperty("tag", ToQString(folder));
    watermarkGroup_->setEnabled(false);
    moreGroup_->setEnabled(false);

    ModifyJobHooks hooks;
    hooks.status = [this](const std::string& line) { status_->setText(ToQString(line)); };
    hooks.caption = [this](const std::string& caption) { start_->setText(ToQString(caption)); };
    hooks.progressMaximum = [this](int n) { progress_->setMaximum(n > 0 ? n : 1); };
    hooks.progress = [this](int i) { progress_->setValue(i); };
    hooks.typeFilter = [this] { return FromQString(typeFilter_->text()); };
    hooks.includeSubfolders = [this] { return includeSubfolders_->isChecked(); };
    hooks.saveToNewFolder = [this] { return saveToNewFolder_->isChecked(); };
    if (clock_) hooks.clock = clock_;
    ModifyJob job(CurrentSettings(), std::move(hooks));
    job_ = &job;
    job.Run(folder, mode);
    job_ = nullptr;

    const std::string saveFolder = job.SaveFolder();
    const int answer =
        ShowMessage(job.CompletionLine() + T("\r\n\r\n是否打开保存目录：\r\n") + saveFolder,
                    MessageStyle::YesNo | MessageStyle::IconInformation);
    if (answer == MessageButton::Yes) OpenInExplorer(saveFolder);
    watermarkGroup_->setEnabled(true);
    moreGroup_->setEnabled(true);
    emit jobFinished(job.processed(), job.succeeded());
}

void ModifyPage::closeEvent(QCloseEvent* event) {
    // The window state saving has run the save step by now (it watches the
    // close request); the codecs go last.
    StopImageCodecs();
    QWidget::closeEvent(event);
}

void ModifyPage::ChooseWatermarkPicture() {
    const std::vector<FileFilter> filters = {
        {T("BMP图片"), "*.bmp"},
        {T("JPG图片"), "*.jpg"},
        {T("GIF图片"), "*.gif"},
        {T("PNG图片"), "*.png"},
        {T("图标(ICO)"), "*.ico"},
        {T("鼠标指针(CUR)"), "*.cur"},
        {T("所有支持文件"), "*.bmp;*.jpg;*.gif;*.ico;*.cur;*.png"},
        {T("全部文件"), "*.*"},
    };
    const std::string file =
        PickOpenFile(this, T("选择用作水印的图片文件"), filters, FromQString(imageFile_->text()));
    if (!file.empty()) imageFile_->setText(ToQString(file));
}

void ModifyPage::EditWatermarkText() {
    std::string result;
    if (ShowTextEditor(EditBoxText(text_),
                       T("请输入水印的文字内容，可以引用 #年、#月、#日、#时、#分、#秒"), {},
                       window(), &result))
        SetEditBoxText(text_, result);
}

void ModifyPage::ChooseFont() {
    FontChoice choice{FontOfStyle(style_), style_.textColour};
    if (!PickFont(this, choice)) return;
    TextStyle style = style_;
    style.fontName = FromQString(choice.font.family());
    if (choice.font.pointSizeF() > 0) style.fontSize = choice.font.pointSizeF();
    style.bold = choice.font.bold();
    style.italic = choice.font.italic();
    style.strikeOut = choice.font.strikeOut();
    style.underline = choice.font.underline();
    style.textColour = choice.colour;
    setTextStyle(style);
}

void ModifyPage::setTextStyle(const TextStyle& style) {
    style_ = style;
    ShowTextStyle();
    // The picker follows the text box; setColour only signals a change.
    textBackground_->setColour(style_.backColour);
}

void ModifyPage::ShowTextStyle() {
    text_->setFont(FontOfStyle(style_));
    QPalette palette = text_->palette();
    palette.setColor(QPalette::Text, QColorFromColour(style_.textColour));
    palette.setColor(QPalette::Base, QColorFromColour(style_.backColour));
    text_->setPalette(palette);
}

void ModifyPage::RestoreExtraSettings(SettingsStore& store) {
    store.SelectSection(T("修改图片"));
    TextStyle style = style_;
    style.backColour = static_cast<Colour>(store.ReadNumber(T("文字.背景色"), style.backColour));
    style.textColour = static_cast<Colour>(store.ReadNumber(T("文字.字色"), style.textColour));
    style.bold = store.ReadBool(T("文字.加粗"), style.bold);
    style.italic = store.ReadBool(T("文字.倾斜"), style.italic);
    style.strikeOut = store.ReadBool(T("文字.删除线"), style.strikeOut);
    style.underline = store.ReadBool(T("文字.下划线"), style.underline);
    style.fontName = store.ReadText(T("文字.字体名称"), style.fontName);
    // The file keeps whole points; an unchanged number keeps the exact size.
    const long long shown = std::llround(style.fontSize);
    const long long size = store.ReadNumber(T("文字.字体大小"), shown);
    if (size != shown && size > 0 && size < 1000) style.fontSize = static_cast<double>(size);
    setTextStyle(style);
    ApplyEnablingRules();
}

void ModifyPage::SaveExtraSettings(SettingsStore& store) {
    store.SelectSection(T("修改图片"));
    store.WriteNumber(T("文字.背景色"), style_.backColour);
    store.WriteNumber(T("文字.字色"), style_.textColour);
    store.WriteBool(T("文字.加粗"), style_.bold);
    store.WriteBool(T("文字.倾斜"), style_.italic);
    store.WriteBool(T("文字.删除线"), style_.strikeOut);
    store.WriteBool(T("文字.下划线"), style_.underline);
    store.WriteText(T("文字.字体名称"), style_.fontName);
    store.WriteNumber(T("文字.字体大小"), std::llround(style_.fontSize));
}

} // namespace tuji
