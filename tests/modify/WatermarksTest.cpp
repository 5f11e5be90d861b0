#include "modify/Watermarks.h"

#include "fs/Files.h"
#include "modify/ImageCodecs.h"
#include "text/Encoding.h"

#include <QFont>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <set>

namespace tuji {
namespace {

class WatermarkTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        // The Windows face names are absent here; the program maps them to an
        // installed CJK face the same way.
        QFont::insertSubstitution(QString::fromUtf8("宋体"), "WenQuanYi Micro Hei");
    }
    static QImage Filled(int w, int h, QRgb colour) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    }
    QDateTime at_ = QDateTime(QDate(2024, 3, 5), QTime(9, 7, 5));
    std::mt19937 random_{7};
};

TEST_F(WatermarkTest, PositionOfTheFourCorners) {
    struct Case {
        int item;
        QPoint at;
    };
    for (const Case& c : {Case{0, {5, 5}}, Case{1, {5, 545}}, Case{2, {695, 5}},
                          Case{3, {695, 545}}, Case{-1, {5, 5}}})
        EXPECT_EQ(WatermarkPosition(800, 600, 100, 50, c.item, 5), c.at) << c.item;
    EXPECT_EQ(WatermarkPosition(100, 80, 300, 200, kBottomRight, 5), QPoint(-205, -125));
}

TEST_F(WatermarkTest, PlaceholdersFromTheClock) {
    EXPECT_EQ(PickWatermarkText(T("#年-#月-#日 #时:#分:#秒"), at_, random_), "2024-03-05 09:07:05");
    EXPECT_EQ(PickWatermarkText(T("#年#年"), at_, random_), "20242024");
    EXPECT_EQ(
        PickWatermarkText(T("#月#日"), QDateTime(QDate(2024, 12, 31), QTime(23, 59, 10)), random_),
        "1231");
    EXPECT_EQ(PickWatermarkText("", at_, random_), "");
}

TEST_F(WatermarkTest, PicksEachAlternativeIndependently) {
    std::multiset<std::string> seen;
    for (int i = 0; i < 300; ++i)
        seen.insert(PickWatermarkText("A|B|C", at_, random_));
    EXPECT_EQ(seen.size(), 300u);
    for (const char* part : {"A", "B", "C"})
        EXPECT_GT(seen.count(part), 60u) << part;
    EXPECT_EQ(seen.count("A") + seen.count("B") + seen.count("C"), 300u);
}

TEST_F(WatermarkTest, MeasuresTheLineWithMostBytes) {
    DrawingSurface surface;
    surface.Reset(QSize(400, 300));
    const QSize narrow = surface.MeasureLine("iiiiiiii");
    const QSize wide = surface.MeasureLine("WWWWWWW");
    ASSERT_GT(wide.width(), narrow.width());
    EXPECT_EQ(MeasureWatermarkText("WWWWWWW\r\niiiiiiii\nW", surface),
              QSize(narrow.width(), narrow.height() * 3));
    EXPECT_EQ(MeasureWatermarkText("", surface), QSize(0, 0));
    EXPECT_EQ(WatermarkLines("a\r\n\rb\nc\r\n"), (std::vector<std::string>{"a", "", "b", "c"}));
}

TEST_F(WatermarkTest, ThreeLinesAtTheBottomWithTwoPixelsBetween) {
    DrawingSurface surface;
    surface.Reset(QSize(200, 200));
    surface.DrawPicture(Filled(200, 200, qRgb(255, 255, 255)), QPoint(0, 0));
    WatermarkSettings settings;
    settings.text = "MMMM\nMMMM\nMMMM";
    settings.position = kBottomLeft;
    settings.edgeDistance = 0;
    settings.style.backColour = 0x000000FF; // red
    settings.style.textColour = 0x000000FF;
    surface.SetTextStyle(settings.style);
    const int h = surface.MeasureLine("MMMM").height();
    DrawTextWatermark(surface, settings, at_, random_);
    const QImage out = surface.contents();
    const int top = 200 - 3 * h;
    EXPECT_EQ(out.pixel(1, top - 1), qRgb(255, 255, 255));
    EXPECT_EQ(out.pixel(1, top), qRgb(255, 0, 0));
    EXPECT_EQ(out.pixel(1, top + h - 1), qRgb(255, 0, 0));
    EXPECT_EQ(out.pixel(1, top + h), qRgb(255, 255, 255)); // the 2-pixel gap
    EXPECT_EQ(out.pixel(1, top + h + 1), qRgb(255, 255, 255));
    EXPECT_EQ(out.pixel(1, top + h + 2), qRgb(255, 0, 0));
    // The last line starts at top + 2 (h + 2): 4 pixels of it fall off the image.
    EXPECT_EQ(out.pixel(1, 199), qRgb(255, 0, 0));
    EXPECT_EQ(top + 2 * (h + 2) + h, 204);
}

