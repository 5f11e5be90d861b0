#include "collect/ui/KeywordPage.h"

#include "app/Paths.h"
#include "app/ui/Clipboard.h"
#include "app/ui/FormControls.h"
#include "app/ui/MessageBox.h"
#include "app/ui/Shell.h"
#include "app/ui/StateListView.h"
#include "collect/SearchQuery.h"
#include "collect/ui/ThreadCountBox.h"
#include "editor/ui/TextEditorDialog.h"
#include "fs/Files.h"
#include "settings/ProgramSettings.h"
#include "settings/ui/WindowControls.h"
#include "settings/ui/WindowStateSaving.h"
#include "text/Encoding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace tuji {

std::string KeywordPageSection() {
    return T("采集图片");
}

std::string SearchServiceSetting() {
    SettingsStore& store = ProgramSettings();
    std::string previous = store.Section();
    store.SelectSection(T("主界面"));
    std::string service = store.ReadText(T("搜索服务"), kDefaultSearchService);
    if (!previous.empty()) store.SelectSection(previous);
    return service;
}

KeywordPage::KeywordPage(QWidget* parent) : QWidget(parent), job_(*this) {
    setWindowTitle(FormText("关键词采集图片"));
    setProperty(kSettingsSectionProperty, ToQString(KeywordPageSection()));
    resize(830, 510);
    BuildForm();
    UpdateNamingMode();
    ApplyAddressOnlyRule();
}

KeywordPage::~KeywordPage() = default;

void KeywordPage::BuildForm() {
    PlaceControl<QLabel>(this, "标签1", "关键词列表：", 14, 16, 96, 24);
    keywords_ = PlaceControl<QPlainTextEdit>(this, "编辑框关键词列表", 110, 16, 323, 24);
    keywords_->setPlainText(FormText("猫|外星人"));
    keywords_->setLineWrapMode(QPlainTextEdit::NoWrap);
    keywords_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    keywords_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    keywords_->setTabChangesFocus(true);
    keywords_->document()->setDocumentMargin(2);
    // Long lists go to a side file beside the settings file.
    keywords_->setProperty("tag", FormText("字节集方式"));

    pasteButton_ = PlaceControl<QPushButton>(this, "按钮粘贴", "粘贴", 436, 16, 40, 24);
    editButton_ = PlaceControl<QPushButton>(this, "按钮输入关键词", "..", 478, 16, 28, 24);
    sizeChoice_ = PlaceControl<QComboBox>(this, "组合框尺寸", 508, 16, 100, 24);
    FillChoices(sizeChoice_, SizeChoiceItems(), 0);
    typeChoice_ = PlaceControl<QComboBox>(this, "组合框类型", 612, 16, 100, 24);
    FillChoices(typeChoice_, TypeChoiceItems(), 0);
    colourChoice_ = PlaceControl<QComboBox>(this, "组合框颜色", 716, 16, 100, 24);
    FillChoices(colourChoice_, ColourChoiceItems(), 0);

    list_ = PlaceControl<StateListView>(this, "超级列表框", 12, 43, 805, 336);
    list_->setColumn(0, T("存放位置"), 450);
    list_->setColumn(1, T("图片地址"), 350);
    list_->setColumn(2, T("图片标题"), 0);

    PlaceControl<QLabel>(this, "标签2", "保存目录：", 12, 388, 80, 24);
    folderBox_ = PlaceControl<QLineEdit>(this, "编辑框保存目录", 92, 388, 488, 24);
    folderBox_->setText(FormText("若没有指定目录，将保存到软件目录下的“关键词目录”"));
    folderButton_ = PlaceControl<QPushButton>(this, "按钮选择目录", "..", 585, 388, 40, 24);
    PlaceControl<QLabel>(this, "标签4", "最多采集图片数：", 641, 388, 120, 24);
    maximumBox_ = PlaceControl<QLineEdit>(this, "编辑框最多图片数", 764, 388, 53, 24);
    maximumBox_->setText(FormText("全部"));

    PlaceControl<QLabel>(this, "标签3", "保存名称：", 12, 420, 80, 24);
    originalName_ =
        PlaceControl<QRadioButton>(this, "单选框原图片名", "原图片名", 92, 420, 100, 24);
    originalPath_ =
        PlaceControl<QRadioButton>(this, "单选框原图片路径", "原图片路径", 193, 420, 110, 24);
    titleName_ = PlaceControl<QRadioButton>(this, "单选框图片标题", "图片标题", 305, 420, 95, 24);
    autoName_ = PlaceControl<QRadioButton>(this, "单选框自动命名", "自动命名", 401, 420, 95, 24);
    titleName_->setChecked(true);
    addressOnly_ =
        PlaceControl<QCheckBox>(this, "选择框仅保存图片地址", "仅保存图片地址", 502, 420, 136, 24);
    threadCount_ = PlaceThreadCountBox(this, 642, 420, 174, 23);
    startButton_ = PlaceControl<QPushButton>(this, "按钮开始采集", "开始采集", 12, 454, 805, 42);

    connect(pasteButton_, &QPushButton::clicked, this, &KeywordPage::PasteKeywords);
    connect(editButton_, &QPushButton::clicked, this, &KeywordPage::EditKeywords);
    connect(folderButton_, &QPushButton::clicked, this, &KeywordPage::PickSaveFolder);
    OnRightClick(folderButton_, this, [this] { OpenSaveFolder(); });
    connect(startButton_, &QPushButton::clicked, this, &KeywordPage::StartOrStopCollecting);
    // toggled, not clicked: a restore from the settings file applies the
    // rule and the naming mode too.
    connect(addressOnly_, &QCheckBox::toggled, this, &KeywordPage::ApplyAddressOnlyRule);
    for (QRadioButton* r : {originalName_, originalPath_, titleName_, autoName_})
        connect(r, &QRadioButton::toggled, this, &KeywordPage::UpdateNamingMode);
    connect(list_, &StateListView::rowClicked, this, [this](int row, Qt::MouseButton button) {
        if (button == Qt::RightButton) OpenRowAddress(row);
    });
}

