#pragma once

// What the page's two setting groups say, as the job reads them. The page
// fills these from its controls when a job starts; the groups stay disabled
// while it runs, so the values cannot change under it.

#include <cstdint>
#include <string>

namespace tuji {

// 0x00BBGGRR, red in the low byte; the transparent value means "no background" or
// "no key colour".
using Colour = std::uint32_t;
inline constexpr Colour kTransparentValue = 0xFF000000u;

struct TextStyle {
    std::string fontName = "\xCB\xCE\xCC\xE5"; // 宋体
    double fontSize = 11.25;                   // points: 15 pixels on a 96 dpi surface
    bool bold = false;
    bool italic = false;
    bool strikeOut = false;
    bool underline = false;
    Colour textColour = 0x00FF0000u; // blue
    Colour backColour = 0x00FFFFFFu; // white
};

enum WatermarkCorner { kTopLeft = 0, kBottomLeft = 1, kTopRight = 2, kBottomRight = 3 };

struct WatermarkSettings {
    bool imageOn = false;
    std::string imageFile;
    Colour keyColour = kTransparentValue;
    bool textOn = false;
    std::string text; // program text; "|" separates alternatives
    TextStyle style;
    int position = kTopLeft; // item of 组合框水印方位, -1 = none chosen
    int edgeDistance = 5;
};

enum ScaleCondition { kNoCheck = 0, kKeepWhenSmaller = 1, kKeepWhenLarger = 2 };

struct ResizeSettings {
    bool scaleOn = false;
    float scalePercent = 50;
    int condition = kNoCheck;
    int widthLimit = 50;
    int heightLimit = 50;
    bool convertOn = false;
    int targetItem = 0; // item of 组合框保存格式: BMP, JPG, GIF, TIFF
    bool md5On = false;
};

} // namespace tuji
