#include "modify/ImageCodecs.h"

#include "fs/AtomicWrite.h"
#include "fs/Files.h"
#include "modify/GifEncoder.h"
#include "modify/TiffEncoder.h"
#include "text/TextOps.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QImageWriter>
#include <vector>

namespace tuji {
namespace {

struct FormatInfo {
    int number;
    const char* mime;
    const char* encoderId;
    const char* qtFormat; // Qt's writer for it; GIF and TIFF have our own encoders
};

constexpr FormatInfo kFormats[] = {
    {kFormatBmp, "image/bmp", "{557CF400-1A04-11D3-9A73-0000F81EF32E}", "bmp"},
    {kFormatJpeg, "image/jpeg", "{557CF401-1A04-11D3-9A73-0000F81EF32E}", "jpeg"},
    {kFormatGif, "image/gif", "{557CF402-1A04-11D3-9A73-0000F81EF32E}", nullptr},
    {kFormatTiff, "image/tiff", "{557CF405-1A04-11D3-9A73-0000F81EF32E}", nullptr},
    {kFormatPng, "image/png", "{557CF406-1A04-11D3-9A73-0000F81EF32E}", "png"},
};

const FormatInfo* InfoOf(int format) {
    for (const FormatInfo& info : kFormats)
        if (info.number == format) return &info;
    return nullptr;
}

constexpr int kJpegQuality = 75;

// The installed encoders in table order; built once, by the page's start-up
// or by the first lookup.
struct EncoderList {
    bool built = false;
    std::vector<const FormatInfo*> entries;
};
EncoderList& Encoders() {
    static EncoderList list;
    return list;
}
bool g_codecsStarted = false;

const std::vector<const FormatInfo*>& InstalledEncoders() {
    EncoderList& list = Encoders();
    if (!list.built) {
        const QList<QByteArray> writable = QImageWriter::supportedImageFormats();
        for (const FormatInfo& info : kFormats)
            if (!info.qtFormat || writable.contains(QByteArray(info.qtFormat)))
                list.entries.push_back(&info);
        list.built = true;
    }
    return list.entries;
}

// Reads from the bytes in place; the format comes from the content alone.
class ByteImageReader {
public:
    explicit ByteImageReader(std::string_view bytes)
        : data_(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()))),
          buffer_(&data_) {
        buffer_.open(QIODevice::ReadOnly);
        reader_.setDevice(&buffer_);
        reader_.setDecideFormatFromContent(true);
    }
    QImageReader& reader() { return reader_; }

private:
    QByteArray data_;
    QBuffer buffer_;
    QImageReader reader_;
};

// A header that announces more pixels than the allocation limit allows is
// turned away before any decoding (decompression bombs).
bool FitsAllocationLimit(QSize size) {
    if (!size.isValid()) return true; // unknown until decoded; Qt's own limit still holds
    const qint64 limitBytes = static_cast<qint64>(QImageReader::allocationLimit()) * 1024 * 1024;
    const qint64 bytes = static_cast<qint64>(size.width()) * size.height() * 4;
    return limitBytes <= 0 || bytes <= limitBytes;
}

// Inside a JPEG's entropy-coded data every 0xFF is followed by 0x00 or a
// restart marker, so an end marker after the first scan header is the real
// end. A file cut short has none; its decoder would pad it with grey.
bool JpegIsComplete(std::string_view bytes) {
    const size_t scan = bytes.find("\xFF\xDA");
    return scan != std::string_view::npos &&
           bytes.find("\xFF\xD9", scan + 2) != std::string_view::npos;
}

QImage Decode(std::string_view bytes, QSize scaledSize) {
    if (bytes.empty()) return {};
    if (LooksLikeJpeg(bytes) && !JpegIsComplete(bytes)) return {};
    ByteImageReader source(bytes);
    QImageReader& reader = source.reader();
    if (!reader.canRead()) return {};
    if (!FitsAllocationLimit(reader.size())) return {};
    if (scaledSize.isValid()) reader.setScaledSize(scaledSize);
    QImage image;
    if (!reader.read(&image) || image.isNull()) return {};
    return image;
}

