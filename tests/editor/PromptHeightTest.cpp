#include "editor/PromptHeight.h"

#include "editor/NotesText.h"
#include "text/Encoding.h"
#include "text/TextOps.h"

#include <gtest/gtest.h>

using namespace tuji;

TEST(PromptHeight, RowsOfSixPixelCharactersTwelvePixelsHigh) {
    const struct {
        std::string prompt;
        int width;
        int height;
    } cases[] = {
        // 57 bytes at 50 characters a row: two rows.
        {T("请输入关键词列表，一行一个（同时支持使用|隔开多个关键词）"), 300, 24},
        {std::string(70, 'a') + "\r\n", 390, 36}, // 70 bytes at 65 a row + an empty line
        {"", 300, 12},                            // an empty prompt still takes a row
        {std::string(50, 'a'), 300, 12},          // exactly full
        {std::string(51, 'a'), 300, 24},
        {"a\r\n\r\nb", 300, 36},
        {"abc", 5, 36}, // narrower than a character: one a row, not endless
        {"abc", 0, 36},
        {"abc", -20, 36},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PromptHeight(c.prompt, c.width), c.height) << c.prompt.size() << "@" << c.width;
}

TEST(PromptHeight, BareLineFeedsDoNotSplitLines) {
    EXPECT_EQ(PromptHeight(std::string(30, 'a') + "\n" + std::string(30, 'a'), 300), 24);
}

TEST(EditorTexts, PromptAndTitleDefaults) {
    EXPECT_EQ(EditorPrompt(std::nullopt, false), "");
    EXPECT_EQ(EditorPrompt(std::nullopt, true), "");
    EXPECT_EQ(EditorPrompt(std::string(), false), T("请输入数据："));
    EXPECT_EQ(EditorPrompt(std::string(), true), T("以下为信息详情："));
    EXPECT_EQ(EditorPrompt(T("提示"), true), T("提示"));
    EXPECT_EQ(EditorTitle(""), T("岚舟："));
    EXPECT_EQ(EditorTitle(T("疑点说明")), T("疑点说明"));
}

TEST(Notes, FourSectionsWithCrLfLines) {
    const std::string notes = NotesText();
    const std::string dashes(17, '-');
    const char* headings[] = {"软件介绍", "【关键词采集图片】", "【修改图片】", "【转存图片】"};
    int previous = 0;
    for (const char* heading : headings) {
        const int at = FindText(notes, dashes + T(heading) + dashes + "\r\n");
        EXPECT_GT(at, previous) << heading;
        previous = at;
    }
    EXPECT_TRUE(ContainsText(notes, T("每个关键词一般能采1500张左右的图片。")));
    EXPECT_TRUE(ContainsText(notes, T("5、下载整站图片（后续版本考虑增加）")));
    for (const char* sub : {"【保存目录】", "【相对旧域】", "【相对新域】", "【排除地址范围】"})
        EXPECT_TRUE(ContainsText(notes, T(sub))) << sub;
    EXPECT_EQ(ReplaceText(notes, "\r\n", "").find_first_of("\r\n"), std::string::npos);
    EXPECT_GT(notes.size(), 2000u);
    EXPECT_LT(notes.size(), 3200u);
}
