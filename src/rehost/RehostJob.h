#pragma once

// The re-hosting job: for each article file of the folder, scan its image
// references, download each remote image on a worker of its own into the
// image folder inside the results folder "转存结果", and write a copy of
// the article whose references point to the downloaded copies.
//
// The job runs on the user-interface thread inside the start button's
// handler and keeps the window alive in its waits; a second press only asks
// it to stop.

#include "collect/DownloadJob.h"
#include "rehost/ArticleQueue.h"
#include "rehost/ReferenceRewrites.h"
#include "rehost/RehostView.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tuji {

enum class ListingMethod {
    Walk,   // left click: ListFolderEntries
    Search, // right click: SearchFolderEntries
};

// Full paths of the article files of the folder (files only, no subfolders),
// in the order the listing gives them.
std::vector<std::string> ListArticles(std::string_view articleFolder, std::string_view filter,
                                      ListingMethod method);

class RehostJob {
public:
    explicit RehostJob(RehostView& view);
    ~RehostJob();
    RehostJob(const RehostJob&) = delete;
    RehostJob& operator=(const RehostJob&) = delete;

    // The handler of both presses of 按钮开始转存: starts a job when idle
    // (and returns when it has ended), otherwise asks the running job to stop.
    void StartOrStopRehosting(ListingMethod method);

    bool Running() const { return running_; }
    // The caption 按钮开始转存 shows: "开始转存", "停止转存" or "正在停止中..".
    const std::string& Caption() const { return caption_; }
    const std::string& ResultsFolderText() const { return resultsFolder_; }

    // How a worker gets the bytes of a download address: DownloadWithRetries
    // unless replaced. Tests route every address to a server of their own
    // with it. Called on worker threads.
    using Downloader = std::function<std::string(const std::string& address)>;
    void SetDownloader(Downloader downloader) { downloader_ = std::move(downloader); }

    // Called by a worker once its image is saved: the reference as written
    // will point to the saved relative path when the article is written.
    void RewriteReference(const std::string& reference, const std::string& savedRelativePath);

private:
    void Run(const RehostInputs& inputs, const std::vector<std::string>& articles);
    void RehostArticle(const std::string& path, class ArticleScanner& scanner);
    void RehostWorker(int row);
    void SetCaption(const std::string& caption);

    RehostView& view_;
    bool running_ = false;
    std::string caption_;

    // Fixed while a job runs; workers read them.
    std::string resultsFolder_;
    std::string imageFolder_;
    std::string newDomain_;
    std::string oldDomain_;
    // The queue of the current article; not changed while its workers run.
    std::vector<QueueEntry> entries_;
    ReferenceRewrites rewrites_;
    Downloader downloader_;
    // Last, so it goes first: its destructor waits for the workers, which
    // use the members above.
    DownloadJobState state_;
};

} // namespace tuji
