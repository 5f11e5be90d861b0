#include "download/ui/BatchDownloadPage.h"

#include "app/ui/Clipboard.h"
#include "app/ui/FormControls.h"
#include "app/ui/MessageBox.h"
#include "app/ui/Shell.h"
#include "collect/SavePath.h"
#include "collect/ui/ThreadCountBox.h"
#include "fs/Files.h"
#include "settings/ui/WindowStateSaving.h"
#include "text/Encoding.h"
#include "text/TextOps.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace tuji {

namespace {

const char* const kStartCaption = "开始下载";
const char* const kStopCaption = "停止下载";
const char* const kStoppingCaption = "正在停止..";
const char* const kFolderHint = "若没有指定目录，将保存到软件目录下的“图片目录”";

} // namespace

std::string BatchDownloadSection() {
    return T("下载图片");
}

BatchDownloadPage::BatchDownloadPage(QWidget* parent) : QWidget(parent) {
    setObjectName(FormText("下载图片"));
    setWindowTitle(FormText("下载图片"));
    setProperty(kSettingsSectionProperty, ToQString(BatchDownloadSection()));
    resize(830, 510);
    BuildForm();
    job_.State().SetSlotLimitSource(
        [box = threadCount_] { return SlotLimitFromIndex(box->currentIndex()); });
    UpdateNamingMode();
}

BatchDownloadPage::~BatchDownloadPage() = default;

void BatchDownloadPage::BuildForm() {
    listLabel_ = PlaceControl<QLabel>(this, "标签1", "图片地址列表：", 12, 16, 120, 24);
    pasteButton_ = PlaceControl<QPushButton>(this, "按钮粘贴", "粘贴", 124, 16, 72, 24);
    const ProgressLine progress = PlaceProgressLine(this, 12, 16, 804, 24);
    progressBar_ = progress.bar;
    progressLabel_ = progress.label;
    // The form's width for the text line, narrower than the bar's own inset.
    progressLabel_->resize(772, 24);

    addressList_ = PlaceControl<QPlainTextEdit>(this, "编辑框图片地址列表", 12, 48, 804, 368);
    addressList_->setLineWrapMode(QPlainTextEdit::NoWrap);

    folderLabel_ = PlaceControl<QLabel>(this, "标签2", "保存目录：", 12, 428, 80, 24);
    folderBox_ = PlaceControl<QLineEdit>(this, "编辑框保存目录", kFolderHint, 92, 428, 526, 24);
    folderButton_ = PlaceControl<QPushButton>(this, "按钮选择目录", "..", 622, 428, 40, 24);
    threadCount_ = PlaceThreadCountBox(this, 666, 428, 150, 24);

    namingLabel_ = PlaceControl<QLabel>(this, "标签3", "保存名称：", 12, 466, 80, 24);
    originalName_ = PlaceControl<QRadioButton>(this, "单选框原图片名", "原图片名", 92, 466, 88, 24);
    originalPath_ =
        PlaceControl<QRadioButton>(this, "单选框原图片路径", "原图片路径", 188, 466, 104, 24);
    autoName_ = PlaceControl<QRadioButton>(this, "单选框自动命名", "自动命名", 300, 466, 104, 24);
    autoName_->setChecked(true);

    startButton_ =
        PlaceControl<QPushButton>(this, "按钮开始下载", kStartCaption, 420, 462, 396, 32);

    connect(pasteButton_, &QPushButton::clicked, this, &BatchDownloadPage::PasteAddresses);
    connect(folderButton_, &QPushButton::clicked, this, &BatchDownloadPage::PickSaveFolder);
    OnRightClick(folderButton_, this, [this] { OpenSaveFolder(); });
    connect(startButton_, &QPushButton::clicked, this,
            &BatchDownloadPage::StartOrStopBatchDownload);
    // Workers read the naming choice when they save, off the user-interface
    // thread; they get it from the job, which follows the buttons.
    for (QRadioButton* button : {originalName_, originalPath_, autoName_})
        connect(button, &QRadioButton::toggled, this, &BatchDownloadPage::UpdateNamingMode);
}

void BatchDownloadPage::UpdateNamingMode() {
    job_.SetNamingMode(
        NamingModeFromChecks(originalName_->isChecked(), originalPath_->isChecked(), false));
}

void BatchDownloadPage::StopRunningJob() {
    if (job_.IsRunning()) job_.RequestStop();
}

void BatchDownloadPage::StartOrStopBatchDownload() {
    if (startButton_->text() != FormText(kStartCaption)) {
        startButton_->setText(FormText(kStoppingCaption));
        job_.RequestStop();
        return;
    }
    BatchDownloadJob::Hooks hooks;
    hooks.started = [this](int n) {
        startButton_->setText(FormText(kStopCaption));
        progressBar_->setRange(0, n);
        progressBar_->setValue(0);
        progressBar_->show();
        progressLabel_->show();
    };
    hooks.progress = [this](int n, int i, const std::string& line) {
        progressBar_->setValue(i);
        progressLabel_->setText(ToQString("(" + NumberText(n) + ":" + NumberText(i) + ") " + line));
    };
    const auto result =
        job_.Run(FromQString(addressList_->toPlainText()), FromQString(folderBox_->text()), hooks);
    if (!result) return; // an empty list: nothing to report
    ShowMessage(BatchDownloadSummary(*result));
    progressBar_->hide();
    progressLabel_->hide();
    startButton_->setText(FormText(kStartCaption));
}

void BatchDownloadPage::PasteAddresses() {
    addressList_->setPlainText(ToQString(ClipboardText()));
}

void BatchDownloadPage::PickSaveFolder() {
    PickFolderIntoBox(this, folderBox_);
}

void BatchDownloadPage::OpenSaveFolder() {
    const std::string typed = FromQString(folderBox_->text());
    OpenInExplorer(PathIsFolder(typed) ? typed : DefaultBatchFolder());
}

} // namespace tuji
