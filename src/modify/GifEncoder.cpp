#include "modify/GifEncoder.h"

#include <algorithm>
#include <cmath>
#include <gif_lib.h>
#include <libimagequant.h>
#include <vector>

namespace tuji {
namespace {

// The quantiser's objects, each released with its own destroy call.
struct QuantAttributes {
    liq_attr* handle = liq_attr_create();
    ~QuantAttributes() {
        if (handle) liq_attr_destroy(handle);
    }
};
struct QuantImage {
    liq_image* handle = nullptr;
    ~QuantImage() {
        if (handle) liq_image_destroy(handle);
    }
};
struct QuantResult {
    liq_result* handle = nullptr;
    ~QuantResult() {
        if (handle) liq_result_destroy(handle);
    }
};
struct QuantHistogram {
    liq_histogram* handle = nullptr;
    ~QuantHistogram() {
        if (handle) liq_histogram_destroy(handle);
    }
};
struct GifColorMap {
    ColorMapObject* handle = nullptr;
    ~GifColorMap() {
        if (handle) GifFreeMapObject(handle);
    }
};

// The encoder owns its file record until EGifCloseFile, which also frees it.
class GifStreamWriter {
public:
    explicit GifStreamWriter(std::string* out) {
        int error = 0;
        gif_ = EGifOpen(out, &GifStreamWriter::Append, &error);
    }
    ~GifStreamWriter() { Close(); }
    GifStreamWriter(const GifStreamWriter&) = delete;
    GifStreamWriter& operator=(const GifStreamWriter&) = delete;

    GifFileType* get() const { return gif_; }
    bool Close() {
        if (!gif_) return false;
        int error = 0;
        bool ok = EGifCloseFile(gif_, &error) == GIF_OK;
        gif_ = nullptr;
        return ok;
    }

private:
    static int Append(GifFileType* gif, const GifByteType* data, int length) {
        static_cast<std::string*>(gif->UserData)
            ->append(reinterpret_cast<const char*>(data), static_cast<size_t>(length));
        return length;
    }
    GifFileType* gif_ = nullptr;
};

constexpr int kMaxGifSide = 65535;
constexpr int kTransparentBelowAlpha = 128;
// Speed 1 (best) to 10 (fastest); 6 keeps photographs smooth at a fraction of
// the default's time.
constexpr int kQuantiserSpeed = 6;
// The palette of a large picture is fitted to an evenly thinned-out copy of
// about this many pixels (whole pixels, no blended colours); every pixel is
// then mapped onto it. A photograph's colours are all in the copy.
constexpr qint64 kPaletteSamplePixels = 512 * 512;

std::vector<void*> RowPointers(const QImage& image) {
    std::vector<void*> rows(static_cast<size_t>(image.height()));
    for (int y = 0; y < image.height(); ++y)
        rows[y] = const_cast<uchar*>(image.constScanLine(y));
    return rows;
}

} // namespace

std::string EncodeGif(const QImage& image) {
    if (image.isNull() || image.width() > kMaxGifSide || image.height() > kMaxGifSide) return {};
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    const int width = rgba.width();
    const int height = rgba.height();

    QuantAttributes attributes;
    if (!attributes.handle) return {};
    liq_set_speed(attributes.handle, kQuantiserSpeed);
    std::vector<void*> sourceRows = RowPointers(rgba);
    QuantImage source;
    source.handle =
        liq_image_create_rgba_rows(attributes.handle, sourceRows.data(), width, height, 0);
    if (!source.handle) return {};

    QImage sample = rgba;
    const qint64 pixels = static_cast<qint64>(width) * height;
    if (pixels > kPaletteSamplePixels) {
        const double shrink = std::sqrt(static_cast<double>(kPaletteSamplePixels) / pixels);
        sample = rgba.scaled(std::max(1, static_cast<int>(width * shrink)),
                             std::max(1, static_cast<int>(height * shrink)), Qt::IgnoreAspectRatio,
                             Qt::FastTransformation);
    }
    std::vector<void*> sampleRows = RowPointers(sample);
    QuantImage sampleImage;
    sampleImage.handle = liq_image_create_rgba_rows(attributes.handle, sampleRows.data(),
                                                    sample.width(), sample.height(), 0);
    QuantHistogram histogram;
    histogram.handle = liq_histogram_create(attributes.handle);
    if (!sampleImage.handle || !histogram.handle ||
        liq_histogram_add_image(histogram.handle, attributes.handle, sampleImage.handle) != LIQ_OK)
        return {};
    QuantResult result;
    if (liq_histogram_quantize(histogram.handle, attributes.handle, &result.handle) != LIQ_OK)
        return {};
    liq_set_dithering_level(result.handle, 1.0f);

    std::vector<unsigned char> indices(static_cast<size_t>(width) * height);
    std::vector<unsigned char*> indexRows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        indexRows[y] = indices.data() + static_cast<size_t>(y) * width;
    if (liq_write_remapped_image_rows(result.handle, source.handle, indexRows.data()) != LIQ_OK)
        return {};
    const liq_palette* palette = liq_get_palette(result.handle);
    if (!palette || palette->count == 0) return {};

    // giflib wants a power-of-two table of at least two entries.
    int tableSize = 2;
    while (tableSize < static_cast<int>(palette->count))
        tableSize *= 2;
    std::vector<GifColorType> colours(static_cast<size_t>(tableSize), GifColorType{0, 0, 0});
    int transparentIndex = NO_TRANSPARENT_COLOR;
    int lowestAlpha = 256;
    for (unsigned i = 0; i < palette->count; ++i) {
        colours[i] =
            GifColorType{palette->entries[i].r, palette->entries[i].g, palette->entries[i].b};
        if (palette->entries[i].a < lowestAlpha) {
            lowestAlpha = palette->entries[i].a;
            if (lowestAlpha < kTransparentBelowAlpha) transparentIndex = static_cast<int>(i);
        }
    }
    GifColorMap colourMap;
    colourMap.handle = GifMakeMapObject(tableSize, colours.data());
    if (!colourMap.handle) return {};

    std::string out;
    GifStreamWriter writer(&out);
    GifFileType* gif = writer.get();
    if (!gif) return {};
    EGifSetGifVersion(gif, transparentIndex != NO_TRANSPARENT_COLOR);
    if (EGifPutScreenDesc(gif, width, height, colourMap.handle->BitsPerPixel, 0,
                          colourMap.handle) != GIF_OK)
        return {};
    if (transparentIndex != NO_TRANSPARENT_COLOR) {
        GraphicsControlBlock control{};
        control.DisposalMode = DISPOSAL_UNSPECIFIED;
        control.UserInputFlag = false;
        control.DelayTime = 0;
        control.TransparentColor = transparentIndex;
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) != GIF_OK) return {};
    }
    if (EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) != GIF_OK) return {};
    for (int y = 0; y < height; ++y)
        if (EGifPutLine(gif, indexRows[y], width) != GIF_OK) return {};
    if (!writer.Close()) return {};
    return out;
}

} // namespace tuji
