#pragma once

// The page "下载图片": a pasted address list downloaded into one folder. A
// thin view over BatchDownloadJob; the controls carry the form's names,
// since the settings file keys on them (section "下载图片").

#include "app/ui/PageJob.h"
#include "download/BatchDownloadJob.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace tuji {

// The section of the page's controls in the settings file (program text).
std::string BatchDownloadSection();

class BatchDownloadPage : public QWidget, public PageJob {
    Q_OBJECT
public:
    explicit BatchDownloadPage(QWidget* parent = nullptr);
    ~BatchDownloadPage() override;

    // The click handler of 按钮开始下载: starts the job, or asks the running
    // job to stop. Returns when the job has ended (or at once for a stop).
    void StartOrStopBatchDownload();
    void StopRunningJob() override;
    // 按钮粘贴: the clipboard's text replaces the list.
    void PasteAddresses();
    // 按钮选择目录, left: the folder picker writes into 编辑框保存目录.
    void PickSaveFolder();
    // 按钮选择目录, right: the box's folder when it exists, else the default one.
    void OpenSaveFolder();

    BatchDownloadJob& Job() { return job_; }

private:
    void BuildForm();
    void UpdateNamingMode();

    BatchDownloadJob job_;
    QLabel* listLabel_ = nullptr;
    QPushButton* pasteButton_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QLabel* progressLabel_ = nullptr;
    QPlainTextEdit* addressList_ = nullptr;
    QLabel* folderLabel_ = nullptr;
    QLineEdit* folderBox_ = nullptr;
    QPushButton* folderButton_ = nullptr;
    QComboBox* threadCount_ = nullptr;
    QLabel* namingLabel_ = nullptr;
    QRadioButton* originalName_ = nullptr;
    QRadioButton* originalPath_ = nullptr;
    QRadioButton* autoName_ = nullptr;
    QPushButton* startButton_ = nullptr;
};

} // namespace tuji
