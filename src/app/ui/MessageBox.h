#pragma once

// The program's message boxes. Styles and results use the classic
// message-box numbers, since the callers pass them as numbers: style 0 is an
// OK button, 4 Yes and No; 16, 32, 48 and 64 choose the error, question,
// exclamation and information icons; 4096 makes the box system-modal.

#include <functional>
#include <string>

namespace tuji {

namespace MessageStyle {
inline constexpr int Ok = 0;
inline constexpr int OkCancel = 1;
inline constexpr int AbortRetryIgnore = 2;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int RetryCancel = 5;
inline constexpr int IconError = 16;
inline constexpr int IconQuestion = 32;
inline constexpr int IconExclamation = 48;
inline constexpr int IconInformation = 64;
inline constexpr int IconMask = 0x70;
inline constexpr int SystemModal = 4096;
} // namespace MessageStyle

namespace MessageButton {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Abort = 3;
inline constexpr int Retry = 4;
inline constexpr int Ignore = 5;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
} // namespace MessageButton

// Program text; title empty = "岚舟：". Adds the information icon when no
// icon is asked for and always makes the box system-modal (on top of every
// window, modal to the whole program). Returns the MessageButton pressed.
int ShowMessage(const std::string& text, int style = MessageStyle::Ok,
                const std::string& title = {});

// The platform's plain box: no icon unless asked, caption "信息：", modal to
// the application only.
int ShowPlainMessage(const std::string& text, int style = MessageStyle::Ok);

// What a box was asked to show, after the rules above were applied.
struct MessageRequest {
    std::string text;  // program text
    std::string title; // program text, as shown
    int style = 0;     // with the icon and modality bits as shown
};

// While alive, boxes are not shown: the responder answers them instead. For
// tests of pages that report through message boxes. Nests; not thread-safe
// (boxes are a user-interface-thread matter anyway).
class ScopedMessageResponder {
public:
    using Responder = std::function<int(const MessageRequest&)>;
    explicit ScopedMessageResponder(Responder responder);
    ~ScopedMessageResponder();
    ScopedMessageResponder(const ScopedMessageResponder&) = delete;
    ScopedMessageResponder& operator=(const ScopedMessageResponder&) = delete;

private:
    Responder previous_;
};

} // namespace tuji
