#include "settings/ControlKinds.h"

#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"
#include "text/Encoding.h"
#include "text/TextOps.h"

#include <utility>

namespace tuji {

ControlKind KindOfControlName(std::string_view name) {
    static const std::vector<std::pair<std::string, ControlKind>> words = {
        {T("按钮"), ControlKind::Button},
        {T("编辑框"), ControlKind::EditBox},
        {T("选择框"), ControlKind::CheckBox},
        {T("单选框"), ControlKind::RadioButton},
        {T("组合框"), ControlKind::ComboBox},
        {T("列表框"), ControlKind::ListBox},
        {T("选择列表框"), ControlKind::CheckedListBox},
        {T("颜色选择器"), ControlKind::ColourPicker},
    };
    for (const auto& [word, kind] : words)
        if (StartsWithText(name, word)) return kind;
    return ControlKind::None;
}

const std::string& SideFileTag() {
    static const std::string tag = T("字节集方式");
    return tag;
}

std::string ItemListBytes(const std::vector<std::string>& items) {
    std::string bytes;
    for (const std::string& item : items) {
        bytes += EncodeSettingsText(item);
        bytes += kCrLf;
    }
    return bytes;
}

std::vector<std::string> ItemListFromBytes(std::string_view bytes) {
    std::vector<std::string> items;
    for (const std::string& line : SplitText(bytes, kCrLf))
        items.push_back(DecodeSettingsText(line));
    return items;
}

std::string JoinIndices(const std::vector<int>& indices) {
    std::vector<std::string> pieces;
    for (int i : indices)
        pieces.push_back(NumberText(i));
    return JoinText(pieces, ",");
}

std::vector<int> SplitIndices(std::string_view text) {
    std::vector<int> indices;
    for (const std::string& piece : SplitText(text, ",")) {
        std::string trimmed = TrimSpaces(piece);
        if (trimmed.empty() || (trimmed[0] != '-' && (trimmed[0] < '0' || trimmed[0] > '9')))
            continue;
        indices.push_back(int(TextNumber(trimmed)));
    }
    return indices;
}

} // namespace tuji
