#include "modify/TiffEncoder.h"

#include "modify/TiffLzw.h"

#include <algorithm>
#include <cstring>
#include <tiffio.h>
#include <vector>

namespace tuji {
namespace {

// libtiff writes through these callbacks into a growing byte string, so a
// file is only ever written whole, by the caller.
class MemoryTiffStream {
public:
    explicit MemoryTiffStream(std::string* out) : out_(out) {}

    static tmsize_t Read(thandle_t handle, void* data, tmsize_t size) {
        auto* self = static_cast<MemoryTiffStream*>(handle);
        if (size <= 0 || self->position_ >= self->out_->size()) return 0;
        const size_t count =
            std::min(static_cast<size_t>(size), self->out_->size() - self->position_);
        std::memcpy(data, self->out_->data() + self->position_, count);
        self->position_ += count;
        return static_cast<tmsize_t>(count);
    }
    static tmsize_t Write(thandle_t handle, void* data, tmsize_t size) {
        auto* self = static_cast<MemoryTiffStream*>(handle);
        if (size <= 0) return 0;
        const size_t count = static_cast<size_t>(size);
        if (self->out_->size() < self->position_ + count)
            self->out_->resize(self->position_ + count);
        std::memcpy(self->out_->data() + self->position_, data, count);
        self->position_ += count;
        return size;
    }
    static toff_t Seek(thandle_t handle, toff_t offset, int whence) {
        auto* self = static_cast<MemoryTiffStream*>(handle);
        uint64_t base = 0;
        if (whence == SEEK_CUR) base = self->position_;
        if (whence == SEEK_END) base = self->out_->size();
        self->position_ = static_cast<size_t>(base + offset);
        return self->position_;
    }
    static int Close(thandle_t) { return 0; }
    static toff_t Size(thandle_t handle) {
        return static_cast<MemoryTiffStream*>(handle)->out_->size();
    }
    static int Map(thandle_t, void**, toff_t*) { return 0; }
    static void Unmap(thandle_t, void*, toff_t) {}

private:
    std::string* out_;
    size_t position_ = 0;
};

// Owns the open TIFF; closing it writes the directory.
class TiffWriter {
public:
    explicit TiffWriter(MemoryTiffStream* stream)
        : tiff_(TIFFClientOpen("memory", "w", stream, &MemoryTiffStream::Read,
                               &MemoryTiffStream::Write, &MemoryTiffStream::Seek,
                               &MemoryTiffStream::Close, &MemoryTiffStream::Size,
                               &MemoryTiffStream::Map, &MemoryTiffStream::Unmap)) {}
    ~TiffWriter() {
        if (tiff_) TIFFClose(tiff_);
    }
    TiffWriter(const TiffWriter&) = delete;
    TiffWriter& operator=(const TiffWriter&) = delete;

