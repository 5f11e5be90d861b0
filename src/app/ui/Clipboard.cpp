#include "app/ui/Clipboard.h"

#include "text/Encoding.h"

#include <QClipboard>
#include <QGuiApplication>

namespace tuji {

std::string ClipboardText() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard ? FromQString(clipboard->text()) : std::string();
}

void SetClipboardText(const std::string& text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(ToQString(text));
}

} // namespace tuji
