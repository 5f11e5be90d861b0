#pragma once

// The page "修改图片": the watermark group "插入水印", the group "更多修改",
// the type filter and two options, the start button and the progress line.
// The work itself is ModifyJob's; the page turns its controls into the job's
// settings and shows what the job reports.

#include "app/ui/PageJob.h"
#include "modify/ModifyJob.h"
#include "modify/ModifySettings.h"
#include "settings/ui/WindowStateSaving.h"

#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace tuji {

class ColourPicker;

class ModifyPage : public QWidget, public PageSettingsSteps, public PageJob {
    Q_OBJECT
public:
    explicit ModifyPage(QWidget* parent = nullptr);
    ~ModifyPage() override;

    // The click handler of 按钮开始修改 (left click: FileSystemObject,
    // right click: WildcardSearch). Runs the whole job when idle; while a job
    // runs it only asks it to stop.
    void StartOrStopModification(ListingMode mode);
    void StopRunningJob() override;

    // The "文字." keys of the text watermark's style, after the controls.
    void RestoreExtraSettings(SettingsStore& store) override;
    void SaveExtraSettings(SettingsStore& store) override;

    // What the groups say now, as the job reads it.
    ModifyJobSettings CurrentSettings() const;
    const TextStyle& textStyle() const { return style_; }
    void setTextStyle(const TextStyle& style);
    void ApplyEnablingRules();

    // For tests: the clock of the text watermark's placeholders.
    void setClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }
    const ModifyJob* runningJob() const { return job_; }

signals:
    // After each job, with its counts (also after a stop).
    void jobFinished(int processed, int succeeded);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildWatermarkGroup();
    void BuildMoreGroup();
    void BuildJobControls();
    void ChooseWatermarkPicture();
    void EditWatermarkText();
    void ChooseFont();
    void ShowTextStyle();

    QGroupBox* watermarkGroup_ = nullptr;
    QComboBox* position_ = nullptr;
    QLineEdit* edgeDistance_ = nullptr;
    QCheckBox* imageOn_ = nullptr;
    QLineEdit* imageFile_ = nullptr;
    QPushButton* chooseImage_ = nullptr;
    ColourPicker* keyColour_ = nullptr;
    QCheckBox* textOn_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QPushButton* editText_ = nullptr;
    QPushButton* chooseFont_ = nullptr;
    ColourPicker* textBackground_ = nullptr;

    QGroupBox* moreGroup_ = nullptr;
    QCheckBox* scaleOn_ = nullptr;
    QLineEdit* scale_ = nullptr;
    QComboBox* condition_ = nullptr;
    QLineEdit* widthLimit_ = nullptr;
    QLineEdit* heightLimit_ = nullptr;
    QCheckBox* convertOn_ = nullptr;
    QComboBox* target_ = nullptr;
    QCheckBox* md5On_ = nullptr;

    QLineEdit* typeFilter_ = nullptr;
    QCheckBox* includeSubfolders_ = nullptr;
    QCheckBox* saveToNewFolder_ = nullptr;
    QPushButton* start_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;

    TextStyle style_;
    ModifyJob* job_ = nullptr; // the job while it runs (it lives in StartOrStopModification)
    std::function<QDateTime()> clock_;
};

} // namespace tuji
