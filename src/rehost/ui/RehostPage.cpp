#include "rehost/ui/RehostPage.h"

#include "app/ui/FormControls.h"
#include "app/ui/MessageBox.h"
#include "app/ui/Shell.h"
#include "app/ui/StateListView.h"
#include "collect/ui/ThreadCountBox.h"
#include "rehost/ReferenceRules.h"
#include "settings/ui/WindowStateSaving.h"
#include "text/Encoding.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace tuji {

std::string RehostSection() {
    return T("转存图片");
}

RehostPage::RehostPage(QWidget* parent) : QWidget(parent), job_(*this) {
    setObjectName(FormText("转存文章图片"));
    setWindowTitle(FormText("转存文章图片"));
    // The section is not the window title; the window state saving reads it here.
    setProperty(kSettingsSectionProperty, ToQString(RehostSection()));
    resize(830, 510);
    BuildForm();
}

// The job's destructor runs before the controls go, and waits for any
// worker still on its way.
RehostPage::~RehostPage() = default;

void RehostPage::BuildForm() {
    folderLabel_ = PlaceControl<QLabel>(this, "标签1", "文章目录：", 13, 16, 80, 28);
    articleFolder_ =
        PlaceControl<QLineEdit>(this, "编辑框文章目录", "C:\\文章目录", 93, 16, 673, 28);
    // The filter lies over the right end of the article folder box.
    filter_ = PlaceControl<QLineEdit>(this, "编辑框过滤", "*.htm", 704, 18, 60, 24);
    filter_->raise();
    pickButton_ = PlaceControl<QPushButton>(this, "按钮选择", "..", 768, 16, 48, 28);

    // Over the first row of inputs, shown only while a job runs.
    const ProgressLine progress = PlaceProgressLine(this, 13, 16, 803, 28);
    progressBar_ = progress.bar;
    progressLabel_ = progress.label;

    imageFolderLabel_ = PlaceControl<QLabel>(this, "标签2", "保存目录：", 13, 56, 80, 28);
    imageFolder_ =
        PlaceControl<QLineEdit>(this, "编辑框图片存放目录", "files\\img", 93, 56, 387, 28);
    startButton_ = PlaceControl<QPushButton>(this, "按钮开始转存", 484, 56, 176, 28);
    startButton_->setText(ToQString(job_.Caption()));
    threadCount_ = PlaceThreadCountBox(this, 664, 58, 150, 28);

    queue_ = PlaceControl<StateListView>(this, "超级列表框", 13, 96, 803, 328);
    queue_->setColumn(0, T("存放位置"), 350);
    queue_->setColumn(1, T("下载地址"), 250);

    oldDomainLabel_ = PlaceControl<QLabel>(this, "标签3", "相对旧域：", 13, 437, 75, 24);
    oldDomain_ = PlaceControl<QLineEdit>(this, "编辑框相对旧域", 93, 437, 300, 24);
    newDomainLabel_ = PlaceControl<QLabel>(this, "标签5", "相对新域：", 437, 438, 75, 24);
    newDomain_ = PlaceControl<QLineEdit>(this, "编辑框相对新域", 517, 438, 300, 24);
    excludedLabel_ = PlaceControl<QLabel>(this, "标签4", "排除地址：", 13, 471, 75, 24);
    excluded_ = PlaceControl<QLineEdit>(this, "编辑框排除地址", 93, 471, 724, 24);

    connect(pickButton_, &QPushButton::clicked, this, &RehostPage::PickArticleFolder);
    OnRightClick(pickButton_, this, [this] { OpenArticleFolder(); });
    connect(startButton_, &QPushButton::clicked, this,
            [this] { StartOrStopRehosting(ListingMethod::Walk); });
    OnRightClick(startButton_, this, [this] { StartOrStopRehosting(ListingMethod::Search); });
}

void RehostPage::StartOrStopRehosting(ListingMethod method) {
    job_.StartOrStopRehosting(method);
}

void RehostPage::StopRunningJob() {
    // While a job runs, the start routine only asks it to stop.
    if (job_.Running()) job_.StartOrStopRehosting(ListingMethod::Walk);
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
