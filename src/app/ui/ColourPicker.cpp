#include "app/ui/ColourPicker.h"

#include <QColorDialog>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace tuji {

QColor QColorFromColour(std::uint32_t colour) {
    if (colour == kTransparentColour) return QColor(Qt::transparent);
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

std::uint32_t ColourFromQColor(const QColor& colour) {
    if (!colour.isValid() || colour.alpha() == 0) return kTransparentColour;
    return std::uint32_t(colour.red()) | (std::uint32_t(colour.green()) << 8) |
           (std::uint32_t(colour.blue()) << 16);
}

namespace {

QIcon Swatch(std::uint32_t colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(QColorFromColour(colour));
    QPainter p(&pixmap);
    p.setPen(Qt::darkGray);
    p.drawRect(0, 0, 15, 15);
    return QIcon(pixmap);
}

} // namespace

ColourPicker::ColourPicker(QWidget* parent) : QToolButton(parent) {
    setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(this);
    const std::uint32_t common[] = {0x000000, 0xFFFFFF, 0x808080, 0xC0C0C0, 0x0000FF,
                                    0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 0xFFFF00};
    for (std::uint32_t c : common)
        menu->addAction(Swatch(c), QColorFromColour(c).name(QColor::HexRgb).toUpper(),
                        [this, c] { setColour(c); });
    menu->addSeparator();
    menu->addAction(QString::fromUtf8("透明"), [this] { setColour(kTransparentColour); });
    menu->addAction(QString::fromUtf8("其他颜色…"), [this] { chooseWithDialog(); });
    setMenu(menu);
}

void ColourPicker::setColour(std::uint32_t colour) {
    if (colour != kTransparentColour) colour &= 0x00FFFFFFu;
    if (colour == colour_) return;
    colour_ = colour;
    setToolTip(colour == kTransparentColour ? QString::fromUtf8("透明")
                                            : QColorFromColour(colour).name().toUpper());
    update();
    emit colourChanged(colour_);
}

void ColourPicker::chooseWithDialog() {
    const QColor start =
        colour_ == kTransparentColour ? QColor(Qt::white) : QColorFromColour(colour_);
    const QColor chosen = QColorDialog::getColor(start, window(), QString::fromUtf8("选择颜色"));
    if (chosen.isValid()) setColour(ColourFromQColor(chosen));
}

void ColourPicker::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    painter.drawComplexControl(QStyle::CC_ToolButton, option);

    const QRect swatch = rect().adjusted(4, 4, -14, -4);
    if (colour_ == kTransparentColour) {
        // A checkerboard says "nothing here" better than any colour.
        const int cell = 4;
        for (int y = swatch.top(); y < swatch.bottom(); y += cell)
            for (int x = swatch.left(); x < swatch.right(); x += cell)
                painter.fillRect(QRect(x, y, cell, cell).intersected(swatch),
                                 ((x - swatch.left()) / cell + (y - swatch.top()) / cell) % 2
                                     ? QColor(0xCC, 0xCC, 0xCC)
                                     : Qt::white);
    } else {
        painter.fillRect(swatch, QColorFromColour(colour_));
    }
    painter.setPen(Qt::darkGray);
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}

} // namespace tuji
