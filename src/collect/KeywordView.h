#pragma once

// What the keyword collection job needs from its page. The page implements
// it over its controls; tests implement it without windows. Every call comes
// on the user-interface thread: worker updates are handed over first.

#include <string>

namespace tuji {

// The page's inputs read when a job starts (program text).
struct KeywordInputs {
    std::string keywordList;    // 编辑框关键词列表
    std::string saveFolderText; // 编辑框保存目录
    std::string maximumText;    // 编辑框最多图片数
    bool addressOnly = false;   // 选择框仅保存图片地址
    std::string searchService;  // settings "主界面" / "搜索服务"
};

// The choices read anew for every result page.
struct SearchChoices {
    int sizeIndex = 0;      // 组合框尺寸
    int typeIndex = 0;      // 组合框类型
    std::string colourItem; // 组合框颜色, the chosen item's text
};

class KeywordView {
public:
    virtual ~KeywordView() = default;

    virtual KeywordInputs Inputs() = 0;
    virtual SearchChoices Choices() = 0;
    // The chosen item of 组合框线程数 (0-based), read anew at every check.
    virtual int ThreadCountIndex() = 0;

    virtual void SetStartCaption(const std::string& caption) = 0;
    virtual void SetFirstColumnTitle(const std::string& title) = 0;
    virtual void SetAddressOnlyBoxEnabled(bool enabled) = 0;

    virtual int RowCount() = 0;
    virtual void ClearRows() = 0;
    virtual void AppendRow(int icon, const std::string& state, const std::string& address,
                           const std::string& title) = 0;
    virtual void SetRowState(int row, int icon, const std::string& state) = 0;
    virtual void ScrollToRow(int row) = 0;

    // ShowMessage (style 0, default title).
    virtual void ShowCompletion(const std::string& text) = 0;
};

} // namespace tuji
