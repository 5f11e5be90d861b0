#pragma once

// The batch modification job: walks a folder (and on request its subfolders,
// depth first) image by image on the user-interface thread and writes each
// result over its source or into the parallel folder "<chosen>(修改)". The
// page is a thin view: it hands the job its settings and hooks, and shows
// what the job reports through them.

#include "modify/DrawingSurface.h"
#include "modify/ModifySettings.h"

#include <QDateTime>
#include <QImage>
#include <functional>
#include <random>
#include <string>
#include <string_view>

namespace tuji {

// How folders are listed: a left click uses the file-system object's
// listing, a right click the wildcard search.
enum class ListingMode { FileSystemObject, WildcardSearch };

struct ModifyJobSettings {
    WatermarkSettings watermarks;
    ResizeSettings resize;
};

// What the job reads and reports while it runs. Every hook is optional; the
// three options outside the setting groups stay changeable during a job and
// are read each time they are used.
struct ModifyJobHooks {
    std::function<void(const std::string&)> status;  // the line over the progress bar
    std::function<void(const std::string&)> caption; // the start button's caption
    std::function<void(int)> progressMaximum;
    std::function<void(int)> progress;
    std::function<std::string()> typeFilter; // 编辑框图片类型, e.g. "*.jpg|*.png|*.bmp"
    std::function<bool()> includeSubfolders; // 选择框包含子文件夹
    std::function<bool()> saveToNewFolder;   // 选择框新目录保存修改
    std::function<QDateTime()> clock;        // for the text watermark's placeholders
    std::function<void()> processEvents;     // before every image; default: Qt's event loop
};

class ModifyJob {
public:
    ModifyJob(ModifyJobSettings settings, ModifyJobHooks hooks);

    // The whole job over the chosen folder: resets the counts, prepares the
    // watermarks, walks the folder and ends with the completion line in the
    // status and the caption "开始修改".
    void Run(std::string_view chosenFolder, ListingMode mode);
    // One folder's pass; calls itself for subfolders.
    void ModifyFolder(const std::string& folder, ListingMode mode);
    // The per-image steps for one file of the chosen folder's tree.
    void ModifyFile(const std::string& path);

    // The button's second click: the current image is finished first.
    void RequestStop();
    bool stopRequested() const { return stop_; }

    int processed() const { return processed_; }
    int succeeded() const { return succeeded_; }
    const std::string& chosenFolder() const { return chosen_; }
    // Run sets it; tests of the output paths set it without walking anything.
    void SetChosenFolder(std::string_view folder);
    // "修改完成，已修改 N 张图片,成功修改 M 张图片"
    std::string CompletionLine() const;
    // Where the results went: the chosen folder, or it + "(修改)".
    std::string SaveFolder() const;
    // Where the result of `path` goes before its extension is applied.
    std::string OutputPathFor(std::string_view path) const;

private:
    bool SaveToNewFolder() const;
    void Status(const std::string& line) const;
    void Caption(const std::string& caption) const;
    QImage RedrawnPicture(const std::string& bytes);

    ModifyJobSettings settings_;
    ModifyJobHooks hooks_;
    DrawingSurface surface_;
    QImage watermarkPicture_;
    std::mt19937 random_{std::random_device{}()};
    std::string chosen_;
    bool stop_ = false;
    int processed_ = 0;
    int succeeded_ = 0;
};

} // namespace tuji
