#include "collect/KeywordJob.h"

#include "app/Paths.h"
#include "app/Wait.h"
#include "collect/ResultPaging.h"
#include "collect/SearchQuery.h"
#include "collect/SearchResults.h"
#include "regex/RegexObject.h"
#include "text/Chars.h"
#include "text/Encoding.h"
#include "text/TextOps.h"
#include "web/HttpRequest.h"

#include <QCoreApplication>
#include <QFile>
#include <climits>

namespace tuji {

namespace {

// Row state icons (the list view's pictures): done, failed, queued, downloading.
constexpr int kIconDone = 0;
constexpr int kIconFailed = 1;
constexpr int kIconQueued = 2;
constexpr int kIconDownloading = 3;

// Beyond this many rows the job lets every download finish before the next
// page, so that page can start with an empty list.
constexpr int kRowsBeforeDraining = 5000;

bool EndsWithSeparator(std::string_view path) {
    return EndsWithText(path, "/") || EndsWithText(path, "\\");
}

std::string FolderOf(std::string_view path) {
    std::string out(path);
    if (!EndsWithSeparator(out)) out += PathSeparator();
    return out;
}

// A full-width digit (GBK A3 B0 .. A3 B9) as its value, or -1.
int WideDigit(std::string_view text, size_t i) {
    if (i + 1 >= text.size() || static_cast<unsigned char>(text[i]) != 0xA3) return -1;
    int d = static_cast<unsigned char>(text[i + 1]) - 0xB0;
    return d >= 0 && d <= 9 ? d : -1;
}

} // namespace

std::vector<std::string> SplitKeywords(std::string_view list) {
    std::string text = ReplaceText(list, "|", "\r\n");
    return SplitText(text, "\r\n");
}

int ParseMaximum(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ' || text[i] == '\t') {
            ++i;
        } else if (text.substr(i, 2) == "\xA1\xA1") {
            i += 2;
        } else {
            break;
        }
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    } else if (text.substr(i, 2) == "\xA3\xAB" || text.substr(i, 2) == "\xA3\xAD") {
        negative = text.substr(i, 2) == "\xA3\xAD";
        i += 2;
    }
    long long value = 0;
    while (i < text.size()) {
        int d = -1;
        size_t n = 1;
        if (text[i] >= '0' && text[i] <= '9') {
            d = text[i] - '0';
        } else if ((d = WideDigit(text, i)) >= 0) {
            n = 2;
        } else {
            break;
        }
        value = std::min<long long>(value * 10 + d, INT_MAX);
        i += n;
    }
    return static_cast<int>(negative ? -value : value);
}

std::string DefaultKeywordFolder() {
    return JoinPath(ProgramFolder(), T("关键词目录"));
}

std::string KeywordSaveRoot(std::string_view folderText) {
    if (IsAbsolutePath(folderText)) return FolderOf(folderText);
    return FolderOf(DefaultKeywordFolder());
}

std::string KeywordSummary(int keywords, bool addressOnly, int count) {
    std::string text = T("处理完成，共 ") + NumberText(keywords) + T(" 个关键词，");
    if (addressOnly) return text + T("成功保存 ") + NumberText(count) + T(" 张图片地址");
    return text + T("成功下载 ") + NumberText(count) + T(" 张图片");
}

KeywordJob::KeywordJob(KeywordView& view) : view_(view) {
    state_.SetSlotLimitSource([this] { return SlotLimitFromIndex(view_.ThreadCountIndex()); });
}

KeywordJob::~KeywordJob() = default;

void KeywordJob::OnStartClicked() {
    if (running_) {
        view_.SetStartCaption(T("正在停止.."));
        state_.stopRequested = 1;
        return;
    }
    Run();
}

void KeywordJob::Run() {
    KeywordInputs inputs = view_.Inputs();
    std::vector<std::string> keywords = SplitKeywords(inputs.keywordList);
    if (keywords.empty()) return;

    running_ = true;
    view_.SetStartCaption(T("停止采集"));
    std::string root = KeywordSaveRoot(inputs.saveFolderText);
    state_.BeginJob(root);
    totalSaved_ = 0;
    long long totalListed = 0;
    CreateMissingFolders(root);
    int maximum = ParseMaximum(inputs.maximumText);
    searchService_ =
        inputs.searchService.empty() ? std::string(kDefaultSearchService) : inputs.searchService;
    if (!request_) request_ = std::make_unique<HttpRequest>();
    regex_ = std::make_unique<RegexObject>();
    PrepareTitleCleaner(*regex_);
    view_.SetAddressOnlyBoxEnabled(false);
    lastStartedRow_ = -1;

    for (size_t k = 0; k < keywords.size() && !state_.stopRequested; ++k) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        int taken = RunKeyword(keywords[k], root, maximum, inputs.addressOnly);
        totalListed += taken;
        if (k + 1 < keywords.size() && inputs.addressOnly)
            WaitWithEvents(4000, &state_.stopRequested);
    }

    state_.WaitForAllWorkers();
    totalSaved_ += state_.savedFiles.exchange(0);
    view_.SetAddressOnlyBoxEnabled(true);
    long long count = inputs.addressOnly ? totalListed : totalSaved_;
    view_.ShowCompletion(KeywordSummary(static_cast<int>(keywords.size()), inputs.addressOnly,
                                        static_cast<int>(std::min<long long>(count, INT_MAX))));
    view_.ClearRows();
    rows_.clear();
    view_.SetFirstColumnTitle(T("存放位置"));
    view_.SetStartCaption(T("开始采集"));
    regex_.reset();
    running_ = false;
}

