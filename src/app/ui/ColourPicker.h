#pragma once

// A colour picker control ("颜色选择器…"): a swatch button whose menu offers
// a few common colours, the transparent value and the colour dialog.
// Colours are the program's 32-bit 0x00BBGGRR values; 0xFF000000 means
// transparent (no background, no colour key).

#include <QColor>
#include <QToolButton>
#include <cstdint>

namespace tuji {

inline constexpr std::uint32_t kTransparentColour = 0xFF000000u;

QColor QColorFromColour(std::uint32_t colour);        // transparent -> Qt::transparent
std::uint32_t ColourFromQColor(const QColor& colour); // alpha 0 -> transparent

class ColourPicker : public QToolButton {
    Q_OBJECT
    Q_PROPERTY(uint colour READ colour WRITE setColour NOTIFY colourChanged)
public:
    explicit ColourPicker(QWidget* parent = nullptr);

    std::uint32_t colour() const { return colour_; }
    void setColour(std::uint32_t colour); // emits colourChanged when it changes

signals:
    void colourChanged(uint colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void chooseWithDialog();

    std::uint32_t colour_ = 0x00FFFFFFu;
};

} // namespace tuji
