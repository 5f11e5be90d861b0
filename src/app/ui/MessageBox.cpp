#include "app/ui/MessageBox.h"

#include "text/Encoding.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <utility>
#include <vector>

namespace tuji {

namespace {

ScopedMessageResponder::Responder& CurrentResponder() {
    static ScopedMessageResponder::Responder responder;
    return responder;
}

struct ButtonSpec {
    QMessageBox::StandardButton qt;
    int result;
};

std::vector<ButtonSpec> ButtonsOf(int style) {
    using B = QMessageBox;
    switch (style & 0x0F) {
    case MessageStyle::OkCancel:
        return {{B::Ok, MessageButton::Ok}, {B::Cancel, MessageButton::Cancel}};
    case MessageStyle::AbortRetryIgnore:
        return {{B::Abort, MessageButton::Abort},
                {B::Retry, MessageButton::Retry},
                {B::Ignore, MessageButton::Ignore}};
    case MessageStyle::YesNoCancel:
        return {{B::Yes, MessageButton::Yes},
                {B::No, MessageButton::No},
                {B::Cancel, MessageButton::Cancel}};
    case MessageStyle::YesNo:
        return {{B::Yes, MessageButton::Yes}, {B::No, MessageButton::No}};
    case MessageStyle::RetryCancel:
        return {{B::Retry, MessageButton::Retry}, {B::Cancel, MessageButton::Cancel}};
    default:
        return {{B::Ok, MessageButton::Ok}};
    }
}

QMessageBox::Icon IconOf(int style) {
    switch (style & MessageStyle::IconMask) {
    case MessageStyle::IconError:
        return QMessageBox::Critical;
    case MessageStyle::IconQuestion:
        return QMessageBox::Question;
    case MessageStyle::IconExclamation:
        return QMessageBox::Warning;
    case MessageStyle::IconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int RunBox(const MessageRequest& request) {
    if (auto& responder = CurrentResponder()) return responder(request);

    QMessageBox box(IconOf(request.style), ToQString(request.title), ToQString(request.text));
    const auto buttons = ButtonsOf(request.style);
    std::vector<std::pair<QAbstractButton*, int>> results;
    for (const auto& b : buttons)
        results.emplace_back(box.addButton(b.qt), b.result);
    box.setDefaultButton(static_cast<QPushButton*>(results.front().first));
    // A box with one button closes with it; otherwise the last button
    // (No, Cancel, Ignore) answers Escape and the close box.
    box.setEscapeButton(results.back().first);
    box.setWindowModality(Qt::ApplicationModal);
    if (request.style & MessageStyle::SystemModal)
        box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.exec();
    for (const auto& [button, result] : results)
        if (box.clickedButton() == button) return result;
    return results.back().second;
}

} // namespace

int ShowMessage(const std::string& text, int style, const std::string& title) {
    MessageRequest request;
    request.text = text;
    request.style = style;
    if ((style & MessageStyle::IconMask) == 0) request.style |= MessageStyle::IconInformation;
    request.style |= MessageStyle::SystemModal;
    request.title = title.empty() ? T("岚舟：") : title;
    return RunBox(request);
}

int ShowPlainMessage(const std::string& text, int style) {
    MessageRequest request;
    request.text = text;
    request.style = style & ~MessageStyle::SystemModal;
    request.title = T("信息：");
    return RunBox(request);
}

ScopedMessageResponder::ScopedMessageResponder(Responder responder)
    : previous_(std::exchange(CurrentResponder(), std::move(responder))) {}

ScopedMessageResponder::~ScopedMessageResponder() {
    CurrentResponder() = std::move(previous_);
}

} // namespace tuji