int KeywordJob::RunKeyword(const std::string& keyword, const std::string& root, int maximum,
                           bool addressOnly) {
    currentKeyword_.Set(keyword);
    const std::string fileLabel = keyword + ".txt";
    QFile addressFile;
    if (addressOnly) {
        addressFile.setFileName(FsPath(root + FitFileName(SafePathSegment(keyword) + ".txt")));
        if (!addressFile.open(QIODevice::WriteOnly | QIODevice::Truncate)) addressFile.close();
    }
    // Workers may be adding to the count at this moment.
    totalSaved_ += state_.savedFiles.exchange(0);

    int taken = 0;
    PagingSteps steps;
    steps.fetchPage = [&](int offset) {
        view_.SetFirstColumnTitle(T("存放位置 (") + keyword + T(" 第 ") +
                                  NumberText(offset / kHitsPerPage + 1) + T(" 页)"));
        SearchChoices c = view_.Choices();
        std::string address = BuildSearchAddress(searchService_, keyword, c.typeIndex, c.colourItem,
                                                 c.sizeIndex, offset);
        return FetchResultPage(*request_, address);
    };
    steps.pageFetched = [&](int) {
        if (!state_.NoWorkerRunning()) return;
        lastStartedRow_ = -1;
        view_.ClearRows();
        rows_.clear();
    };
    steps.takeHit = [&](const std::string& hit) {
        Hit h{ItemImageAddress(hit), ItemTitle(hit, *regex_), keyword};
        if (addressOnly) {
            view_.AppendRow(kIconDone, fileLabel, h.address, h.title);
            if (addressFile.isOpen()) {
                std::string line = h.address + "\r\n";
                addressFile.write(line.data(), static_cast<qint64>(line.size()));
            }
        } else {
            view_.AppendRow(kIconQueued, T("下载排队中.."), h.address, h.title);
        }
        rows_.push_back(std::move(h));
        ++taken;
    };
    steps.pageDone = [&](int, int hitsOnPage) {
        if (hitsOnPage == 0) return;
        if (addressOnly) {
            if (!state_.stopRequested)
                view_.SetStartCaption(T("停止采集 (") + keyword + T(" 已保存 ") +
                                      NumberText(taken) + T(" 张图片地址)"));
            WaitWithEvents(2000, &state_.stopRequested);
        } else {
            StartDownloads(static_cast<int>(rows_.size()) - 1);
        }
    };
    RunResultPaging(steps, maximum, state_.stopRequested);
    return taken;
}

void KeywordJob::StartDownloads(int lastRow) {
    for (int row = lastStartedRow_ + 1; row <= lastRow; ++row) {
        if (state_.stopRequested) break;
        state_.WaitForFreeSlot();
        if (state_.stopRequested) break;
        // The worker gets its own copies: the row list grows meanwhile.
        Hit hit = rows_[size_t(row)];
        state_.StartWorker([this, hit](int r) { KeywordDownload(r, hit); }, row);
        lastStartedRow_ = row;
    }
    state_.WaitWhile([this] {
        int running = state_.runningWorkers.load();
        return running >= state_.SlotLimit() ||
               (static_cast<int>(rows_.size()) > kRowsBeforeDraining && running >= 1);
    });
}

// On a worker thread: everything it shows goes through PostToUi.
void KeywordJob::KeywordDownload(int row, const Hit& hit) {
    const std::string& address = hit.address;
    state_.PostToUi([this, row] {
        view_.SetRowState(row, kIconDownloading, T("正在下载中.."));
        view_.ScrollToRow(row);
    });
    std::string bytes = DownloadWithRetries(address);

    // The image goes into its own keyword's folder, also when it arrives
    // after the job has moved on; the caption follows the current keyword.
    std::string keywordFolder = SafePathSegment(hit.keyword);
    std::string folder = state_.saveFolder.Get();
    if (!keywordFolder.empty()) folder += keywordFolder + PathSeparator();
    std::string path = ChooseSavePath(folder, address, bytes, namingMode_.load(), hit.title);
    std::string shown = ReplaceText(path, folder, "");

    int icon = kIconDone;
    std::string state;
    if (IsFailedDownload(bytes)) {
        icon = kIconFailed;
        state = T("下载图片失败！") + shown;
    } else if (path.empty()) {
        state = T("存在相同图片！");
    } else {
        SaveResult saved = SaveImageNoReplace(path, bytes);
        shown = ReplaceText(saved.path, folder, "");
        if (saved.status == SaveStatus::Saved) {
            int n = state_.savedFiles.fetch_add(1) + 1;
            std::string caption = T("停止采集 (") + currentKeyword_.Get() + T(" 已采集 ") +
                                  NumberText(n) + T(" 张图片)");
            state_.PostToUi([this, caption] {
                // A stop request keeps its caption until the job ends.
                if (!state_.stopRequested && running_) view_.SetStartCaption(caption);
            });
            state = shown;
        } else if (saved.status == SaveStatus::AlreadyThere) {
            state = T("存在相同图片！");
        } else {
            icon = kIconFailed;
            state = shown;
        }
    }
    state_.PostToUi([this, row, icon, state] { view_.SetRowState(row, icon, state); });
}

} // namespace tuji
