#include "modify/ModifyJob.h"

#include "app/Paths.h"
#include "fs/Files.h"
#include "fs/FolderListing.h"
#include "fs/FsoFileSystem.h"
#include "modify/ImageCodecs.h"
#include "modify/Resize.h"
#include "modify/Watermarks.h"
#include "text/Encoding.h"
#include "text/TextOps.h"

#include <QCoreApplication>
#include <utility>
#include <vector>

namespace tuji {
namespace {

const std::string& NewFolderSuffix() {
    static const std::string suffix = T("(修改)");
    return suffix;
}

// A folder picked with a trailing separator (only the root keeps one) would
// otherwise put the parallel folder inside the chosen one.
std::string WithoutTrailingSeparator(std::string_view folder) {
    std::string result(folder);
    while (result.size() > 1 &&
           LastSeparator(result, PathForm::File) == static_cast<int>(result.size()))
        result.pop_back();
    return result;
}

int ListEntries(ListingMode mode, const std::string& folder, const std::string& filter,
                std::vector<std::string>& result, bool folders) {
    return mode == ListingMode::WildcardSearch
               ? SearchFolderEntries(folder, filter, result, false, folders)
               : ListFolderEntries(folder, filter, result, false, folders);
}

} // namespace

ModifyJob::ModifyJob(ModifyJobSettings settings, ModifyJobHooks hooks)
    : settings_(std::move(settings)), hooks_(std::move(hooks)) {}

void ModifyJob::Run(std::string_view chosenFolder, ListingMode mode) {
    SetChosenFolder(chosenFolder);
    stop_ = false;
    Caption(T("停止修改"));
    processed_ = 0;
    succeeded_ = 0;
    watermarkPicture_ = PrepareWatermarks(settings_.watermarks, surface_);
    ModifyFolder(chosen_, mode);
    watermarkPicture_ = QImage();
    Status(CompletionLine());
    Caption(T("开始修改"));
    if (hooks_.progress) hooks_.progress(0);
}

void ModifyJob::ModifyFolder(const std::string& folder, ListingMode mode) {
    Status(T("正在读取目录：") + folder);
    if (hooks_.progress) hooks_.progress(0);
    std::vector<std::string> files;
    const std::string filter = hooks_.typeFilter ? hooks_.typeFilter() : T("*.jpg|*.png|*.bmp");
    const int count = ListEntries(mode, folder, filter, files, false);
    if (hooks_.progressMaximum) hooks_.progressMaximum(count);
    for (int i = 1; i <= count; ++i) {
        if (hooks_.processEvents)
            hooks_.processEvents();
        else
            QCoreApplication::processEvents();
        if (stop_) return;
        const std::string& path = files[static_cast<size_t>(i - 1)];
        Status("(" + NumberText(count) + ":" + NumberText(i) + ") " + path);
        if (hooks_.progress) hooks_.progress(i);
        ModifyFile(path);
    }
    if (stop_ || !(hooks_.includeSubfolders && hooks_.includeSubfolders())) return;
    std::vector<std::string> subfolders;
    ListEntries(mode, folder, "*", subfolders, true);
    for (const std::string& subfolder : subfolders) {
        ModifyFolder(subfolder, mode);
        if (stop_) break;
    }
}

QImage ModifyJob::RedrawnPicture(const std::string& bytes) {
    const WatermarkSettings& marks = settings_.watermarks;
    const ResizeSettings& resize = settings_.resize;
    const bool watermark = marks.imageOn || marks.textOn;
    QImage picture;
    bool scaled = false;
    // Without a watermark drawn first, a JPEG that shrinks can be decoded at
    // the reduced size directly (the decoder averages as it scales down).
    if (!watermark && resize.scaleOn && LooksLikeJpeg(bytes)) {
        const QSize size = PeekImageSize(bytes);
        if (size.isValid() && !KeepsSize(size.width(), size.height(), resize)) {
            const QSize target = ScaledSize(size.width(), size.height(), resize);
            if (target.width() <= size.width() && target.height() <= size.height()) {
                picture = DecodeImageScaled(bytes, target);
                scaled = true;
            }
        }
    }
    if (!scaled) picture = DecodeImage(bytes);
    picture = OpaqueImage(picture);
    if (picture.isNull()) return picture;
    if (watermark) {
        surface_.Load(std::move(picture));
        if (marks.imageOn) DrawImageWatermark(surface_, watermarkPicture_, marks);
        if (marks.textOn) {
            const QDateTime now = hooks_.clock ? hooks_.clock() : QDateTime::currentDateTime();
            DrawTextWatermark(surface_, marks, now, random_);
        }
        picture = surface_.TakeContents();
    }
    if (resize.scaleOn && !scaled) picture = ScaleImage(picture, resize);
    return picture;
}

void ModifyJob::ModifyFile(const std::string& path) {
    const WatermarkSettings& marks = settings_.watermarks;
    const ResizeSettings& resize = settings_.resize;
    const std::string sourceExtension = LowerAscii(PathExtension(path, PathForm::File));
    const bool redrawn = marks.textOn || marks.imageOn || resize.scaleOn;

    WorkImage work;
    const bool read = ReadFileBytes(path, work.bytes);
    if (redrawn) {
        work.picture = RedrawnPicture(work.bytes);
        work.bytes.clear();
    }
    const std::string targetExtension = TargetExtension(sourceExtension, resize);
    // A picture is re-encoded as a whole, so the byte would not survive it.
    if (resize.md5On && !redrawn) work.bytes = AppendMd5Byte(std::move(work.bytes));

    const std::string outputPath =
        ApplyExtension(OutputPathFor(path), sourceExtension, targetExtension);
    CreateMissingFolders(outputPath);
    ++processed_;
    // An unreadable source is never "copied" as an empty file over itself.
    if (read) WriteResult(work, outputPath, sourceExtension, redrawn, resize);
    if (FsoFileSystem().FileExists(outputPath)) ++succeeded_;
    Caption(T("点击停止 （已修改 ") + NumberText(processed_) + T(" 张图片)"));
}

void ModifyJob::SetChosenFolder(std::string_view folder) {
    chosen_ = WithoutTrailingSeparator(folder);
}

void ModifyJob::RequestStop() {
    Caption(T("正在停止.."));
    stop_ = true;
}

std::string ModifyJob::CompletionLine() const {
    return T("修改完成，已修改 ") + NumberText(processed_) + T(" 张图片,成功修改 ") +
           NumberText(succeeded_) + T(" 张图片");
}

std::string ModifyJob::SaveFolder() const {
    return SaveToNewFolder() ? chosen_ + NewFolderSuffix() : chosen_;
}

std::string ModifyJob::OutputPathFor(std::string_view path) const {
    if (!SaveToNewFolder()) return std::string(path);
    // Only the leading occurrence of the chosen folder is replaced: the same
    // text deeper in the path names another folder.
    std::string rest;
    if (StartsWithText(path, chosen_))
        rest = std::string(path.substr(chosen_.size()));
    else
        rest = PathSeparator() + PathFileName(path, PathForm::File);
    return chosen_ + NewFolderSuffix() + rest;
}

bool ModifyJob::SaveToNewFolder() const {
    return hooks_.saveToNewFolder && hooks_.saveToNewFolder();
}

void ModifyJob::Status(const std::string& line) const {
    if (hooks_.status) hooks_.status(line);
}

void ModifyJob::Caption(const std::string& caption) const {
    if (hooks_.caption) hooks_.caption(caption);
}

} // namespace tuji
