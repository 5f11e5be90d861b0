#include "modify/ModifyJob.h"

#include "fs/Files.h"
#include "modify/ImageCodecs.h"
#include "modify/Resize.h"
#include "text/Encoding.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

namespace tuji {
namespace {

std::string JpegOf(int w, int h, QRgb colour = qRgb(40, 120, 200)) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return EncodeImage(image, kFormatJpeg);
}

class ModifyJobTest : public testing::Test {
protected:
    void SetUp() override {
        root_ = FromQString(dir_.path()) + "/pics";
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "2020/d.jpg", "2020/e.jpg"})
            Put(name, JpegOf(40, 30));
    }
    void Put(const std::string& name, const std::string& bytes) {
        const std::string path = root_ + "/" + name;
        QDir().mkpath(QFileInfo(ToQString(path)).path());
        ASSERT_TRUE(WriteFileBytes(path, bytes));
    }
    ModifyJobHooks Hooks() {
        ModifyJobHooks hooks;
        hooks.status = [this](const std::string& line) { statuses_.push_back(line); };
        hooks.caption = [this](const std::string& caption) { captions_.push_back(caption); };
        hooks.includeSubfolders = [this] { return subfolders_; };
        hooks.saveToNewFolder = [this] { return newFolder_; };
        hooks.typeFilter = [this] { return filter_; };
        return hooks;
    }
    QTemporaryDir dir_;
    std::string root_;
    std::vector<std::string> statuses_, captions_;
    bool subfolders_ = true;
    bool newFolder_ = false;
    std::string filter_ = T("*.jpg|*.png|*.bmp");
};

TEST_F(ModifyJobTest, StatusLinesThroughASubfolderAndTheCounts) {
    ModifyJob job({}, Hooks());
    job.Run(root_, ListingMode::FileSystemObject);
    const std::vector<std::string> expected = {
        T("正在读取目录：") + root_,           "(3:1) " + root_ + "/a.jpg",
        "(3:2) " + root_ + "/b.jpg",           "(3:3) " + root_ + "/c.jpg",
        T("正在读取目录：") + root_ + "/2020", "(2:1) " + root_ + "/2020/d.jpg",
        "(2:2) " + root_ + "/2020/e.jpg",      T("修改完成，已修改 5 张图片,成功修改 5 张图片"),
    };
    EXPECT_EQ(statuses_, expected);
    EXPECT_EQ(captions_.front(), T("停止修改"));
    EXPECT_EQ(captions_[5], T("点击停止 （已修改 5 张图片)"));
    EXPECT_EQ(captions_.back(), T("开始修改"));
}

TEST_F(ModifyJobTest, NoChangeInANewFolderCopiesTheFiles) {
    newFolder_ = true;
    ModifyJob job({}, Hooks());
    job.Run(root_, ListingMode::WildcardSearch);
    EXPECT_EQ(job.succeeded(), 5);
    const std::string copy = FromQString(dir_.path()) + T("/pics(修改)/2020/d.jpg");
    EXPECT_EQ(ReadFileBytes(copy), ReadFileBytes(root_ + "/2020/d.jpg"));
    EXPECT_EQ(job.SaveFolder(), root_ + T("(修改)"));
}

TEST_F(ModifyJobTest, NewFolderPathsReplaceOnlyTheLeadingFolder) {
    newFolder_ = true;
    ModifyJob job({}, Hooks());
    job.SetChosenFolder("/nowhere/a");
    EXPECT_EQ(job.OutputPathFor("/nowhere/a/b/nowhere/a/c.jpg"),
              T("/nowhere/a(修改)/b/nowhere/a/c.jpg"));
    ModifyJob rootJob({}, Hooks());
    rootJob.SetChosenFolder("/");
    EXPECT_EQ(rootJob.OutputPathFor("/a.jpg"), T("/(修改)a.jpg"));
    EXPECT_EQ(rootJob.OutputPathFor("/sub/b.jpg"), T("/(修改)sub/b.jpg"));
    EXPECT_EQ(rootJob.SaveFolder(), T("/(修改)"));
    job.SetChosenFolder("/nowhere/a/");
    EXPECT_EQ(job.SaveFolder(), T("/nowhere/a(修改)"));
}

TEST_F(ModifyJobTest, AStopDuringTheSubfolderPassEndsAfterTheCurrentImage) {
    ModifyJobHooks hooks = Hooks();
    ModifyJob* running = nullptr;
    hooks.processEvents = [&running] {
        if (running && running->processed() == 4) running->RequestStop();
    };
    ModifyJob job({}, hooks);
    running = &job;
    job.Run(root_, ListingMode::FileSystemObject);
    EXPECT_EQ(job.processed(), 4);
    EXPECT_EQ(statuses_.back(), T("修改完成，已修改 4 张图片,成功修改 4 张图片"));
    EXPECT_NE(std::find(captions_.begin(), captions_.end(), T("正在停止..")), captions_.end());
    EXPECT_EQ(captions_.back(), T("开始修改"));
}

