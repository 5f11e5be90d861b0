#include "modify/Resize.h"

#include "app/Paths.h"
#include "fs/AtomicWrite.h"
#include "modify/ImageCodecs.h"

#include <algorithm>
#include <cmath>

namespace tuji {
namespace {

struct TargetFormat {
    const char* extension;
    int format;
};
constexpr TargetFormat kTargets[] = {
    {"bmp", kFormatBmp}, {"jpg", kFormatJpeg}, {"gif", kFormatGif}, {"tiff", kFormatTiff}};

const TargetFormat& Target(int item) {
    if (item < 0 || item >= static_cast<int>(std::size(kTargets))) item = 0;
    return kTargets[item];
}

bool SideTestPasses(int side, int limit, int condition) {
    if (limit <= 0) return true;
    return condition == kKeepWhenSmaller ? side <= limit : side >= limit;
}

int ScaledSide(int side, float percent) {
    const double scaled =
        std::trunc(static_cast<double>(side) / 100.0 * static_cast<double>(percent));
    if (!(scaled >= 1)) return 1; // 0 pixels (or a negative or absurd scale) gives 1
    return scaled > 1e9 ? 1000000000 : static_cast<int>(scaled);
}

} // namespace

bool KeepsSize(int width, int height, const ResizeSettings& settings) {
    if (settings.condition != kKeepWhenSmaller && settings.condition != kKeepWhenLarger)
        return false;
    return SideTestPasses(width, settings.widthLimit, settings.condition) &&
           SideTestPasses(height, settings.heightLimit, settings.condition);
}

QSize ScaledSize(int width, int height, const ResizeSettings& settings) {
    return QSize(ScaledSide(width, settings.scalePercent),
                 ScaledSide(height, settings.scalePercent));
}

QImage ScaleImage(const QImage& picture, const ResizeSettings& settings) {
    if (picture.isNull() || KeepsSize(picture.width(), picture.height(), settings)) return picture;
    const QSize size = ScaledSize(picture.width(), picture.height(), settings);
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

std::string TargetFormatExtension(int targetItem) {
    return Target(targetItem).extension;
}

int TargetFormatNumber(int targetItem) {
    return Target(targetItem).format;
}

std::string TargetExtension(std::string_view sourceExtension, const ResizeSettings& settings) {
    return settings.convertOn ? TargetFormatExtension(settings.targetItem)
                              : std::string(sourceExtension);
}

int FormatBySourceExtension(std::string_view ext) {
    if (ext == "jpg" || ext == "jpeg") return kFormatJpeg;
    if (ext == "gif") return kFormatGif;
    if (ext == "tiff" || ext == "tif") return kFormatTiff;
    if (ext == "png") return kFormatPng;
    return kFormatBmp;
}

std::string AppendMd5Byte(std::string bytes) {
    bytes.push_back('\0');
    return bytes;
}

std::string ApplyExtension(std::string_view outputPath, std::string_view sourceExtension,
                           std::string_view targetExtension) {
    if (sourceExtension == targetExtension) return std::string(outputPath);
    const std::string name =
        PathBaseName(outputPath, PathForm::File) + "." + std::string(targetExtension);
    if (LastSeparator(outputPath, PathForm::File) < 0) return name;
    return PathFolder(outputPath, PathForm::File) + PathSeparator() + name;
}

bool WriteResult(const WorkImage& image, std::string_view outputPath,
                 std::string_view sourceExtension, bool redrawn, const ResizeSettings& settings) {
    if (settings.convertOn || redrawn) {
        const int format = settings.convertOn ? TargetFormatNumber(settings.targetItem)
                                              : FormatBySourceExtension(sourceExtension);
        const QImage picture = image.picture.isNull() ? DecodeImage(image.bytes) : image.picture;
        return !picture.isNull() && SaveImageFile(picture, format, outputPath);
    }
    return WriteFileAtomic(outputPath, image.bytes, ReplaceMode::Replace) ==
           AtomicWriteResult::Written;
}

} // namespace tuji
