#pragma once

// Decoding and encoding of image files. Decoders are chosen by the bytes, never
// by the file name, so a BMP named ".tmp" or a PNG named ".jpg" still loads.
// The encoders are the five output formats of the page; each runs with its
// defaults (JPEG quality 75, TIFF with lossless LZW, GIF from a palette fitted
// to the picture).
//
// Failures are quiet: an image that cannot be decoded or encoded gives an
// empty result and leaves no file behind.

#include <QImage>
#include <string>
#include <string_view>

namespace tuji {

// Output format numbers shared with the page.
enum ImageFormatNumber {
    kFormatBmp = 1,
    kFormatJpeg = 2,
    kFormatGif = 3,
    kFormatTiff = 4,
    kFormatPng = 5
};

// "image/bmp", "image/jpeg", "image/gif", "image/tiff", "image/png"; empty
// outside 1 to 5.
std::string FormatMime(int format);
// The identifier naming the format's encoder, e.g. "{557CF401-...}" for JPEG.
std::string FormatEncoderId(int format);

// The page starts the codecs when it is created and stops them when it
// closes. Every routine below also works outside that time; starting only
// builds the encoder list once.
void StartImageCodecs();
void StopImageCodecs();
bool ImageCodecsStarted();

// 1-based position of the encoder whose MIME type equals `mime` exactly (no
// case folding), with its identifier in *encoderId; -1 when none matches.
int FindEncoderByMime(std::string_view mime, std::string* encoderId = nullptr);

// The first picture of the bytes, or a null image for anything that is not a
// decodable image, is truncated, or would not fit the allocation limit.
QImage DecodeImage(std::string_view bytes);
// Like DecodeImage, but lets the decoder deliver at most `size` (a JPEG then
// decodes at a reduced scale); the result is exactly `size`.
QImage DecodeImageScaled(std::string_view bytes, QSize size);
// Width and height from the image's header without decoding it; invalid when
// the bytes are no image.
QSize PeekImageSize(std::string_view bytes);
// True when the bytes start like a JPEG file.
bool LooksLikeJpeg(std::string_view bytes);

// The picture as a file of the format, or empty bytes.
std::string EncodeImage(const QImage& image, int format);
// Encodes and moves the file into place under `path` (replacing what was
// there) only when encoding succeeded; a failure leaves `path` untouched.
bool SaveImageFile(const QImage& image, int format, std::string_view path);

// Re-encodes an image. With inputPathGiven the image is read from inputPath
// and inputBytes is ignored; otherwise inputBytes is decoded. With
// outputPathGiven the result goes to outputPath and empty bytes come back;
// otherwise the result is returned. Failure: empty bytes, no file.
std::string ConvertImageFile(std::string_view inputBytes, int format, std::string_view inputPath,
                             bool inputPathGiven, std::string_view outputPath,
                             bool outputPathGiven);

// Re-encodes bytes in memory. True when a result was produced: it is then in
// *result, and also written to outputPath when that is not blank. On failure
// *result is left as it was.
bool ConvertImageBytes(std::string_view inputBytes, int format, std::string_view outputPath,
                       std::string* result);

// A copy without alpha: every pixel keeps its colour and becomes opaque.
// Pictures that pass through the page's drawing surface end up like this.
QImage OpaqueImage(const QImage& image);

} // namespace tuji
