#include "rehost/RehostJob.h"

#include "app/Md5.h"
#include "app/Paths.h"
#include "fs/AtomicWrite.h"
#include "fs/Files.h"
#include "fs/FolderListing.h"
#include "rehost/ReferenceRules.h"
#include "rehost/RehostPaths.h"
#include "rehost/ScanArticle.h"
#include "text/Encoding.h"
#include "text/TextOps.h"

#include <QCoreApplication>

namespace tuji {

namespace {

std::string IdleCaption() {
    return T("开始转存");
}

// An existing file under a content name is the same image: files only ever
// appear complete under their final name, so it can be trusted.
bool SaveImage(const std::string& path, const std::string& bytes) {
    if (PathIsFile(path)) return true;
    CreateMissingFolders(path);
    switch (WriteFileAtomic(path, bytes, ReplaceMode::Keep)) {
    case AtomicWriteResult::Written:
        return true;
    case AtomicWriteResult::NameTaken: // another worker saved the same content
        return PathIsFile(path);
    case AtomicWriteResult::Failed:
        break;
    }
    return false;
}

} // namespace

std::vector<std::string> ListArticles(std::string_view articleFolder, std::string_view filter,
                                      ListingMethod method) {
    std::vector<std::string> articles;
    if (method == ListingMethod::Walk)
        ListFolderEntries(articleFolder, filter, articles, false, false);
    else
        SearchFolderEntries(articleFolder, filter, articles, false, false);
    return articles;
}

RehostJob::RehostJob(RehostView& view) : view_(view), caption_(IdleCaption()) {
    state_.SetSlotLimitSource([this] { return SlotLimitFromIndex(view_.ThreadCountIndex()); });
}

RehostJob::~RehostJob() = default;

void RehostJob::SetCaption(const std::string& caption) {
    caption_ = caption;
    view_.SetStartCaption(caption_);
}

void RehostJob::StartOrStopRehosting(ListingMethod method) {
    if (running_) {
        SetCaption(T("正在停止中.."));
        state_.stopRequested = 1;
        return;
    }
    RehostInputs inputs = view_.Inputs();
    std::vector<std::string> articles = ListArticles(inputs.articleFolder, inputs.filter, method);
    if (articles.empty()) {
        view_.ShowPlainMessage(T("在这个目录下‘") + inputs.articleFolder + T("’找不到‘") +
                               inputs.filter + T("’类型的文件！"));
        return;
    }
    std::string problem = ImageFolderProblem(inputs.imageFolder);
    if (!problem.empty()) {
        view_.ShowPlainMessage(problem);
        return;
    }
    Run(inputs, articles);
}

void RehostJob::Run(const RehostInputs& inputs, const std::vector<std::string>& articles) {
    running_ = true;
    SetCaption(T("停止转存"));
    const int n = static_cast<int>(articles.size());
    view_.SetRunning(true, n);

    imageFolder_ = inputs.imageFolder;
    oldDomain_ = inputs.oldDomain;
    newDomain_ = inputs.newDomain;
    resultsFolder_ = ResultsFolder(inputs.articleFolder);
    CreateMissingFolders(resultsFolder_);
    state_.BeginJob(resultsFolder_);
    ArticleScanner scanner(inputs.excluded);

    for (int i = 1; i <= n; ++i) {
        if (state_.stopRequested) break;
        const std::string& path = articles[static_cast<size_t>(i - 1)];
        view_.SetProgress(i, "(" + NumberText(n) + ":" + NumberText(i) + ")" +
                                 PathBaseName(path, PathForm::File));
        RehostArticle(path, scanner);
    }

    view_.SetRunning(false, n);
    SetCaption(IdleCaption());
    view_.ClearRows();
    entries_.clear();
    running_ = false;
    if (view_.AskPlainQuestion(T("转存完成。转存结果保存在这个目录：") + resultsFolder_ +
                               T("\r\n\r\n请问是否打开它？")))
        view_.OpenFolder(resultsFolder_);
}

void RehostJob::RehostArticle(const std::string& path, ArticleScanner& scanner) {
    // Bytes as they are, in whatever encoding: only the references are
    // replaced, everything else is written back untouched (also what follows
    // a zero byte, which the scan does not read).
    std::string article = ReadFileBytes(path);
    ArticleQueue queue = scanner.ScanArticle(TextBeforeZero(article), oldDomain_);

    view_.ClearRows();
    entries_ = std::move(queue.entries);
    for (const QueueEntry& entry : entries_) {
        view_.AddRow(entry, kIconQueued, T("队列中.."));
        QCoreApplication::processEvents();
    }

    rewrites_.Clear();
    if (!entries_.empty()) {
        // Made here, once, before the workers: workers creating the same
        // folders at the same moment would trip over each other.
        CreateMissingFolders(resultsFolder_ + SavedRelativePath(imageFolder_, "x"));
        state_.StartThenWait(0, static_cast<int>(entries_.size()) - 1,
                             [this](int row) { RehostWorker(row); });
    }
    state_.WaitForAllWorkers();

    WriteFileAtomic(resultsFolder_ + PathFileName(path, PathForm::File), rewrites_.ApplyTo(article),
                    ReplaceMode::Replace);
}

void RehostJob::RehostWorker(int row) {
    const QueueEntry& entry = entries_[static_cast<size_t>(row)];
    state_.PostToUi([this, row, status = T("正在下载到 ") + imageFolder_] {
        view_.ScrollToRow(row);
        view_.SetRow(row, kIconDownloading, status);
    });

    const std::string address = AddressForFetch(entry.downloadAddress);
    std::string bytes = downloader_ ? downloader_(address) : DownloadWithRetries(address);
    if (IsFailedDownload(bytes)) {
        state_.PostToUi([this, row] { view_.SetRow(row, kIconFailed, T("下载失败 ")); });
        return;
    }

    std::string relative = SavedRelativePath(
        imageFolder_, ShortHash(bytes) + "." + ImageExtension(entry.downloadAddress));
    if (!SaveImage(resultsFolder_ + relative, bytes)) {
        // The reference keeps pointing to the original rather than to a
        // file that is not there.
        state_.PostToUi([this, row, status = T("保存失败 ") + relative] {
            view_.SetRow(row, kIconFailed, status);
        });
        return;
    }
    state_.PostToUi([this, row, relative] { view_.SetRow(row, kIconSaved, relative); });
    RewriteReference(entry.reference, relative);
}

void RehostJob::RewriteReference(const std::string& reference,
                                 const std::string& savedRelativePath) {
    rewrites_.Add(reference, NewImageAddress(savedRelativePath, newDomain_));
}

} // namespace tuji
