#include "modify/Resize.h"

#include "fs/Files.h"
#include "modify/ImageCodecs.h"
#include "text/Encoding.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tuji {
namespace {

ResizeSettings Scale(float percent, int condition = kNoCheck, int width = 50, int height = 50) {
    ResizeSettings s;
    s.scaleOn = true;
    s.scalePercent = percent;
    s.condition = condition;
    s.widthLimit = width;
    s.heightLimit = height;
    return s;
}

TEST(ScaleImage, SizeConditionAndArithmetic) {
    struct Case {
        ResizeSettings settings;
        QSize in;
        QSize out;
    };
    const Case cases[] = {
        {Scale(50), {801, 600}, {400, 300}}, // 400.5 is cut to 400
        {Scale(50, kKeepWhenSmaller, 50, 50), {40, 50}, {40, 50}},
        {Scale(50, kKeepWhenSmaller, 50, 50), {40, 51}, {20, 25}},
        {Scale(50, kKeepWhenSmaller, 50, 50), {51, 40}, {25, 20}},
        {Scale(50, kKeepWhenLarger, 0, 300), {10, 300}, {10, 300}},
        {Scale(50, kKeepWhenLarger, 0, 300), {1000, 299}, {500, 149}},
        {Scale(50, kKeepWhenSmaller, 0, 0), {5000, 4000}, {5000, 4000}},
        {Scale(50, kKeepWhenLarger, -1, 0), {2, 2}, {2, 2}},
        {Scale(150), {100, 61}, {150, 91}},
        {Scale(1), {50, 300}, {1, 3}}, // 0.5 pixels still gives one
        {Scale(0), {50, 30}, {1, 1}},  // a scale that is no number counts as 0
    };
    for (const Case& c : cases) {
        QImage image(c.in, QImage::Format_RGB32);
        image.fill(Qt::gray);
        EXPECT_EQ(ScaleImage(image, c.settings).size(), c.out)
            << c.in.width() << "x" << c.in.height() << " at " << c.settings.scalePercent;
    }
}

TEST(ScaleImage, ShrinkingAveragesPixels) {
    QImage checker(2, 2, QImage::Format_RGB32);
    checker.setPixel(0, 0, qRgb(0, 0, 0));
    checker.setPixel(1, 1, qRgb(0, 0, 0));
    checker.setPixel(1, 0, qRgb(255, 255, 255));
    checker.setPixel(0, 1, qRgb(255, 255, 255));
    const QImage half = ScaleImage(checker, Scale(50));
    ASSERT_EQ(half.size(), QSize(1, 1));
    EXPECT_NEAR(qGray(half.pixel(0, 0)), 127, 2);
}

TEST(Conversion, TargetExtensionAndNaming) {
    ResizeSettings jpg;
    jpg.convertOn = true;
    jpg.targetItem = 1;
    EXPECT_EQ(TargetExtension("png", jpg), "jpg");
    EXPECT_EQ(TargetExtension("png", ResizeSettings{}), "png");
    EXPECT_EQ(ApplyExtension("/p/a.png", "png", TargetExtension("png", jpg)), "/p/a.jpg");
    EXPECT_EQ(ApplyExtension("/p/b.JPG", "jpg", "jpg"), "/p/b.JPG");
    EXPECT_EQ(ApplyExtension("/p/x.y/noext", "", "gif"), "/p/x.y/noext.gif");
    EXPECT_EQ(ApplyExtension("/a.jpg", "jpg", "tiff"), "/a.tiff");
    const char* extensions[] = {"bmp", "jpg", "gif", "tiff"};
    for (int item = 0; item < 4; ++item)
        EXPECT_EQ(TargetFormatExtension(item), extensions[item]);
    EXPECT_EQ(TargetFormatExtension(-1), "bmp");
}

TEST(Conversion, FormatBySourceExtension) {
    const std::pair<const char*, int> table[] = {
        {"jpg", kFormatJpeg}, {"jpeg", kFormatJpeg}, {"gif", kFormatGif},
        {"tif", kFormatTiff}, {"tiff", kFormatTiff}, {"png", kFormatPng},
        {"ico", kFormatBmp},  {"jpe", kFormatBmp},   {"", kFormatBmp}};
    for (const auto& [ext, format] : table)
        EXPECT_EQ(FormatBySourceExtension(ext), format) << ext;
}

TEST(Md5Change, AddsOneZeroByte) {
    EXPECT_EQ(AppendMd5Byte(std::string("ab", 2)), std::string("ab\0", 3));
    EXPECT_EQ(AppendMd5Byte(AppendMd5Byte("x")), std::string("x\0\0", 3));
}

class WriteResultTest : public testing::Test {
protected:
    std::string PathOf(const char* name) { return FromQString(dir_.filePath(name)); }
    QTemporaryDir dir_;
    QImage picture_ = [] {
        QImage image(16, 8, QImage::Format_RGB32);
        image.fill(qRgb(30, 140, 220));
        return image;
    }();
};

TEST_F(WriteResultTest, ConvertedPictureTakesTheTargetFormat) {
    ResizeSettings tiff;
    tiff.convertOn = true;
    tiff.targetItem = 3;
    ASSERT_TRUE(WriteResult({{}, picture_}, PathOf("a.tiff"), "png", true, tiff));
    EXPECT_EQ(DecodeImage(ReadFileBytes(PathOf("a.tiff"))).size(), QSize(16, 8));
    EXPECT_EQ(ReadFileBytes(PathOf("a.tiff")).substr(0, 2), "II");
}

TEST_F(WriteResultTest, RedrawnPictureKeepsItsSourceFormat) {
    ASSERT_TRUE(WriteResult({{}, picture_}, PathOf("c.png"), "png", true, ResizeSettings{}));
    EXPECT_EQ(ReadFileBytes(PathOf("c.png")).rfind("\x89PNG", 0), 0u);
    ASSERT_TRUE(WriteResult({{}, picture_}, PathOf("d.ico"), "ico", true, ResizeSettings{}));
    EXPECT_EQ(ReadFileBytes(PathOf("d.ico")).rfind("BM", 0), 0u);
}

TEST_F(WriteResultTest, ConvertsUnredrawnBytes) {
    ResizeSettings jpg;
    jpg.convertOn = true;
    jpg.targetItem = 1;
    const std::string png = AppendMd5Byte(EncodeImage(picture_, kFormatPng));
    ASSERT_TRUE(WriteResult({png, {}}, PathOf("b.jpg"), "png", false, jpg));
    EXPECT_EQ(ReadFileBytes(PathOf("b.jpg")).rfind("\xFF\xD8\xFF", 0), 0u);
}

TEST_F(WriteResultTest, PlainBytesAreWrittenAsTheyAre) {
    const std::string bytes("not even an image\0", 18);
    ASSERT_TRUE(WriteResult({bytes, {}}, PathOf("e.jpg"), "jpg", false, ResizeSettings{}));
    EXPECT_EQ(ReadFileBytes(PathOf("e.jpg")), bytes);
}

TEST_F(WriteResultTest, AFailureLeavesTheTargetAsItWas) {
    ASSERT_TRUE(WriteFileBytes(PathOf("f.jpg"), "source"));
    ResizeSettings jpg;
    jpg.convertOn = true;
    jpg.targetItem = 1;
    EXPECT_FALSE(WriteResult({"garbage", {}}, PathOf("f.jpg"), "jpg", false, jpg));
    EXPECT_FALSE(WriteResult({{}, QImage()}, PathOf("f.jpg"), "jpg", true, ResizeSettings{}));
    EXPECT_EQ(ReadFileBytes(PathOf("f.jpg")), "source");
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

} // namespace
} // namespace tuji
