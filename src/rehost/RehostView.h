#pragma once

// What the re-hosting job needs from its page. The page implements it over
// its controls; tests implement it without windows. Every call comes on
// the user-interface thread: worker updates are handed over first.

#include "rehost/ArticleQueue.h"

#include <string>

namespace tuji {

// The page's inputs, read when a job starts (program text).
struct RehostInputs {
    std::string articleFolder; // 编辑框文章目录
    std::string filter;        // 编辑框过滤
    std::string imageFolder;   // 编辑框图片存放目录 (locked while running)
    std::string oldDomain;     // 编辑框相对旧域 (locked)
    std::string newDomain;     // 编辑框相对新域 (locked)
    std::string excluded;      // 编辑框排除地址 (locked)
};

class RehostView {
public:
    virtual ~RehostView() = default;

    virtual RehostInputs Inputs() = 0;
    // The chosen item of 组合框线程数 (0-based), read anew at every check.
    virtual int ThreadCountIndex() = 0;

    virtual void SetStartCaption(const std::string& caption) = 0;
    // Running: the progress bar and its label shown over the first row of
    // inputs, the four locked boxes disabled, the bar's maximum set.
    virtual void SetRunning(bool running, int articleCount) = 0;
    virtual void SetProgress(int position, const std::string& line) = 0;

    virtual void ClearRows() = 0;
    virtual void AddRow(const QueueEntry& entry, int icon, const std::string& status) = 0;
    virtual void SetRow(int row, int icon, const std::string& status) = 0;
    virtual void ScrollToRow(int row) = 0;

    // The platform's plain message box: no icon, caption "信息：", modal to
    // the application. The question has Yes and No and says whether Yes
    // was chosen.
    virtual void ShowPlainMessage(const std::string& text) = 0;
    virtual bool AskPlainQuestion(const std::string& text) = 0;
    virtual void OpenFolder(const std::string& folder) = 0;
};

} // namespace tuji
