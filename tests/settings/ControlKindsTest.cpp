#include "settings/ControlKinds.h"

#include "text/Encoding.h"

#include <gtest/gtest.h>

namespace tuji {
namespace {

TEST(ControlKinds, TheKindWordOpensTheName) {
    const std::vector<std::pair<const char*, ControlKind>> cases = {
        {"按钮开始采集", ControlKind::Button},
        {"按钮", ControlKind::Button},
        {"编辑框保存目录", ControlKind::EditBox},
        {"选择框仅保存图片地址", ControlKind::CheckBox},
        {"单选框自动命名", ControlKind::RadioButton},
        {"组合框线程数", ControlKind::ComboBox},
        {"列表框文件", ControlKind::ListBox},
        {"选择列表框文件", ControlKind::CheckedListBox},
        {"颜色选择器文字水印背景色", ControlKind::ColourPicker},
        {"标签10", ControlKind::None},
        {"图片框", ControlKind::None},
        {"保存按钮", ControlKind::None}, // the word must stand at the start
        {"编辑", ControlKind::None},
        {"", ControlKind::None},
        {"qt_scrollarea_viewport", ControlKind::None},
    };
    for (const auto& [name, kind] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(KindOfControlName(T(name)), kind);
    }
}

TEST(ControlKinds, ItemListsAndIndicesRoundTrip) {
    const std::vector<std::vector<std::string>> lists = {
        {"a", "b"}, {""}, {"", ""}, {T("第一"), "two\r\nlines", ""}};
    for (const auto& items : lists)
        EXPECT_EQ(ItemListFromBytes(ItemListBytes(items)), items);
    EXPECT_EQ(ItemListBytes({}), "");
    EXPECT_EQ(ItemListBytes({"a", "b"}), "a\r\nb\r\n");
    EXPECT_EQ(JoinIndices({0, 2, 5}), "0,2,5");
    EXPECT_EQ(SplitIndices("0,2, 5,,x,-1"), (std::vector<int>{0, 2, 5, -1}));
    EXPECT_TRUE(SplitIndices("").empty());
}

} // namespace
} // namespace tuji
