#include "app/ui/LinkLabel.h"

#include "app/ui/Shell.h"

#include <QMouseEvent>

namespace tuji {

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(parent) {
    setText("<a href=\"#\" style=\"color:#1a4f8b; text-decoration:none\">" + text.toHtmlEscaped() +
            "</a>");
    setTextFormat(Qt::RichText);
    setAlignment(Qt::AlignCenter);
    setCursor(Qt::PointingHandCursor);
    // The label handles the press itself, so the rich text must not eat it.
    setTextInteractionFlags(Qt::NoTextInteraction);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QLabel::mousePressEvent(event);
    emit pressed();
    if (!target_.empty()) OpenWithShell(target_);
}

} // namespace tuji
