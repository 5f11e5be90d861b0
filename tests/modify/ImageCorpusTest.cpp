#include "fs/Files.h"
#include "modify/ImageCodecs.h"
#include "modify/ModifyJob.h"
#include "text/Encoding.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

namespace tuji {
namespace {

// Copies a folder tree into `target` (as writable files).
int CopyTree(const QString& from, const QString& target) {
    int files = 0;
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString copy = target + "/" + QDir(from).relativeFilePath(source);
        QDir().mkpath(QFileInfo(copy).path());
        const std::string bytes = ReadFileBytes(FromQString(source));
        if (WriteFileBytes(FromQString(copy), bytes)) ++files;
    }
    return files;
}

// Runs a scaling job with results in the parallel folder over every file of
// the tree and checks: every file counted, a decodable output for every
// decodable input, nothing for the rest.
void CheckRunOver(const QString& sourceTree, ResizeSettings resize, const char* outputExtension) {
    QTemporaryDir dir;
    const QString root = dir.filePath("images");
    const int total = CopyTree(sourceTree, root);
    ASSERT_GT(total, 0);
    std::map<QString, bool> decodable;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        decodable[path] = !DecodeImage(ReadFileBytes(FromQString(path))).isNull();
    }

    ModifyJobSettings settings;
    settings.resize = resize;
    ModifyJobHooks hooks;
    hooks.typeFilter = [] { return std::string("*.*"); };
    hooks.includeSubfolders = [] { return true; };
    hooks.saveToNewFolder = [] { return true; };
    ModifyJob job(settings, hooks);
    job.Run(FromQString(root), ListingMode::FileSystemObject);
    EXPECT_EQ(job.processed(), total);

    int expectedOutputs = 0;
    const QString outputRoot = root + QString::fromUtf8("(修改)");
    for (const auto& [path, canDecode] : decodable) {
        QString output = outputRoot + "/" + QDir(root).relativeFilePath(path);
        if (outputExtension) {
            const QFileInfo info(output);
            output = info.path() + "/" + info.completeBaseName() + "." + outputExtension;
        }
        const std::string bytes = ReadFileBytes(FromQString(output));
        if (canDecode) {
            ++expectedOutputs;
            EXPECT_FALSE(DecodeImage(bytes).isNull()) << path.toStdString();
        } else {
            EXPECT_FALSE(QFileInfo::exists(output)) << path.toStdString();
        }
    }
    EXPECT_EQ(job.succeeded(), expectedOutputs);
}

TEST(ImageSamples, ScaledRunWritesDecodableOutputsOnly) {
    ResizeSettings resize;
    resize.scaleOn = true;
    CheckRunOver(QString(TUJI_TEST_DATA) + "/modify", resize, nullptr);
}

TEST(ImageSamples, EveryDecodableSampleConvertsToEachFormat) {
    for (int item = 0; item < 4; ++item) {
        ResizeSettings resize;
        resize.convertOn = true;
        resize.targetItem = item;
        const char* extensions[] = {"bmp", "jpg", "gif", "tiff"};
        CheckRunOver(QString(TUJI_TEST_DATA) + "/modify", resize, extensions[item]);
    }
}

TEST(ImageCorpus, RunOverTheWholeImageCorpus) {
    const QString corpus = QString(TUJI_SHARED_CORPUS) + "/images";
    if (!QFileInfo(corpus).isDir())
        GTEST_SKIP() << "shared image corpus not found at " << corpus.toStdString();
    ResizeSettings resize;
    resize.scaleOn = true;
    resize.md5On = true;
    CheckRunOver(corpus, resize, nullptr);
}

} // namespace
} // namespace tuji
