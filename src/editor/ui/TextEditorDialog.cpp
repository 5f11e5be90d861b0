#include "editor/ui/TextEditorDialog.h"

#include "app/ui/Clipboard.h"
#include "app/ui/FormControls.h"
#include "app/ui/MessageBox.h"
#include "editor/NotesText.h"
#include "editor/PromptHeight.h"
#include "text/Encoding.h"
#include "text/TextOps.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

namespace tuji {

namespace {

QPointer<TextEditorDialog>& OpenDialog() {
    static QPointer<TextEditorDialog> dialog;
    return dialog;
}

// The body shows "\n" line ends; the program's texts use CR LF.
QString ForBody(const std::string& text) {
    return ToQString(ReplaceText(ReplaceText(text, "\r\n", "\n"), "\r", "\n"));
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption, QRect place) {
    auto* button = new QPushButton(FormText(caption), parent);
    button->setObjectName(FormText(name));
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TextEditorDialog::TextEditorDialog(const std::string& startValue, const std::string& prompt,
                                   const std::string& title, bool detailsMode, QWidget* owner)
    : QDialog(owner), startValue_(startValue), detailsMode_(detailsMode) {
    setObjectName(FormText("窗口文本编辑"));
    resize(495, 393);
    setSizeGripEnabled(true);

    prompt_ = new QLabel(this);
    prompt_->setObjectName(FormText("编辑框提示"));
    prompt_->setWordWrap(true);
    prompt_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    prompt_->setTextFormat(Qt::PlainText);

    body_ = new QPlainTextEdit(this);
    body_->setObjectName(FormText("编辑框正文"));

    tools_ = new QFrame(this);
    tools_->setObjectName(FormText("外形框"));
    tools_->setGeometry(kMargin, 0, 196, 40);
    auto* restore = Button(tools_, "按钮恢复", "恢复", {6, 8, 58, 24});
    auto* clear = Button(tools_, "按钮清空", "清空", {68, 8, 58, 24});
    auto* paste = Button(tools_, "按钮粘贴", "粘贴", {130, 8, 58, 24});
    ok_ = Button(this, "按钮确定", "确定", {0, 0, 75, 26});
    cancel_ = Button(this, "按钮取消", "取消", {0, 0, 75, 26});

    connect(restore, &QPushButton::clicked, this, &TextEditorDialog::restoreStartValue);
    connect(clear, &QPushButton::clicked, body_, &QPlainTextEdit::clear);
    connect(paste, &QPushButton::clicked, this,
            [this] { body_->setPlainText(ForBody(ClipboardText())); });
    connect(ok_, &QPushButton::clicked, this, [this] {
        result_ = bodyText();
        confirmed_ = true;
        accept();
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    // The creation steps: texts, the mode, the results, the place, the focus.
    prompt_->setText(ToQString(prompt));
    setWindowTitle(ToQString(title));
    body_->setPlainText(ForBody(startValue));
    startShown_ = body_->toPlainText();
    if (detailsMode_) {
        ok_->hide();
        tools_->hide();
        body_->setReadOnly(true);
        // The transparent background: the body shows the dialog through it.
        QPalette palette = body_->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        body_->setPalette(palette);
        QFont bold = prompt_->font();
        bold.setBold(true);
        prompt_->setFont(bold);
        cancel_->setText(FormText("关闭(&G)"));
        cancel_->setDefault(true);
    } else {
        ok_->setDefault(true);
    }
    confirmed_ = false;
    result_.clear();

    const QScreen* screen =
        owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->geometry();
        move(area.x() + area.width() / 2 - width() / 2,
             area.y() + (area.height() - 30) / 2 - height() / 2);
    }
    layOut();
    body_->setFocus();
}

void TextEditorDialog::layOut() {
    const int m = kMargin;
    const int cw = width();
    const int ch = height();
    const int promptWidth = cw - 2 * m;
    prompt_->setGeometry(m, m, promptWidth,
                         PromptHeight(FromQString(prompt_->text()), promptWidth));
    const int bodyTop = prompt_->y() + prompt_->height() + m;
    body_->setGeometry(m, bodyTop, promptWidth, ch - bodyTop - tools_->height());
    tools_->move(m, body_->y() + body_->height());
    cancel_->move(cw - m - cancel_->width(), 0);
    ok_->move(cancel_->x() - ok_->width(), 0);
    for (QPushButton* button : {ok_, cancel_})
        button->move(button->x(), tools_->y() + tools_->height() / 2 - button->height() / 2);
}

void TextEditorDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    layOut();
}

void TextEditorDialog::restoreStartValue() {
    if (startValue_.empty()) {
        ShowMessage(T("启动值为空！"));
        return;
    }
    body_->setPlainText(ForBody(startValue_));
}

std::string TextEditorDialog::bodyText() const {
    return ReplaceText(FromQString(body_->toPlainText()), "\n", "\r\n");
}

void TextEditorDialog::closeEvent(QCloseEvent* event) {
    if (!detailsMode_ && body_->toPlainText() != startShown_ &&
        ShowMessage(T("内容已被改动，是否要放弃？"), MessageStyle::YesNo) != MessageButton::Yes) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

TextEditorDialog* OpenTextEditor() {
    return OpenDialog().data();
}

bool ShowTextEditor(const std::string& startValue, const std::optional<std::string>& prompt,
                    const std::string& title, QWidget* owner, std::string* result) {
    if (OpenDialog()) return false;
    const bool detailsMode = result == nullptr;
    TextEditorDialog dialog(startValue, EditorPrompt(prompt, detailsMode), EditorTitle(title),
                            detailsMode, owner);
    OpenDialog() = &dialog;
    dialog.exec();
    OpenDialog() = nullptr;
    if (dialog.confirmed() && result) *result = dialog.resultText();
    return dialog.confirmed();
}

void ShowNotes() {
    ShowTextEditor(NotesText(), std::nullopt, T("疑点说明"));
}

} // namespace tuji
