#include "editor/PromptHeight.h"

#include "text/Encoding.h"
#include "text/TextOps.h"

#include <algorithm>

namespace tuji {

int PromptHeight(std::string_view prompt, int width) {
    // Below 6 pixels the row would hold no character and every line would
    // need endless rows; one character per row keeps the box finite.
    const long long perRow = std::max(1, width / 6);
    long long rows = 0;
    std::vector<std::string> lines = SplitText(prompt, "\r\n");
    // The splitter drops the empty piece after a final CR LF and gives no
    // piece for an empty prompt; both are lines that take a row.
    if (prompt.empty() || EndsWithText(prompt, "\r\n")) lines.emplace_back();
    for (const auto& line : lines) {
        const long long length = static_cast<long long>(line.size());
        rows += std::max(1LL, (length + perRow - 1) / perRow);
    }
    return int(std::min<long long>(12 * rows, 1 << 30));
}

std::string EditorPrompt(const std::optional<std::string>& prompt, bool detailsMode) {
    if (!prompt) return {};
    if (prompt->empty()) return detailsMode ? T("以下为信息详情：") : T("请输入数据：");
    return *prompt;
}

std::string EditorTitle(const std::string& title) {
    return title.empty() ? T("岚舟：") : title;
}

} // namespace tuji
