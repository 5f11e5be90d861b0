#pragma once

// The keyword collection job: for every keyword of the list, asks the search
// service page by page, lists each hit and either downloads the images into
// one folder per keyword or, in address-only mode, writes the addresses into
// one text file per keyword. It runs on the user-interface thread inside the
// start button's click and keeps processing window events; the page is a
// thin view over it (collect/ui/KeywordPage.h).

#include "collect/DownloadJob.h"
#include "collect/KeywordView.h"
#include "collect/SavePath.h"

#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tuji {

class HttpRequest;
class RegexObject;

// The keyword list split at "|" and line breaks; empty pieces between two
// separators stay, a separator at the end adds nothing.
std::vector<std::string> SplitKeywords(std::string_view list);

// The leading whole number of the text (blanks, a sign and full-width digits
// allowed), 0 when there is none; "全部" gives 0, meaning no maximum.
int ParseMaximum(std::string_view text);

// The box's folder when it is absolute, with a separator at its end; else the
// program folder's "关键词目录". Not created.
std::string KeywordSaveRoot(std::string_view folderText);
// ProgramFolder() + "/关键词目录", without a trailing separator.
std::string DefaultKeywordFolder();

// "处理完成，共 n 个关键词，成功下载 m 张图片" (or "成功保存 m 张图片地址").
std::string KeywordSummary(int keywords, bool addressOnly, int count);

class KeywordJob {
public:
    explicit KeywordJob(KeywordView& view);
    ~KeywordJob();
    KeywordJob(const KeywordJob&) = delete;
    KeywordJob& operator=(const KeywordJob&) = delete;

    // The start button: runs the job until it ends, or, while it runs, asks
    // it to stop (the caption becomes "正在停止..").
    void OnStartClicked();
    bool IsRunning() const { return running_; }

    // The naming mode workers use when they save; the page keeps it in step
    // with its radio buttons.
    void SetNamingMode(int mode) { namingMode_ = mode; }
    int NamingMode() const { return namingMode_; }

    DownloadJobState& State() { return state_; }

private:
    void Run();
    int RunKeyword(const std::string& keyword, const std::string& root, int maximum,
                   bool addressOnly);
    void StartDownloads(int lastRow);
    struct Hit {
        std::string address, title;
        std::string keyword; // whose folder the image belongs in
    };
    // The worker routine for one row, on a thread of its own.
    void KeywordDownload(int row, const Hit& hit);

    KeywordView& view_;
    std::unique_ptr<HttpRequest> request_; // the user-interface thread's own
    std::unique_ptr<RegexObject> regex_;   // lives for one job
    std::atomic<int> namingMode_{kNameTitle};
    SharedText currentKeyword_;
    bool running_ = false;
    std::string searchService_;
    int lastStartedRow_ = -1;
    std::vector<Hit> rows_; // what each listed row's worker needs
    long long totalSaved_ = 0;
    // Last, so it goes first: its destructor waits for the workers, which
    // use the members above.
    DownloadJobState state_;
};

} // namespace tuji
