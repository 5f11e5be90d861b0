#include "modify/Watermarks.h"

#include "app/Paths.h"
#include "fs/Files.h"
#include "modify/ImageCodecs.h"
#include "text/Encoding.h"
#include "text/TextOps.h"

namespace tuji {
namespace {

// Icons, cursors and GIFs carry their own see-through pixels onto the canvas.
bool KeepsOwnTransparency(std::string_view bytes) {
    if (bytes.rfind("GIF8", 0) == 0) return true;
    return bytes.size() >= 4 && bytes[0] == 0 && bytes[1] == 0 &&
           (bytes[2] == 1 || bytes[2] == 2) && bytes[3] == 0;
}

std::string TwoDigits(int value) {
    return value <= 9 ? "0" + NumberText(value) : NumberText(value);
}

std::mt19937& ProgramRandom() {
    static std::mt19937 generator{std::random_device{}()};
    return generator;
}

} // namespace

QImage LoadWatermarkPicture(std::string_view path) {
    std::string bytes;
    if (!ReadFileBytes(path, bytes) || bytes.empty()) return {};
    const QImage picture = DecodeImage(bytes);
    if (picture.isNull()) return {};
    const bool png = LowerAscii(PathExtension(path, PathForm::File)) == "png";
    if (!png && KeepsOwnTransparency(bytes))
        return picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return OpaqueImage(picture);
}

QImage PrepareWatermarks(const WatermarkSettings& settings, DrawingSurface& surface) {
    if (settings.textOn) surface.SetTextStyle(settings.style);
    return settings.imageOn ? LoadWatermarkPicture(settings.imageFile) : QImage();
}

std::string PickWatermarkText(std::string_view text, const QDateTime& now, std::mt19937& random) {
    const std::vector<std::string> parts = SplitText(text, "|");
    if (parts.empty()) return {};
    std::uniform_int_distribution<size_t> pick(0, parts.size() - 1);
    std::string part = parts[pick(random)];
    const QDate date = now.date();
    const QTime time = now.time();
    part = ReplaceText(part, T("#年"), NumberText(date.year()));
    part = ReplaceText(part, T("#月"), TwoDigits(date.month()));
    part = ReplaceText(part, T("#日"), TwoDigits(date.day()));
    part = ReplaceText(part, T("#时"), TwoDigits(time.hour()));
    part = ReplaceText(part, T("#分"), TwoDigits(time.minute()));
    part = ReplaceText(part, T("#秒"), TwoDigits(time.second()));
    return part;
}

std::string PickWatermarkText(std::string_view text) {
    return PickWatermarkText(text, QDateTime::currentDateTime(), ProgramRandom());
}

std::vector<std::string> WatermarkLines(std::string_view text) {
    // CR and LF never occur inside a GB18030 character, so a byte scan is safe.
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

QSize MeasureWatermarkText(std::string_view text, const DrawingSurface& surface) {
    const std::vector<std::string> lines = WatermarkLines(text);
    if (lines.empty()) return QSize(0, 0);
    size_t longest = 0;
    for (size_t i = 1; i < lines.size(); ++i)
        if (lines[i].size() > lines[longest].size()) longest = i;
    const QSize line = surface.MeasureLine(lines[longest]);
    return QSize(line.width(), line.height() * static_cast<int>(lines.size()));
}

QPoint WatermarkPosition(int imageWidth, int imageHeight, int markWidth, int markHeight,
                         int positionItem, int edgeDistance) {
    const int left = edgeDistance;
    const int top = edgeDistance;
    const int right = imageWidth - markWidth - edgeDistance;
    const int bottom = imageHeight - markHeight - edgeDistance;
    switch (positionItem) {
    case kBottomLeft:
        return QPoint(left, bottom);
    case kTopRight:
        return QPoint(right, top);
    case kBottomRight:
        return QPoint(right, bottom);
    default:
        return QPoint(left, top);
    }
}

void DrawImageWatermark(DrawingSurface& surface, const QImage& mark,
                        const WatermarkSettings& settings) {
    if (mark.isNull()) return;
    const QPoint at =
        WatermarkPosition(surface.size().width(), surface.size().height(), mark.width(),
                          mark.height(), settings.position, settings.edgeDistance);
    surface.DrawPictureKeyed(mark, at, settings.keyColour);
}

void DrawTextWatermark(DrawingSurface& surface, const WatermarkSettings& settings,
                       const QDateTime& now, std::mt19937& random) {
    const std::string text = PickWatermarkText(settings.text, now, random);
    const std::vector<std::string> lines = WatermarkLines(text);
    if (lines.empty()) return;
    const QSize mark = MeasureWatermarkText(text, surface);
    const QPoint at =
        WatermarkPosition(surface.size().width(), surface.size().height(), mark.width(),
                          mark.height(), settings.position, settings.edgeDistance);
    int top = at.y();
    for (const std::string& line : lines) {
        surface.DrawTextLine(line, QPoint(at.x(), top));
        top += surface.MeasureLine(line).height() + 2;
    }
}

} // namespace tuji
