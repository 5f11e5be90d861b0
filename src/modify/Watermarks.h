#pragma once

// The image and text watermarks: preparation once per job, placement and
// drawing on the drawing surface for every image.

#include "modify/DrawingSurface.h"
#include "modify/ModifySettings.h"

#include <QDateTime>
#include <QImage>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace tuji {

// The watermark picture of a file: a PNG loses its alpha (it reaches the
// canvas as an opaque picture, so only the key colour makes it see-through);
// icons, cursors and GIFs keep their see-through pixels. Null when the file
// cannot be read or decoded.
QImage LoadWatermarkPicture(std::string_view path);

// Once per job: gives the surface the text style when the text watermark is
// on, and returns the watermark picture when the image watermark is on (null
// when there is none).
QImage PrepareWatermarks(const WatermarkSettings& settings, DrawingSurface& surface);

// One of the "|"-separated alternatives, each equally likely, with #年 #月 #日
// #时 #分 #秒 replaced from `now` (all but the year with two digits).
std::string PickWatermarkText(std::string_view text, const QDateTime& now, std::mt19937& random);
// The same at the current local time with the program's own generator.
std::string PickWatermarkText(std::string_view text);

// Lines at CR LF, CR or LF; a break at the very end adds no line.
std::vector<std::string> WatermarkLines(std::string_view text);

// Width of the line with the most bytes (the first of equals) and that
// line's height times the number of lines; 0 x 0 for an empty text.
QSize MeasureWatermarkText(std::string_view text, const DrawingSurface& surface);

// Top-left corner of a w x h mark in a W x H image at the corner item (-1
// counts as top left), e pixels from the edges. May lie outside the image.
QPoint WatermarkPosition(int imageWidth, int imageHeight, int markWidth, int markHeight,
                         int positionItem, int edgeDistance);

// The surface holds the image at (0, 0) at its size.
void DrawImageWatermark(DrawingSurface& surface, const QImage& mark,
                        const WatermarkSettings& settings);
// Picks the text for this image and writes it line by line, 2 pixels between
// lines, in the surface's text style.
void DrawTextWatermark(DrawingSurface& surface, const WatermarkSettings& settings,
                       const QDateTime& now, std::mt19937& random);

} // namespace tuji
