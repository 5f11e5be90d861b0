#include "editor/ui/TextEditorDialog.h"

#include "app/ui/Clipboard.h"
#include "app/ui/MessageBox.h"
#include "support/ModalDriver.h"
#include "text/Encoding.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace tuji;
using tuji::test::WhenModal;

namespace {

QString U(const char* s) {
    return QString::fromUtf8(s);
}

template <typename W> W* Part(TextEditorDialog* d, const char* name) {
    W* w = d->findChild<W*>(U(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// Runs `action` on the editor once it is open.
void OnEditor(std::function<void(TextEditorDialog*)> action) {
    WhenModal([action](QWidget* w) {
        auto* dialog = qobject_cast<TextEditorDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(OpenTextEditor(), dialog);
        action(dialog);
    });
}

} // namespace

TEST(TextEditor, ConfirmedEditReachesTheCaller) {
    std::string result = "untouched";
    QString title, prompt;
    OnEditor([&](TextEditorDialog* d) {
        title = d->windowTitle();
        prompt = Part<QLabel>(d, "编辑框提示")->text();
        Part<QPlainTextEdit>(d, "编辑框正文")->setPlainText(U("猫\n狗"));
        Part<QPushButton>(d, "按钮确定")->click();
    });
    EXPECT_TRUE(ShowTextEditor(T("猫"), std::string(), "", nullptr, &result));
    EXPECT_EQ(result, T("猫\r\n狗"));
    EXPECT_EQ(title, U("岚舟："));
    EXPECT_EQ(prompt, U("请输入数据："));
    EXPECT_EQ(OpenTextEditor(), nullptr);
}

TEST(TextEditor, CloseBoxAsksOnlyWhenChangedAndNoKeepsItOpen) {
    std::string result = "untouched";
    int asked = 0;
    bool stayedOpen = false;
    QString keptText;
    ScopedMessageResponder responder([&](const MessageRequest& r) {
        ++asked;
        EXPECT_EQ(r.text, T("内容已被改动，是否要放弃？"));
        EXPECT_EQ(r.style & 0x0F, 4);
        EXPECT_EQ(r.style & MessageStyle::IconMask, MessageStyle::IconInformation);
        EXPECT_EQ(r.title, T("岚舟："));
        return asked == 1 ? MessageButton::No : MessageButton::Yes;
    });
    OnEditor([&](TextEditorDialog* d) {
        auto* body = Part<QPlainTextEdit>(d, "编辑框正文");
        body->setPlainText(U("改过了"));
        d->close();
        stayedOpen = d->isVisible();
        keptText = body->toPlainText();
        d->close();
    });
    EXPECT_FALSE(ShowTextEditor(T("原文"), std::nullopt, "", nullptr, &result));
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(keptText, U("改过了"));
    EXPECT_EQ(result, "untouched");

    // Unchanged, or changed back: no question.
    asked = 0;
    OnEditor([](TextEditorDialog* d) { d->close(); });
    EXPECT_FALSE(ShowTextEditor(T("原文\r\n第二行"), std::nullopt, "", nullptr, &result));
    EXPECT_EQ(asked, 0);

    // "取消" closes a changed text at once, without the question.
    OnEditor([](TextEditorDialog* d) {
        Part<QPlainTextEdit>(d, "编辑框正文")->setPlainText(U("改过了"));
        Part<QPushButton>(d, "按钮取消")->click();
    });
    EXPECT_FALSE(ShowTextEditor(T("原文"), std::nullopt, "", nullptr, &result));
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(result, "untouched");
}

TEST(TextEditor, ToolButtons) {
    std::vector<std::string> messages;
    ScopedMessageResponder responder([&](const MessageRequest& r) {
        messages.push_back(r.text);
        EXPECT_EQ(r.title, T("岚舟："));
        EXPECT_EQ(r.style & MessageStyle::IconMask, MessageStyle::IconInformation);
        return MessageButton::Ok;
    });
    std::string result;
    QStringList seen;
    OnEditor([&](TextEditorDialog* d) {
        auto* body = Part<QPlainTextEdit>(d, "编辑框正文");
        body->setPlainText(U("打字"));
        Part<QPushButton>(d, "按钮恢复")->click(); // empty start value: a message, no change
        seen << body->toPlainText();
        SetClipboardText(T("剪贴板\r\n内容"));
        Part<QPushButton>(d, "按钮粘贴")->click();
        seen << body->toPlainText();
        Part<QPushButton>(d, "按钮清空")->click();
        seen << body->toPlainText();
        Part<QPushButton>(d, "按钮取消")->click(); // no question, no result
    });
    result = "untouched";
    EXPECT_FALSE(ShowTextEditor("", std::nullopt, "", nullptr, &result));
    EXPECT_EQ(messages, std::vector<std::string>{T("启动值为空！")});
    EXPECT_EQ(seen, (QStringList{U("打字"), U("剪贴板\n内容"), QString()}));
    EXPECT_EQ(result, "untouched");

    OnEditor([&](TextEditorDialog* d) {
        auto* body = Part<QPlainTextEdit>(d, "编辑框正文");
        body->clear();
        Part<QPushButton>(d, "按钮恢复")->click();
        seen = {body->toPlainText()};
        Part<QPushButton>(d, "按钮确定")->click();
    });
    EXPECT_TRUE(ShowTextEditor(T("起始"), std::nullopt, "", nullptr, &result));
    EXPECT_EQ(seen, QStringList{U("起始")});
    EXPECT_EQ(result, T("起始"));
}

TEST(TextEditor, DetailsModeReadsOnlyAndClosesOnEnter) {
    bool okVisible = true, toolsVisible = true, readOnly = false, isDefault = false;
    QString caption, title, prompt;
    bool promptBold = false;
    int asked = 0;
    ScopedMessageResponder responder([&](const MessageRequest&) {
        ++asked;
        return MessageButton::No;
    });
    OnEditor([&](TextEditorDialog* d) {
        okVisible = Part<QPushButton>(d, "按钮确定")->isVisible();
        toolsVisible = Part<QFrame>(d, "外形框")->isVisible();
        auto* body = Part<QPlainTextEdit>(d, "编辑框正文");
        readOnly = body->isReadOnly();
        auto* close = Part<QPushButton>(d, "按钮取消");
        caption = close->text();
        isDefault = close->isDefault();
        title = d->windowTitle();
        prompt = Part<QLabel>(d, "编辑框提示")->text();
        promptBold = Part<QLabel>(d, "编辑框提示")->font().bold();
        body->setFocus();
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(body, &enter);
        if (d->isVisible()) d->close(); // Enter failed: do not hang the test
    });
    std::string none;
    EXPECT_FALSE(ShowTextEditor(T("说明"), std::string(), T("详情")));
    EXPECT_FALSE(okVisible);
    EXPECT_FALSE(toolsVisible);
    EXPECT_TRUE(readOnly);
    EXPECT_EQ(caption, U("关闭(&G)"));
    EXPECT_TRUE(isDefault);
    EXPECT_EQ(title, U("详情"));
    EXPECT_EQ(prompt, U("以下为信息详情："));
    EXPECT_TRUE(promptBold);
    EXPECT_EQ(asked, 0);
}

TEST(TextEditor, NeverOpensTwice) {
    bool secondOpened = true;
    OnEditor([&](TextEditorDialog* d) {
        secondOpened =
            ShowTextEditor(T("二"), std::nullopt, "", nullptr, nullptr) || OpenTextEditor() != d;
        d->close();
    });
    ShowTextEditor(T("一"));
    EXPECT_FALSE(secondOpened);
}

TEST(TextEditor, LayoutFollowsThePromptAndTheSize) {
    OnEditor([](TextEditorDialog* d) {
        d->resize(600, 400);
        const int m = TextEditorDialog::kMargin;
        auto* prompt = Part<QLabel>(d, "编辑框提示");
        auto* body = Part<QPlainTextEdit>(d, "编辑框正文");
        auto* tools = Part<QFrame>(d, "外形框");
        auto* ok = Part<QPushButton>(d, "按钮确定");
        auto* cancel = Part<QPushButton>(d, "按钮取消");
        // 57 bytes in a 590-pixel box: 98 characters a row, one row.
        EXPECT_EQ(prompt->geometry(), QRect(m, m, 590, 12));
        EXPECT_EQ(body->geometry(), QRect(m, 22, 590, 400 - 22 - tools->height()));
        EXPECT_EQ(tools->pos(), QPoint(m, 400 - tools->height()));
        EXPECT_EQ(cancel->x(), 600 - m - cancel->width());
        EXPECT_EQ(ok->x() + ok->width(), cancel->x());
        EXPECT_EQ(ok->y(), tools->y() + tools->height() / 2 - ok->height() / 2);
        d->reject();
    });
    std::string result;
    ShowTextEditor("", T("请输入关键词列表，一行一个（同时支持使用|隔开多个关键词）"), "", nullptr,
                   &result);
}

TEST(TextEditor, NotesDisplayIsReadOnlyWithoutPromptOrOwner) {
    QString title, prompt, body;
    bool readOnly = false;
    bool hasOwner = true;
    OnEditor([&](TextEditorDialog* d) {
        title = d->windowTitle();
        prompt = Part<QLabel>(d, "编辑框提示")->text();
        body = Part<QPlainTextEdit>(d, "编辑框正文")->toPlainText();
        readOnly = Part<QPlainTextEdit>(d, "编辑框正文")->isReadOnly();
        hasOwner = d->parentWidget() != nullptr;
        d->close();
    });
    ShowNotes();
    EXPECT_EQ(title, U("疑点说明"));
    EXPECT_EQ(prompt, QString());
    EXPECT_TRUE(body.startsWith(U("-----------------软件介绍-----------------\n")));
    EXPECT_TRUE(readOnly);
    EXPECT_FALSE(hasOwner);
}
