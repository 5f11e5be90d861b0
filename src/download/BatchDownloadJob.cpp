#include "download/BatchDownloadJob.h"

#include "app/Paths.h"
#include "collect/SavePath.h"
#include "download/AddressList.h"
#include "fs/Files.h"
#include "text/Encoding.h"
#include "text/TextOps.h"

#include <QCoreApplication>

namespace tuji {

std::string BatchDownloadSummary(const BatchDownloadResult& result) {
    return T("处理完成，共 ") + NumberText(result.addresses) + T(" 个地址，成功下载 ") +
           NumberText(result.saved) + T(" 个");
}

std::string DefaultBatchFolder() {
    return JoinPath(ProgramFolder(), T("图片目录"));
}

std::string BatchSaveFolder(std::string_view folderText) {
    std::string folder = PathIsFolder(folderText) ? std::string(folderText) : DefaultBatchFolder();
    // A typed "\" counts as a separator, so "D:\x\" already ends with one.
    if (!EndsWithText(folder, PathSeparator()) && !EndsWithText(folder, "\\"))
        folder += PathSeparator();
    return folder;
}

void BatchDownloadWorker(const std::vector<std::string>& lines, int i, DownloadJobState& state,
                         const std::atomic<int>& namingMode) {
    if (i < 1 || size_t(i) > lines.size()) return;
    std::string address = AddressOfLine(lines[size_t(i) - 1]);
    // No retry can turn a non-address into an image: it fails at once.
    if (!IsWebAddress(address)) return;
    std::string bytes = DownloadWithRetries(address);
    if (IsFailedDownload(bytes)) return;
    std::string path = ChooseSavePath(state.saveFolder.Get(), address, bytes, namingMode.load());
    if (path.empty()) return; // the same image is already there
    if (SaveImageNoReplace(std::move(path), bytes).status == SaveStatus::Saved)
        state.savedFiles.fetch_add(1);
}

std::optional<BatchDownloadResult>
BatchDownloadJob::Run(std::string_view listText, std::string_view folderText, const Hooks& hooks) {
    // Workers get the list through their own reference: it stays fixed for
    // them even when the next job has started.
    auto lines = std::make_shared<const std::vector<std::string>>(SplitAddressList(listText));
    if (lines->empty()) return std::nullopt;
    const int n = int(lines->size());

    running_ = true;
    std::string folder = BatchSaveFolder(folderText);
    CreateMissingFolders(folder);
    state_.BeginJob(folder);
    if (hooks.started) hooks.started(n);

    auto routine = [this, lines](int i) { BatchDownloadWorker(*lines, i, state_, namingMode_); };
    auto beforeStart = [&](int i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (hooks.progress) hooks.progress(n, i, (*lines)[size_t(i) - 1]);
    };
    state_.StartThenWait(1, n, routine, beforeStart);
    state_.WaitForAllWorkers();

    running_ = false;
    return BatchDownloadResult{n, state_.savedFiles.load()};
}

} // namespace tuji
