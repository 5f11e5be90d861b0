#pragma once

// How the text-list editor sizes its prompt box: 6 pixels per character
// (byte) and 12 pixels per row, each CR LF line taking at least one row.

#include <optional>
#include <string>
#include <string_view>

namespace tuji {

// Height in pixels of `prompt` (program text) in a box `width` pixels wide.
// A box narrower than one character still fits one character per row.
int PromptHeight(std::string_view prompt, int width);

// The prompt the editor shows: none given -> empty; an empty one -> the
// mode's default ("请输入数据：" or "以下为信息详情："); else the given one.
std::string EditorPrompt(const std::optional<std::string>& prompt, bool detailsMode);

// The editor's caption: the given title, or "岚舟：" when it is empty.
std::string EditorTitle(const std::string& title);

} // namespace tuji