void KeywordPage::UpdateNamingMode() {
    job_.SetNamingMode(NamingModeFromChecks(originalName_->isChecked(), originalPath_->isChecked(),
                                            titleName_->isChecked()));
}

void KeywordPage::ApplyAddressOnlyRule() {
    bool enabled = !addressOnly_->isChecked();
    threadCount_->setEnabled(enabled);
    for (QRadioButton* r : {originalName_, originalPath_, titleName_, autoName_})
        r->setEnabled(enabled);
}

void KeywordPage::StartOrStopCollecting() {
    job_.OnStartClicked();
}

void KeywordPage::StopRunningJob() {
    if (job_.IsRunning()) job_.State().stopRequested = 1;
}

void KeywordPage::PasteKeywords() {
    SetEditBoxText(keywords_, ClipboardText());
}

void KeywordPage::EditKeywords() {
    std::string edited;
    if (ShowTextEditor(EditBoxText(keywords_),
                       T("请输入关键词列表，一行一个（同时支持使用|隔开多个关键词）"), {}, window(),
                       &edited))
        SetEditBoxText(keywords_, edited);
}

void KeywordPage::PickSaveFolder() {
    PickFolderIntoBox(this, folderBox_);
}

void KeywordPage::OpenSaveFolder() {
    std::string folder = FromQString(folderBox_->text());
    OpenInExplorer(!folder.empty() && PathIsFolder(folder) ? folder : DefaultKeywordFolder());
}

void KeywordPage::OpenRowAddress(int row) {
    std::string address = list_->cellText(row, 1);
    if (!address.empty()) OpenWithShell(address);
}

KeywordInputs KeywordPage::Inputs() {
    KeywordInputs in;
    in.keywordList = EditBoxText(keywords_);
    in.saveFolderText = FromQString(folderBox_->text());
    in.maximumText = FromQString(maximumBox_->text());
    in.addressOnly = addressOnly_->isChecked();
    in.searchService = SearchServiceSetting();
    return in;
}

SearchChoices KeywordPage::Choices() {
    return {sizeChoice_->currentIndex(), typeChoice_->currentIndex(),
            FromQString(colourChoice_->currentText())};
}

int KeywordPage::ThreadCountIndex() {
    return threadCount_->currentIndex();
}

void KeywordPage::SetStartCaption(const std::string& caption) {
    startButton_->setText(ToQString(caption));
}

void KeywordPage::SetFirstColumnTitle(const std::string& title) {
    list_->listModel()->setColumnTitle(0, ToQString(title));
}

void KeywordPage::SetAddressOnlyBoxEnabled(bool enabled) {
    addressOnly_->setEnabled(enabled);
}

int KeywordPage::RowCount() {
    return list_->rowCount();
}

void KeywordPage::ClearRows() {
    list_->clearRows();
}

void KeywordPage::AppendRow(int icon, const std::string& state, const std::string& address,
                            const std::string& title) {
    list_->appendRow(icon, {state, address, title});
}

void KeywordPage::SetRowState(int row, int icon, const std::string& state) {
    list_->setCellText(row, 0, state);
    list_->setRowIcon(row, icon);
}

void KeywordPage::ScrollToRow(int row) {
    list_->scrollRowIntoView(row);
}

void KeywordPage::ShowCompletion(const std::string& text) {
    ShowMessage(text);
}

} // namespace tuji