TEST_F(WatermarkTest, TransparentBackgroundLeavesTheImageAroundTheText) {
    DrawingSurface surface;
    surface.Reset(QSize(100, 60));
    surface.DrawPicture(Filled(100, 60, qRgb(0, 255, 0)), QPoint(0, 0));
    WatermarkSettings settings;
    settings.text = "i";
    settings.style.backColour = kTransparentValue;
    surface.SetTextStyle(settings.style);
    DrawTextWatermark(surface, settings, at_, random_);
    EXPECT_EQ(surface.contents().pixel(5, 5), qRgb(0, 255, 0));
    settings.style.backColour = 0x00FFFFFF;
    surface.SetTextStyle(settings.style);
    DrawTextWatermark(surface, settings, at_, random_);
    EXPECT_EQ(surface.contents().pixel(5, 5), qRgb(255, 255, 255));
}

TEST_F(WatermarkTest, KeyColourLeavesOutExactMatchesOnly) {
    QImage mark = Filled(20, 20, qRgb(255, 255, 255));
    for (int y = 5; y < 15; ++y)
        for (int x = 5; x < 15; ++x)
            mark.setPixel(x, y, qRgb(200, 0, 0));
    mark.setPixel(0, 0, qRgb(254, 255, 255)); // almost white stays
    WatermarkSettings settings;
    settings.edgeDistance = 0;
    DrawingSurface surface;
    surface.Reset(QSize(40, 40));
    surface.DrawPicture(Filled(40, 40, qRgb(0, 0, 255)), QPoint(0, 0));

    settings.keyColour = 0x00FFFFFF;
    DrawImageWatermark(surface, mark, settings);
    EXPECT_EQ(surface.contents().pixel(2, 2), qRgb(0, 0, 255));
    EXPECT_EQ(surface.contents().pixel(10, 10), qRgb(200, 0, 0));
    EXPECT_EQ(surface.contents().pixel(0, 0), qRgb(254, 255, 255));

    settings.keyColour = kTransparentValue;
    DrawImageWatermark(surface, mark, settings);
    EXPECT_EQ(surface.contents().pixel(2, 2), qRgb(255, 255, 255));
}

TEST_F(WatermarkTest, ALargerMarkIsClipped) {
    DrawingSurface surface;
    surface.Reset(QSize(10, 10));
    WatermarkSettings settings;
    settings.position = kBottomRight;
    DrawImageWatermark(surface, Filled(30, 30, qRgb(9, 9, 9)), settings);
    EXPECT_EQ(surface.contents().size(), QSize(10, 10));
    EXPECT_EQ(surface.contents().pixel(0, 0), qRgb(9, 9, 9));
    EXPECT_EQ(surface.contents().pixel(9, 9), qRgb(255, 255, 255)); // beyond its edge distance
}

TEST_F(WatermarkTest, PngWatermarkLosesItsAlpha) {
    QTemporaryDir dir;
    QImage logo(4, 4, QImage::Format_ARGB32);
    logo.fill(qRgba(10, 20, 30, 0));
    const std::string path = FromQString(dir.filePath("logo.png"));
    ASSERT_TRUE(WriteFileBytes(path, EncodeImage(logo, kFormatPng)));
    WatermarkSettings settings;
    settings.imageOn = true;
    settings.imageFile = path;
    DrawingSurface surface;
    const QImage mark = PrepareWatermarks(settings, surface);
    ASSERT_FALSE(mark.isNull());
    EXPECT_FALSE(mark.hasAlphaChannel());
    settings.imageFile = FromQString(dir.filePath("missing.png"));
    EXPECT_TRUE(PrepareWatermarks(settings, surface).isNull());
}

} // namespace
} // namespace tuji
