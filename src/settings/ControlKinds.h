#pragma once

// The kind word at the start of a control's name decides how the store keeps
// the control: the forms name every control after its kind
// ("编辑框保存目录", "组合框线程数").

#include <string>
#include <string_view>
#include <vector>

namespace tuji {

enum class ControlKind {
    None,
    Button,         // "按钮": its tag, key name + ".标记"
    EditBox,        // "编辑框": its content
    CheckBox,       // "选择框": checked
    RadioButton,    // "单选框": checked
    ComboBox,       // "组合框": current index (".列表", ".内容" on request)
    ListBox,        // "列表框": items (side file), ".选中"
    CheckedListBox, // "选择列表框": items (side file), ".选中", ".打勾"
    ColourPicker,   // "颜色选择器": its colour
};

// The kind words are tried in a fixed order on the first bytes of the name.
ControlKind KindOfControlName(std::string_view name);

// The tag that sends a button's tag or an edit box's content to a side file.
const std::string& SideFileTag(); // "字节集方式"

// Item lists in their side files: every item as program text followed by
// CR LF, a line break inside an item written as "┊*┊". An empty list is no
// bytes at all (and so reads back as the caller's default).
std::string ItemListBytes(const std::vector<std::string>& items);
std::vector<std::string> ItemListFromBytes(std::string_view bytes);

// Indices joined with "," ("0,2,5"), and back; pieces that are no number are skipped.
std::string JoinIndices(const std::vector<int>& indices);
std::vector<int> SplitIndices(std::string_view text);

} // namespace tuji
