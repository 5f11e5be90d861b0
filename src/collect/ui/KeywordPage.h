#pragma once

// The page "关键词采集图片": a keyword list collected from the image-search
// service, into one folder per keyword or as address files. A thin view over
// KeywordJob; the controls carry the form's names, since the settings file
// keys on them (section "采集图片").

#include "app/ui/PageJob.h"
#include "collect/KeywordJob.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace tuji {

class StateListView;

// The section of the page's controls in the settings file (program text).
std::string KeywordPageSection();

// The search service's scheme and host: settings file, section "主界面",
// key "搜索服务", read anew at every job start; the program never writes it.
std::string SearchServiceSetting();

class KeywordPage : public QWidget, public KeywordView, public PageJob {
    Q_OBJECT
public:
    explicit KeywordPage(QWidget* parent = nullptr);
    ~KeywordPage() override;

    // The click handler of 按钮开始采集: runs the job until it ends, or asks
    // the running job to stop.
    void StartOrStopCollecting();
    void StopRunningJob() override;
    void PasteKeywords();         // 按钮粘贴
    void EditKeywords();          // 按钮输入关键词
    void PickSaveFolder();        // 按钮选择目录, left button
    void OpenSaveFolder();        // 按钮选择目录, right button
    void OpenRowAddress(int row); // right button on a row of 超级列表框
    // 选择框仅保存图片地址: thread count and naming disabled while it is ticked.
    void ApplyAddressOnlyRule();

    KeywordJob& Job() { return job_; }
    StateListView* List() const { return list_; }

    // KeywordView
    KeywordInputs Inputs() override;
    SearchChoices Choices() override;
    int ThreadCountIndex() override;
    void SetStartCaption(const std::string& caption) override;
    void SetFirstColumnTitle(const std::string& title) override;
    void SetAddressOnlyBoxEnabled(bool enabled) override;
    int RowCount() override;
    void ClearRows() override;
    void AppendRow(int icon, const std::string& state, const std::string& address,
                   const std::string& title) override;
    void SetRowState(int row, int icon, const std::string& state) override;
    void ScrollToRow(int row) override;
    void ShowCompletion(const std::string& text) override;

private:
    void BuildForm();
    void UpdateNamingMode();

    KeywordJob job_;
    QPlainTextEdit* keywords_ = nullptr;
    QPushButton* pasteButton_ = nullptr;
    QPushButton* editButton_ = nullptr;
    QComboBox* sizeChoice_ = nullptr;
    QComboBox* typeChoice_ = nullptr;
    QComboBox* colourChoice_ = nullptr;
    StateListView* list_ = nullptr;
    QLineEdit* folderBox_ = nullptr;
    QPushButton* folderButton_ = nullptr;
    QLineEdit* maximumBox_ = nullptr;
    QRadioButton* originalName_ = nullptr;
    QRadioButton* originalPath_ = nullptr;
    QRadioButton* titleName_ = nullptr;
    QRadioButton* autoName_ = nullptr;
    QCheckBox* addressOnly_ = nullptr;
    QComboBox* threadCount_ = nullptr;
    QPushButton* startButton_ = nullptr;
};

} // namespace tuji