QByteArray EncodeWithQt(const QImage& image, const char* qtFormat, int format) {
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, qtFormat);
    if (format == kFormatJpeg) writer.setQuality(kJpegQuality);
    if (!writer.write(format == kFormatJpeg ? OpaqueImage(image) : image)) return {};
    return out;
}

} // namespace

std::string FormatMime(int format) {
    const FormatInfo* info = InfoOf(format);
    return info ? info->mime : "";
}

std::string FormatEncoderId(int format) {
    const FormatInfo* info = InfoOf(format);
    return info ? info->encoderId : "";
}

void StartImageCodecs() {
    if (g_codecsStarted) return;
    InstalledEncoders();
    g_codecsStarted = true;
}

void StopImageCodecs() {
    g_codecsStarted = false;
}

bool ImageCodecsStarted() {
    return g_codecsStarted;
}

int FindEncoderByMime(std::string_view mime, std::string* encoderId) {
    const std::vector<const FormatInfo*>& encoders = InstalledEncoders();
    for (size_t i = 0; i < encoders.size(); ++i) {
        if (mime == encoders[i]->mime) {
            if (encoderId) *encoderId = encoders[i]->encoderId;
            return static_cast<int>(i) + 1;
        }
    }
    return -1;
}

QImage DecodeImage(std::string_view bytes) {
    return Decode(bytes, QSize());
}

QImage DecodeImageScaled(std::string_view bytes, QSize size) {
    if (!size.isValid() || size.isEmpty()) return {};
    QImage image = Decode(bytes, size);
    if (!image.isNull() && image.size() != size)
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

QSize PeekImageSize(std::string_view bytes) {
    if (bytes.empty()) return {};
    ByteImageReader source(bytes);
    if (!source.reader().canRead()) return {};
    return source.reader().size();
}

bool LooksLikeJpeg(std::string_view bytes) {
    return bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xD8 &&
           static_cast<unsigned char>(bytes[2]) == 0xFF;
}

std::string EncodeImage(const QImage& image, int format) {
    const FormatInfo* info = InfoOf(format);
    if (!info || image.isNull()) return {};
    if (FindEncoderByMime(info->mime) < 0) return {};
    if (format == kFormatGif) return EncodeGif(image);
    if (format == kFormatTiff) return EncodeTiff(image);
    const QByteArray out = EncodeWithQt(image, info->qtFormat, format);
    return std::string(out.constData(), static_cast<size_t>(out.size()));
}

bool SaveImageFile(const QImage& image, int format, std::string_view path) {
    const std::string bytes = EncodeImage(image, format);
    if (bytes.empty()) return false;
    return WriteFileAtomic(path, bytes, ReplaceMode::Replace) == AtomicWriteResult::Written;
}

std::string ConvertImageFile(std::string_view inputBytes, int format, std::string_view inputPath,
                             bool inputPathGiven, std::string_view outputPath,
                             bool outputPathGiven) {
    std::string fileBytes;
    if (inputPathGiven && !ReadFileBytes(inputPath, fileBytes)) return {};
    const QImage image = DecodeImage(inputPathGiven ? std::string_view(fileBytes) : inputBytes);
    if (image.isNull()) return {};
    if (outputPathGiven) {
        SaveImageFile(image, format, outputPath);
        return {};
    }
    return EncodeImage(image, format);
}

bool ConvertImageBytes(std::string_view inputBytes, int format, std::string_view outputPath,
                       std::string* result) {
    const std::string out = EncodeImage(DecodeImage(inputBytes), format);
    if (out.empty()) return false;
    const std::string target = TrimSpaces(outputPath);
    if (!target.empty()) WriteFileAtomic(target, out, ReplaceMode::Replace);
    if (result) *result = out;
    return true;
}

QImage OpaqueImage(const QImage& image) {
    if (image.isNull()) return {};
    if (!image.hasAlphaChannel())
        return image.format() == QImage::Format_RGB32 ? image
                                                      : image.convertToFormat(QImage::Format_RGB32);
    QImage opaque = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < opaque.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(opaque.scanLine(y));
        for (int x = 0; x < opaque.width(); ++x)
            row[x] |= 0xFF000000u;
    }
    opaque.reinterpretAsFormat(QImage::Format_RGB32);
    return opaque;
}

} // namespace tuji
