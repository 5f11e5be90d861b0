#include "modify/ImageCodecs.h"

#include "fs/Files.h"
#include "text/Encoding.h"

#include <QBuffer>
#include <QDir>
#include <QImageWriter>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>

namespace tuji {
namespace {

QImage Gradient(int w = 40, int h = 30) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 6, y * 8, 200 - x * 2));
    return image;
}

std::string QtEncoded(const QImage& image, const char* format) {
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    EXPECT_TRUE(writer.write(image)) << format;
    return std::string(out.constData(), out.size());
}

int MaxChannelDifference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

std::string Path(const QTemporaryDir& dir, const char* name) {
    return FromQString(dir.filePath(QString::fromUtf8(name)));
}

TEST(FindEncoderByMime, MatchesExactlyOnly) {
    std::string id;
    EXPECT_EQ(FindEncoderByMime("image/jpeg", &id), 2);
    EXPECT_EQ(id, "{557CF401-1A04-11D3-9A73-0000F81EF32E}");
    EXPECT_EQ(FindEncoderByMime("image/bmp"), 1);
    EXPECT_EQ(FindEncoderByMime("image/gif"), 3);
    EXPECT_EQ(FindEncoderByMime("image/tiff"), 4);
    EXPECT_EQ(FindEncoderByMime("image/png"), 5);
    std::string untouched = "x";
    for (const char* near : {"image/jpg", "IMAGE/JPEG", "image/jpeg ", "image/Jpeg", ""})
        EXPECT_EQ(FindEncoderByMime(near, &untouched), -1) << near;
    EXPECT_EQ(untouched, "x");
}

TEST(ImageCodecs, RoundTripEveryFormat) {
    const QImage source = Gradient();
    struct Case {
        int format;
        const char* magic;
        int tolerance;
    };
    for (const Case& c :
         {Case{kFormatBmp, "BM", 0}, Case{kFormatJpeg, "\xFF\xD8\xFF", 24},
          Case{kFormatGif, "GIF8", 24}, Case{kFormatTiff, "", 0}, Case{kFormatPng, "\x89PNG", 0}}) {
        const std::string bytes = EncodeImage(source, c.format);
        ASSERT_FALSE(bytes.empty()) << c.format;
        EXPECT_EQ(bytes.rfind(c.magic, 0), 0u) << c.format;
        const QImage back = DecodeImage(bytes);
        ASSERT_EQ(back.size(), source.size()) << c.format;
        EXPECT_LE(MaxChannelDifference(source, back), c.tolerance) << c.format;
    }
}

// Photo-like content over several strips: our TIFF must give back every
// pixel (and every alpha) and be smaller than the raw samples.
TEST(ImageCodecs, TiffIsLosslessAndCompressed) {
    QImage opaque(1200, 700, QImage::Format_RGB32);
    for (int y = 0; y < opaque.height(); ++y)
        for (int x = 0; x < opaque.width(); ++x)
            opaque.setPixel(x, y, qRgb(x % 256, (y * 3) % 256, (x + y + (x * y) % 7) % 256));
    QImage seeThrough(300, 200, QImage::Format_ARGB32);
    for (int y = 0; y < seeThrough.height(); ++y)
        for (int x = 0; x < seeThrough.width(); ++x)
            seeThrough.setPixel(x, y, qRgba(x % 256, y, 90, x < 150 ? 255 : 128));
    const QImage grey = opaque.convertToFormat(QImage::Format_Grayscale8);
    struct Case {
        const char* name;
        QImage image;
        int samples;
        int tolerance; // a reader may premultiply see-through pixels
    };
    for (const Case& c : {Case{"opaque", opaque, 3, 0}, Case{"see-through", seeThrough, 4, 1},
                          Case{"grey", grey, 1, 0}}) {
        const std::string bytes = EncodeImage(c.image, kFormatTiff);
        ASSERT_FALSE(bytes.empty()) << c.name;
        EXPECT_TRUE(bytes.rfind("II*", 0) == 0 || bytes.rfind("MM", 0) == 0) << c.name;
        EXPECT_LT(bytes.size(),
                  static_cast<size_t>(c.image.width()) * c.image.height() * c.samples / 2)
            << c.name;
        const QImage back = DecodeImage(bytes).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(back.size(), c.image.size()) << c.name;
        const QImage want = c.image.convertToFormat(QImage::Format_ARGB32);
        EXPECT_LE(MaxChannelDifference(want, back), c.tolerance) << c.name;
        bool alphaKept = true;
        for (int y = 0; y < back.height() && alphaKept; ++y)
            for (int x = 0; x < back.width(); ++x)
                if (qAlpha(back.pixel(x, y)) != qAlpha(want.pixel(x, y))) alphaKept = false;
        EXPECT_TRUE(alphaKept) << c.name;
    }
}

// Noise fills the code table many times within each strip; a flat picture
// gives long strings.
TEST(ImageCodecs, TiffDecodesNoiseAndFlatPictures) {
    std::mt19937 random(7);
    QImage noise(1500, 400, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, random() | 0xFF000000u);
    QImage flat(2000, 900, QImage::Format_RGB32);
    flat.fill(qRgb(10, 200, 30));
    for (const QImage& picture : {noise, flat})
        EXPECT_EQ(
            DecodeImage(EncodeImage(picture, kFormatTiff)).convertToFormat(QImage::Format_RGB32),
            picture);
}

