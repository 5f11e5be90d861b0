#pragma once

// The page's off-screen canvas 处理画板: one opaque picture the size of the
// image being modified, onto which the image, the watermark picture and the
// watermark text are drawn. It needs no window.

#include "modify/ModifySettings.h"

#include <QFont>
#include <QImage>
#include <string_view>

namespace tuji {

// 0x00BBGGRR as an opaque colour (the transparent value gives black).
QColor QColorOfColour(Colour colour);

// The style's font: face name, point size and attributes.
QFont FontOfStyle(const TextStyle& style);

class DrawingSurface {
public:
    // Empties the canvas and gives it the size (filled white).
    void Reset(QSize size);
    // The canvas becomes the picture itself (what clearing, sizing and drawing
    // an opaque picture at (0, 0) would give, without the copy).
    void Load(QImage picture);
    QSize size() const { return canvas_.size(); }

    // Draws the picture at its own size with its top-left corner at `at`;
    // its own see-through pixels (icons, GIF) stay see-through, the rest
    // covers the canvas. Parts beyond the canvas are clipped.
    void DrawPicture(const QImage& picture, QPoint at);
    // The same, but every pixel whose colour equals `key` exactly is left out.
    void DrawPictureKeyed(const QImage& picture, QPoint at, Colour key);

    void SetTextStyle(const TextStyle& style);
    const TextStyle& textStyle() const { return style_; }
    // Pixel width and height of one line of program text in the current font;
    // an empty line has the font's standard height.
    QSize MeasureLine(std::string_view line) const;
    // One line with its top-left corner at `at`, in the text colour, over its
    // text cell filled with the background colour unless that is transparent.
    void DrawTextLine(std::string_view line, QPoint at);

    // The canvas as it stands (opaque RGB32).
    const QImage& contents() const { return canvas_; }
    QImage TakeContents();

private:
    QImage canvas_;
    TextStyle style_;
    QFont font_ = FontOfStyle(style_);
};

} // namespace tuji
