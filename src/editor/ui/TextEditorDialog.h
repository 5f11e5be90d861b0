#pragma once

// The text-list editor: a modal dialog for editing a long text (input mode,
// with "恢复", "清空", "粘贴", "确定" and "取消") or reading one (details mode,
// read-only with a single "关闭(&G)" button).

#include <QDialog>
#include <optional>
#include <string>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tuji {

// Opens the editor modally and waits. Input mode when `result` is given:
// returns true when the user pressed "确定", and `result` then holds the
// body's text (program text, CR LF line ends); any other way of closing
// returns false and leaves `result` untouched. Details mode otherwise, and
// the call returns false. A prompt of nullopt shows none; an empty one shows
// the mode's default. An empty title shows "岚舟：". The owner, when given,
// is disabled while the dialog is open. Returns false at once when the
// editor is already open.
bool ShowTextEditor(const std::string& startValue,
                    const std::optional<std::string>& prompt = std::nullopt,
                    const std::string& title = {}, QWidget* owner = nullptr,
                    std::string* result = nullptr);

// The notes display of the header ("疑点说明"): the program's notes in
// details mode, no prompt, no owner.
void ShowNotes();

class TextEditorDialog : public QDialog {
    Q_OBJECT
public:
    TextEditorDialog(const std::string& startValue, const std::string& prompt,
                     const std::string& title, bool detailsMode, QWidget* owner);

    bool confirmed() const { return confirmed_; }
    const std::string& resultText() const { return result_; }
    bool detailsMode() const { return detailsMode_; }

    static constexpr int kMargin = 5;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void layOut();
    void restoreStartValue();
    std::string bodyText() const;

    std::string startValue_;
    QString startShown_; // the body as it first showed the start value
    bool detailsMode_;
    bool confirmed_ = false;
    std::string result_;

    QLabel* prompt_;
    QPlainTextEdit* body_;
    QFrame* tools_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

// The editor that is open now, or nullptr (for tests that drive it).
TextEditorDialog* OpenTextEditor();

} // namespace tuji