TEST(ImageCodecs, GifPaletteFitsFewColoursExactly) {
    QImage image(64, 16, QImage::Format_RGB32);
    const QRgb colours[] = {qRgb(255, 0, 0), qRgb(12, 200, 90), qRgb(255, 255, 255),
                            qRgb(0, 0, 80)};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y, colours[x / 16]);
    const QImage back = DecodeImage(EncodeImage(image, kFormatGif));
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(MaxChannelDifference(image, back), 0);
}

TEST(ImageCodecs, GifKeepsSeeThroughPixels) {
    QImage image(8, 8, QImage::Format_ARGB32);
    image.fill(qRgba(0, 0, 0, 0));
    image.setPixel(2, 2, qRgba(255, 0, 0, 255));
    const QImage back = DecodeImage(EncodeImage(image, kFormatGif));
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(qAlpha(back.pixel(0, 0)), 0);
    EXPECT_EQ(back.pixel(2, 2), qRgba(255, 0, 0, 255));
}

TEST(ImageCodecs, DecodesByContentIncludingIconsAndCursors) {
    const QImage source = Gradient(32, 32);
    std::string ico = QtEncoded(source, "ico");
    std::string cur = ico;
    cur[2] = 2; // the header's type field: 1 icon, 2 cursor
    for (const std::string& bytes : {ico, cur, QtEncoded(source, "png"), QtEncoded(source, "bmp")})
        EXPECT_EQ(DecodeImage(bytes).size(), QSize(32, 32));
}

TEST(ImageCodecs, RefusesBrokenTruncatedAndHugeImages) {
    EXPECT_TRUE(DecodeImage("").isNull());
    EXPECT_TRUE(DecodeImage("this is no image at all").isNull());
    const std::string png = QtEncoded(Gradient(), "png");
    EXPECT_TRUE(DecodeImage(png.substr(0, png.size() / 2)).isNull());
    const std::string jpeg = EncodeImage(Gradient(), kFormatJpeg);
    ASSERT_FALSE(DecodeImage(jpeg + "trailing junk").isNull());
    EXPECT_TRUE(DecodeImage(jpeg.substr(0, jpeg.size() - 40)).isNull());

    // A BMP header announcing 100000 x 100000 pixels (40 GB) and no pixel data.
    std::string bmp = QtEncoded(Gradient(4, 4), "bmp");
    auto put32 = [&bmp](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bmp[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put32(18, 100000);
    put32(22, 100000);
    EXPECT_TRUE(DecodeImage(bmp).isNull());
}

TEST(ConvertImageFile, ReadsThePathByContentAndReturnsBmp) {
    QTemporaryDir dir;
    const std::string path = Path(dir, "picture.jpg"); // a PNG under a JPEG name
    ASSERT_TRUE(WriteFileBytes(path, QtEncoded(Gradient(), "png")));
    const std::string bmp = ConvertImageFile("ignored", kFormatBmp, path, true, "", false);
    ASSERT_EQ(bmp.rfind("BM", 0), 0u);
    EXPECT_EQ(MaxChannelDifference(DecodeImage(bmp), Gradient()), 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST(ConvertImageFile, WritesTheOutputPathAndReturnsNothing) {
    QTemporaryDir dir;
    const std::string out = Path(dir, "out.gif");
    EXPECT_TRUE(
        ConvertImageFile(EncodeImage(Gradient(), kFormatJpeg), kFormatGif, "", false, out, true)
            .empty());
    EXPECT_EQ(ReadFileBytes(out).rfind("GIF8", 0), 0u);
}

TEST(ConvertImageFile, NoImageGivesNothingAndNoFile) {
    QTemporaryDir dir;
    const std::string out = Path(dir, "out.jpg");
    EXPECT_TRUE(ConvertImageFile("garbage", kFormatJpeg, "", false, "", false).empty());
    EXPECT_TRUE(ConvertImageFile("garbage", kFormatJpeg, "", false, out, true).empty());
    EXPECT_FALSE(PathExists(out));
    EXPECT_TRUE(
        ConvertImageFile("", kFormatJpeg, Path(dir, "missing.png"), true, "", false).empty());
}

TEST(ConvertImageFile, FailedEncodeLeavesAnExistingTargetAlone) {
    QTemporaryDir dir;
    const std::string out = Path(dir, "keep.jpg");
    ASSERT_TRUE(WriteFileBytes(out, "original"));
    ConvertImageFile("garbage", kFormatJpeg, "", false, out, true);
    EXPECT_EQ(ReadFileBytes(out), "original");
}

TEST(ConvertImageBytes, PngToBmpInMemory) {
    QTemporaryDir dir;
    std::string result;
    ASSERT_TRUE(ConvertImageBytes(QtEncoded(Gradient(), "png"), kFormatBmp, "  ", &result));
    EXPECT_EQ(result.rfind("BM", 0), 0u);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    std::string untouched = "before";
    EXPECT_FALSE(ConvertImageBytes("garbage", kFormatBmp, "", &untouched));
    EXPECT_EQ(untouched, "before");

    const std::string out = Path(dir, "w.bmp");
    ASSERT_TRUE(
        ConvertImageBytes(QtEncoded(Gradient(), "png"), kFormatBmp, " " + out + " ", &result));
    EXPECT_EQ(ReadFileBytes(out), result);
}

TEST(ImageCodecs, OpaqueImageKeepsColoursAndDropsAlpha) {
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(10, 20, 30, 0));
    image.setPixel(1, 0, qRgba(200, 100, 50, 128));
    const QImage opaque = OpaqueImage(image);
    EXPECT_FALSE(opaque.hasAlphaChannel());
    EXPECT_EQ(opaque.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(opaque.pixel(1, 0), qRgb(200, 100, 50));
}

} // namespace
} // namespace tuji
