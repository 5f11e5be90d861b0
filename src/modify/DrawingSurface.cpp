#include "modify/DrawingSurface.h"

#include "text/Encoding.h"

#include <QFontMetrics>
#include <QPainter>
#include <utility>

namespace tuji {

QColor QColorOfColour(Colour colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

QFont FontOfStyle(const TextStyle& style) {
    QFont font(ToQString(style.fontName));
    if (style.fontSize > 0) font.setPointSizeF(style.fontSize);
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setStrikeOut(style.strikeOut);
    font.setUnderline(style.underline);
    return font;
}

void DrawingSurface::Reset(QSize size) {
    canvas_ = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    canvas_.fill(Qt::white);
}

void DrawingSurface::Load(QImage picture) {
    canvas_ = picture.format() == QImage::Format_RGB32
                  ? std::move(picture)
                  : picture.convertToFormat(QImage::Format_RGB32);
}

void DrawingSurface::DrawPicture(const QImage& picture, QPoint at) {
    if (picture.isNull() || canvas_.isNull()) return;
    QPainter painter(&canvas_);
    painter.drawImage(at, picture);
}

void DrawingSurface::DrawPictureKeyed(const QImage& picture, QPoint at, Colour key) {
    if (key == kTransparentValue) return DrawPicture(picture, at);
    if (picture.isNull() || canvas_.isNull()) return;
    QImage masked = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb keyRgb = QColorOfColour(key).rgb() & 0x00FFFFFFu;
    for (int y = 0; y < masked.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x)
            if (qAlpha(row[x]) != 0 && (row[x] & 0x00FFFFFFu) == keyRgb) row[x] = 0;
    }
    DrawPicture(masked, at);
}

void DrawingSurface::SetTextStyle(const TextStyle& style) {
    style_ = style;
    font_ = FontOfStyle(style);
}

QSize DrawingSurface::MeasureLine(std::string_view line) const {
    const QFontMetrics metrics =
        canvas_.isNull() ? QFontMetrics(font_) : QFontMetrics(font_, &canvas_);
    return QSize(metrics.horizontalAdvance(ToQString(line)), metrics.height());
}

void DrawingSurface::DrawTextLine(std::string_view line, QPoint at) {
    if (canvas_.isNull()) return;
    const QString text = ToQString(line);
    QPainter painter(&canvas_);
    painter.setFont(font_);
    const QFontMetrics metrics = painter.fontMetrics();
    if (style_.backColour != kTransparentValue)
        painter.fillRect(QRect(at, QSize(metrics.horizontalAdvance(text), metrics.height())),
                         QColorOfColour(style_.backColour));
    painter.setPen(QColorOfColour(style_.textColour));
    painter.drawText(QPoint(at.x(), at.y() + metrics.ascent()), text);
}

QImage DrawingSurface::TakeContents() {
    return std::exchange(canvas_, QImage());
}

} // namespace tuji
