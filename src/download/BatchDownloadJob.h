#pragma once

// The batch download job: downloads every line of a pasted address list into
// one folder, with up to ten downloads running at once, and counts the images
// saved. It runs on the user-interface thread and keeps processing window
// events; the page is a thin view over it (download/ui/BatchDownloadPage.h).

#include "collect/DownloadJob.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tuji {

struct BatchDownloadResult {
    int addresses = 0; // the number of lines, also after a stop
    int saved = 0;     // images written by this job
};

// "处理完成，共 n 个地址，成功下载 m 个", program text.
std::string BatchDownloadSummary(const BatchDownloadResult& result);

// The job's save folder for the text of the folder box, ending with a
// separator: the box's folder when it exists, else the program folder's
// "图片目录" (the box's default text is a hint, not a folder). Not created.
std::string BatchSaveFolder(std::string_view folderText);
// ProgramFolder() + "/图片目录", without a trailing separator.
std::string DefaultBatchFolder();

class BatchDownloadJob {
public:
    // What the page shows while the job runs; each hook runs on the
    // user-interface thread and may be left empty.
    struct Hooks {
        // The list is split and not empty: n lines are about to start.
        std::function<void(int n)> started;
        // Before line i (1-based) of n starts.
        std::function<void(int n, int i, const std::string& line)> progress;
    };

    BatchDownloadJob() = default;
    BatchDownloadJob(const BatchDownloadJob&) = delete;
    BatchDownloadJob& operator=(const BatchDownloadJob&) = delete;

    // Stop requested, running workers, saved files, save folder; the slot
    // limit source (the page's 组合框线程数) is set on it.
    DownloadJobState& State() { return state_; }

    // The naming mode (kNameAuto, kNameOriginal, kNameOriginalPath) a worker
    // uses when its download has finished; the page keeps it in step with
    // its radio buttons, so a change during the job affects later saves.
    void SetNamingMode(int mode) { namingMode_ = mode; }
    int NamingMode() const { return namingMode_; }

    // Splits the list text (fixed from here on), prepares the save folder for
    // the folder text, starts one worker per line (start, then wait while
    // the slots are full), then waits until every worker has ended. Gives
    // nothing, and starts nothing, when the list has no lines. A stop request
    // (RequestStop, or State().stopRequested) keeps further lines from
    // starting; the result still counts every line.
    std::optional<BatchDownloadResult> Run(std::string_view listText, std::string_view folderText,
                                           const Hooks& hooks = {});

    void RequestStop() { state_.stopRequested = 1; }
    bool IsRunning() const { return running_; }

private:
    // Declared before the state, whose destructor waits for the workers that
    // still read it.
    std::atomic<int> namingMode_{0};
    DownloadJobState state_;
    bool running_ = false;
};

// The worker for line i (1-based) of `lines`: downloads the line's address
// (at most two attempts), and saves an image under the naming mode into the
// job's save folder without replacing anything. A line that is no http or
// https address fails at once, with nothing fetched. Runs on a worker thread.
// The naming mode is read when the download has finished.
void BatchDownloadWorker(const std::vector<std::string>& lines, int i, DownloadJobState& state,
                         const std::atomic<int>& namingMode);

} // namespace tuji
