#include "rehost/ui/RehostPage.h"

#include "app/ui/MessageBox.h"
#include "app/ui/ProgressOverlay.h"
#include "app/ui/Shell.h"
#include "app/ui/StateListView.h"
#include "rehost/ReferenceRules.h"
#include "text/Encoding.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace tuji {

namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

template <typename Control>
Control* Place(QWidget* page, const char* name, int left, int top, int width, int height) {
    auto* control = new Control(page);
    control->setObjectName(U(name));
    control->setGeometry(left, top, width, height);
    return control;
}

QLabel* PlaceLabel(QWidget* page, const char* name, const char* text, int left, int top, int width,
                   int height) {
    QLabel* label = Place<QLabel>(page, name, left, top, width, height);
    label->setText(U(text));
    return label;
}

} // namespace

std::string RehostSection() {
    return T("转存图片");
}

RehostPage::RehostPage(QWidget* parent) : QWidget(parent), job_(*this) {
    setObjectName(U("转存文章图片"));
    setWindowTitle(U("转存文章图片"));
    // The section is not the window title; the window state saving reads it here.
    setProperty("settingsSection", ToQString(RehostSection()));
    resize(830, 510);
    BuildForm();
}

// The job's destructor runs before the controls go, and waits for any
// worker still on its way.
RehostPage::~RehostPage() = default;

void RehostPage::BuildForm() {
    folderLabel_ = PlaceLabel(this, "标签1", "文章目录：", 13, 16, 80, 28);
    articleFolder_ = Place<QLineEdit>(this, "编辑框文章目录", 93, 16, 673, 28);
    articleFolder_->setText(U("C:\\文章目录"));
    // The filter lies over the right end of the article folder box.
    filter_ = Place<QLineEdit>(this, "编辑框过滤", 704, 18, 60, 24);
    filter_->setText(U("*.htm"));
    filter_->raise();
    pickButton_ = Place<QPushButton>(this, "按钮选择", 768, 16, 48, 28);
    pickButton_->setText(U(".."));
    pickButton_->setContextMenuPolicy(Qt::CustomContextMenu);

    // Over the first row of inputs, shown only while a job runs.
    progressBar_ = Place<QProgressBar>(this, "进度条", 13, 16, 803, 28);
    progressLabel_ = Place<QLabel>(this, "透明标签", 29, 16, 771, 28);
    LayLabelOverBar(progressLabel_, progressBar_);
    progressBar_->hide();
    progressLabel_->hide();

    imageFolderLabel_ = PlaceLabel(this, "标签2", "保存目录：", 13, 56, 80, 28);
    imageFolder_ = Place<QLineEdit>(this, "编辑框图片存放目录", 93, 56, 387, 28);
    imageFolder_->setText(U("files\\img"));
    startButton_ = Place<QPushButton>(this, "按钮开始转存", 484, 56, 176, 28);
    startButton_->setText(ToQString(job_.Caption()));
    startButton_->setContextMenuPolicy(Qt::CustomContextMenu);
    threadCount_ = Place<QComboBox>(this, "组合框线程数", 664, 58, 150, 28);
    for (const std::string& item : ThreadCountItems())
        threadCount_->addItem(ToQString(item));
    threadCount_->setCurrentIndex(kDefaultThreadCountIndex);

    queue_ = Place<StateListView>(this, "超级列表框", 13, 96, 803, 328);
    queue_->setColumn(0, T("存放位置"), 350);
    queue_->setColumn(1, T("下载地址"), 250);

    oldDomainLabel_ = PlaceLabel(this, "标签3", "相对旧域：", 13, 437, 75, 24);
    oldDomain_ = Place<QLineEdit>(this, "编辑框相对旧域", 93, 437, 300, 24);
    newDomainLabel_ = PlaceLabel(this, "标签5", "相对新域：", 437, 438, 75, 24);
    newDomain_ = Place<QLineEdit>(this, "编辑框相对新域", 517, 438, 300, 24);
    excludedLabel_ = PlaceLabel(this, "标签4", "排除地址：", 13, 471, 75, 24);
    excluded_ = Place<QLineEdit>(this, "编辑框排除地址", 93, 471, 724, 24);

    connect(pickButton_, &QPushButton::clicked, this, &RehostPage::PickArticleFolder);
    connect(pickButton_, &QWidget::customContextMenuRequested, this,
            &RehostPage::OpenArticleFolder);
    connect(startButton_, &QPushButton::clicked, this,
            [this] { StartOrStopRehosting(ListingMethod::Walk); });
    connect(startButton_, &QWidget::customContextMenuRequested, this,
            [this] { StartOrStopRehosting(ListingMethod::Search); });
}

void RehostPage::StartOrStopRehosting(ListingMethod method) {
    job_.StartOrStopRehosting(method);
}

void RehostPage::PickArticleFolder() {
    PickFolderIntoBox(this, articleFolder_);
}

void RehostPage::OpenArticleFolder() {
    OpenInExplorer(FromQString(articleFolder_->text()));
}

RehostInputs RehostPage::Inputs() {
    RehostInputs inputs;
    inputs.articleFolder = FromQString(articleFolder_->text());
    inputs.filter = FromQString(filter_->text());
    inputs.imageFolder = FromQString(imageFolder_->text());
    inputs.oldDomain = FromQString(oldDomain_->text());
    inputs.newDomain = FromQString(newDomain_->text());
    inputs.excluded = FromQString(excluded_->text());
    return inputs;
}

int RehostPage::ThreadCountIndex() {
    return threadCount_->currentIndex();
}

void RehostPage::SetStartCaption(const std::string& caption) {
    startButton_->setText(ToQString(caption));
}

void RehostPage::SetRunning(bool running, int articleCount) {
    if (running) {
        progressBar_->setRange(0, articleCount);
        progressBar_->setValue(0);
    }
    progressBar_->setVisible(running);
    progressLabel_->setVisible(running);
    for (QLineEdit* box : {newDomain_, excluded_, oldDomain_, imageFolder_})
        box->setEnabled(!running);
}

void RehostPage::SetProgress(int position, const std::string& line) {
    progressBar_->setValue(position);
    progressLabel_->setText(ToQString(line));
}

void RehostPage::ClearRows() {
    queue_->clearRows();
}

void RehostPage::AddRow(const QueueEntry& entry, int icon, const std::string& status) {
    int row = queue_->appendRow(
        icon, {status, Utf8ToTextLenient(AddressForDisplay(entry.downloadAddress))});
    queue_->setRowData(row, entry.reference);
}

void RehostPage::SetRow(int row, int icon, const std::string& status) {
    queue_->setRowIcon(row, icon);
    queue_->setCellText(row, 0, status);
}

void RehostPage::ScrollToRow(int row) {
    queue_->scrollRowIntoView(row);
}

void RehostPage::ShowPlainMessage(const std::string& text) {
    ::tuji::ShowPlainMessage(text);
}

bool RehostPage::AskPlainQuestion(const std::string& text) {
    return ::tuji::ShowPlainMessage(text, MessageStyle::YesNo) == MessageButton::Yes;
}

void RehostPage::OpenFolder(const std::string& folder) {
    OpenInExplorer(folder);
}

} // namespace tuji