    TIFF* get() const { return tiff_; }
    void Close() {
        if (tiff_) TIFFClose(tiff_);
        tiff_ = nullptr;
    }

private:
    TIFF* tiff_;
};

// libtiff reports problems on stderr by default; a failed image is quiet here
// and shows as a false return.
void SilenceLibtiff() {
    static const bool silenced = [] {
        TIFFSetWarningHandler(nullptr);
        TIFFSetErrorHandler(nullptr);
        return true;
    }();
    (void)silenced;
}

enum class Layout { Rgb, Rgba, Grey };

// Strips of about this many uncompressed bytes: few strip calls and a small
// directory, yet a reader needs only a bounded buffer per strip.
constexpr size_t kStripBytes = 1 << 20;

// One row of the picture in the file's sample order, each sample stored as
// its difference from the same sample of the pixel before (the horizontal
// predictor: smooth photos then give long repeated strings).
void PackRow(const QImage& image, int y, Layout layout, uint8_t* out) {
    const int width = image.width();
    const uchar* row = image.constScanLine(y);
    if (layout == Layout::Grey || image.format() == QImage::Format_RGB888) {
        const int samples = layout == Layout::Grey ? 1 : 3;
        const size_t bytes = static_cast<size_t>(width) * samples;
        std::memcpy(out, row, bytes);
        for (size_t i = bytes; i-- > static_cast<size_t>(samples);)
            out[i] = static_cast<uint8_t>(out[i] - out[i - samples]);
        return;
    }
    const auto* pixels = reinterpret_cast<const QRgb*>(row);
    uint8_t r = 0, g = 0, b = 0, a = 0;
    if (layout == Layout::Rgb) {
        for (int x = 0; x < width; ++x, out += 3) {
            const QRgb p = pixels[x];
            out[0] = static_cast<uint8_t>(qRed(p) - r);
            out[1] = static_cast<uint8_t>(qGreen(p) - g);
            out[2] = static_cast<uint8_t>(qBlue(p) - b);
            r = static_cast<uint8_t>(qRed(p));
            g = static_cast<uint8_t>(qGreen(p));
            b = static_cast<uint8_t>(qBlue(p));
        }
        return;
    }
    for (int x = 0; x < width; ++x, out += 4) {
        const QRgb p = pixels[x];
        out[0] = static_cast<uint8_t>(qRed(p) - r);
        out[1] = static_cast<uint8_t>(qGreen(p) - g);
        out[2] = static_cast<uint8_t>(qBlue(p) - b);
        out[3] = static_cast<uint8_t>(qAlpha(p) - a);
        r = static_cast<uint8_t>(qRed(p));
        g = static_cast<uint8_t>(qGreen(p));
        b = static_cast<uint8_t>(qBlue(p));
        a = static_cast<uint8_t>(qAlpha(p));
    }
}

// The picture in a form PackRow reads directly; only other forms are
// converted (a decoded JPEG or a redrawn picture is already RGB32).
QImage Packable(const QImage& image, Layout layout) {
    if (layout == Layout::Rgba)
        return image.format() == QImage::Format_ARGB32
                   ? image
                   : image.convertToFormat(QImage::Format_ARGB32);
    if (layout == Layout::Grey) return image;
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_RGB888:
        return image;
    default:
        return image.convertToFormat(QImage::Format_RGB32);
    }
}

} // namespace

std::string EncodeTiff(const QImage& source) {
    if (source.isNull()) return {};
    SilenceLibtiff();
    const Layout layout = source.hasAlphaChannel()                       ? Layout::Rgba
                          : source.format() == QImage::Format_Grayscale8 ? Layout::Grey
                                                                         : Layout::Rgb;
    const QImage image = Packable(source, layout);
    if (image.isNull()) return {};
    const uint32_t width = static_cast<uint32_t>(image.width());
    const uint32_t height = static_cast<uint32_t>(image.height());
    const uint16_t samples = layout == Layout::Rgba ? 4 : layout == Layout::Grey ? 1 : 3;
    const size_t rowBytes = static_cast<size_t>(width) * samples;
    const uint32_t rowsPerStrip =
        static_cast<uint32_t>(std::clamp<size_t>(kStripBytes / rowBytes, 1, height));

    // Room for the raw samples up front: the file then grows without being
    // copied, and pages that stay unused are never touched.
    std::string out;
    out.reserve(rowBytes * height + 65536);
    MemoryTiffStream stream(&out);
    TiffWriter writer(&stream);
    TIFF* tiff = writer.get();
    if (!tiff) return {};
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC,
                 layout == Layout::Grey ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB);
    if (layout == Layout::Rgba) {
        const uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, extra);
    }
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(tiff, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
    TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0) {
        TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_CENTIMETER);
        TIFFSetField(tiff, TIFFTAG_XRESOLUTION, static_cast<float>(image.dotsPerMeterX() / 100.0));
        TIFFSetField(tiff, TIFFTAG_YRESOLUTION, static_cast<float>(image.dotsPerMeterY() / 100.0));
    }

    // The strips are packed and compressed here, in one pass over the
    // picture, and handed to libtiff as they are.
    std::vector<uint8_t> strip(rowBytes * rowsPerStrip);
    std::string packed;
    packed.reserve(strip.size() * 3 / 2 + 4096);
    for (uint32_t first = 0, index = 0; first < height; first += rowsPerStrip, ++index) {
        const uint32_t rows = std::min(rowsPerStrip, height - first);
        for (uint32_t r = 0; r < rows; ++r)
            PackRow(image, static_cast<int>(first + r), layout, strip.data() + r * rowBytes);
        packed.clear();
        AppendTiffLzw(strip.data(), rows * rowBytes, &packed);
        if (TIFFWriteRawStrip(tiff, index, packed.data(), static_cast<tmsize_t>(packed.size())) < 0)
            return {};
    }
    if (!TIFFWriteDirectory(tiff)) return {};
    writer.Close();
    return out;
}

} // namespace tuji