TEST_F(ModifyJobTest, Md5OnlyAddsOneZeroBytePerRun) {
    subfolders_ = false;
    ModifyJobSettings settings;
    settings.resize.md5On = true;
    const std::string source = ReadFileBytes(root_ + "/a.jpg");
    ModifyJob(settings, Hooks()).Run(root_, ListingMode::FileSystemObject);
    EXPECT_EQ(ReadFileBytes(root_ + "/a.jpg"), source + std::string(1, '\0'));
    ModifyJob(settings, Hooks()).Run(root_, ListingMode::FileSystemObject);
    EXPECT_EQ(ReadFileBytes(root_ + "/a.jpg"), source + std::string(2, '\0'));
    EXPECT_EQ(ReadFileBytes(root_ + "/2020/d.jpg").size(), source.size());
}

TEST_F(ModifyJobTest, ConversionInPlaceWritesBesideTheSource) {
    subfolders_ = false;
    Put("B.JPG", JpegOf(8, 8));
    filter_ = "*.jpg";
    ModifyJobSettings settings;
    settings.resize.convertOn = true;
    settings.resize.targetItem = 2; // GIF
    settings.resize.md5On = true;   // re-encoded: the byte does not survive
    ModifyJob job(settings, Hooks());
    job.Run(root_, ListingMode::FileSystemObject);
    EXPECT_EQ(job.processed(), 4);
    EXPECT_EQ(job.succeeded(), 4);
    EXPECT_TRUE(PathIsFile(root_ + "/a.jpg"));
    const std::string gif = ReadFileBytes(root_ + "/a.gif");
    EXPECT_EQ(gif.rfind("GIF8", 0), 0u);
    EXPECT_EQ(gif.back(), ';');
    EXPECT_TRUE(PathIsFile(root_ + "/B.gif"));
}

TEST_F(ModifyJobTest, ScalingAndWatermarkKeepTheSourceFormat) {
    subfolders_ = false;
    QImage png(80, 60, QImage::Format_RGB32);
    png.fill(Qt::white);
    Put("c.png", EncodeImage(png, kFormatPng));
    ModifyJobSettings settings;
    settings.resize.scaleOn = true;
    settings.watermarks.textOn = true;
    settings.watermarks.text = "X";
    settings.watermarks.style.fontName = "WenQuanYi Micro Hei";
    ModifyJob job(settings, Hooks());
    job.Run(root_, ListingMode::FileSystemObject);
    const std::string out = ReadFileBytes(root_ + "/c.png");
    ASSERT_EQ(out.rfind("\x89PNG", 0), 0u);
    EXPECT_EQ(DecodeImage(out).size(), QSize(40, 30));
    EXPECT_EQ(DecodeImage(ReadFileBytes(root_ + "/a.jpg")).size(), QSize(20, 15));
}

TEST_F(ModifyJobTest, ABrokenImageLeavesItsSourceAndNoNewFile) {
    subfolders_ = false;
    Put("broken.jpg", "\xFF\xD8\xFF garbage");
    ModifyJobSettings settings;
    settings.resize.scaleOn = true;
    ModifyJob inPlace(settings, Hooks());
    inPlace.Run(root_, ListingMode::FileSystemObject);
    EXPECT_EQ(inPlace.processed(), 4);
    EXPECT_EQ(inPlace.succeeded(), 4); // the source itself stands at its output path
    EXPECT_EQ(ReadFileBytes(root_ + "/broken.jpg"), "\xFF\xD8\xFF garbage");

    newFolder_ = true;
    ModifyJob elsewhere(settings, Hooks());
    elsewhere.Run(root_, ListingMode::FileSystemObject);
    EXPECT_EQ(elsewhere.succeeded(), 3);
    EXPECT_FALSE(PathExists(FromQString(dir_.path()) + T("/pics(修改)/broken.jpg")));
}

TEST_F(ModifyJobTest, JpegDecodedAtReducedSizeLooksLikeAFullDecode) {
    QImage photo(1920, 1080, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb((x * 7 + y) % 256, (x / 3 + y * 5) % 256, (x ^ y) & 0xFF));
    const std::string jpeg = EncodeImage(photo, kFormatJpeg);
    ResizeSettings half;
    half.scaleOn = true;
    const QImage full = ScaleImage(DecodeImage(jpeg), half);
    const QImage fast = DecodeImageScaled(jpeg, QSize(960, 540));
    ASSERT_EQ(fast.size(), full.size());
    long long total = 0;
    for (int y = 0; y < full.height(); ++y)
        for (int x = 0; x < full.width(); ++x) {
            const QRgb a = full.pixel(x, y), b = fast.pixel(x, y);
            total += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                     std::abs(qBlue(a) - qBlue(b));
        }
    EXPECT_LT(static_cast<double>(total) / (960.0 * 540 * 3), 6.0);
}

} // namespace
} // namespace tuji
