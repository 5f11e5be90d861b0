#pragma once

// The page "转存文章图片": re-hosting the images of local article files. A
// thin view over RehostJob; the controls carry the form's names, since the
// settings file keys on them (section "转存图片").

#include "app/ui/PageJob.h"
#include "rehost/RehostJob.h"
#include "rehost/RehostView.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace tuji {

class StateListView;

// The section of the page's controls in the settings file (program text).
std::string RehostSection();

class RehostPage : public QWidget, public RehostView, public PageJob {
    Q_OBJECT
public:
    explicit RehostPage(QWidget* parent = nullptr);
    ~RehostPage() override;

    // 按钮开始转存: a click lists the articles with ListFolderEntries, a right
    // click with SearchFolderEntries; while a job runs either asks it to stop.
    void StartOrStopRehosting(ListingMethod method);
    void StopRunningJob() override;
    // 按钮选择, left: the folder picker writes into 编辑框文章目录.
    void PickArticleFolder();
    // 按钮选择, right: the article folder in the file manager.
    void OpenArticleFolder();

    RehostJob& Job() { return job_; }

    // RehostView
    RehostInputs Inputs() override;
    int ThreadCountIndex() override;
    void SetStartCaption(const std::string& caption) override;
    void SetRunning(bool running, int articleCount) override;
    void SetProgress(int position, const std::string& line) override;
    void ClearRows() override;
    void AddRow(const QueueEntry& entry, int icon, const std::string& status) override;
    void SetRow(int row, int icon, const std::string& status) override;
    void ScrollToRow(int row) override;
    void ShowPlainMessage(const std::string& text) override;
    bool AskPlainQuestion(const std::string& text) override;
    void OpenFolder(const std::string& folder) override;

private:
    void BuildForm();

    QLabel* folderLabel_ = nullptr;
    QLineEdit* articleFolder_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QPushButton* pickButton_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QLabel* progressLabel_ = nullptr;
    QLabel* imageFolderLabel_ = nullptr;
    QLineEdit* imageFolder_ = nullptr;
    QPushButton* startButton_ = nullptr;
    QComboBox* threadCount_ = nullptr;
    StateListView* queue_ = nullptr;
    QLabel* oldDomainLabel_ = nullptr;
    QLineEdit* oldDomain_ = nullptr;
    QLabel* newDomainLabel_ = nullptr;
    QLineEdit* newDomain_ = nullptr;
    QLabel* excludedLabel_ = nullptr;
    QLineEdit* excluded_ = nullptr;
    // Last, so that it goes first: its destructor waits for running workers,
    // which still post to this page.
    RehostJob job_;
};

} // namespace tuji
