#pragma once

// Scaling with a size condition, the output format and name, the MD5 change
// and the writing of each result.

#include "modify/ModifySettings.h"

#include <QImage>
#include <string>
#include <string_view>

namespace tuji {

// The image between the per-image steps: the file's own bytes while nothing
// redrew it, the decoded picture once a watermark or scaling did. A picture
// is encoded exactly once, into its output file.
struct WorkImage {
    std::string bytes;
    QImage picture;
};

// True when a W x H image keeps its size under the condition: item 0 never
// does; otherwise both the width and the height test must pass (a limit of 0
// or less passes its test).
bool KeepsSize(int width, int height, const ResizeSettings& settings);
// (W / 100) x p and (H / 100) x p, cut towards zero; never below 1 pixel.
QSize ScaledSize(int width, int height, const ResizeSettings& settings);
// The picture scaled by the settings (averaging pixels when it shrinks), or
// the picture itself when it keeps its size.
QImage ScaleImage(const QImage& picture, const ResizeSettings& settings);

// "bmp", "jpg", "gif", "tiff" for items 0 to 3 (no choice counts as item 0).
std::string TargetFormatExtension(int targetItem);
int TargetFormatNumber(int targetItem);
// With conversion on, the chosen format's extension; otherwise the source's.
std::string TargetExtension(std::string_view sourceExtension, const ResizeSettings& settings);
// The format a redrawn image is written in when nothing converts it, by its
// lower-case source extension: jpg/jpeg, gif, tif/tiff, png; BMP for the rest.
int FormatBySourceExtension(std::string_view sourceExtension);

std::string AppendMd5Byte(std::string bytes);

// Replaces the file name's extension when the two differ (compared exactly).
std::string ApplyExtension(std::string_view outputPath, std::string_view sourceExtension,
                           std::string_view targetExtension);

// Writes the result under outputPath. A picture is encoded in the converted
// or source-derived format; plain bytes are written as they are. The file is
// moved into place only when complete, so a failure never destroys what
// stood under that name (in place, the source). True when written.
bool WriteResult(const WorkImage& image, std::string_view outputPath,
                 std::string_view sourceExtension, bool redrawn, const ResizeSettings& settings);

} // namespace tuji
