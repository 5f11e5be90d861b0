#include "collect/KeywordJob.h"

#include "FakeSearchService.h"
#include "app/Md5.h"
#include "app/Paths.h"
#include "app/Wait.h"
#include "fs/Files.h"
#include "support/TempFolder.h"
#include "text/Encoding.h"
#include "text/TextOps.h"

#include <QDir>
#include <QDirIterator>
#include <QTimer>
#include <gtest/gtest.h>

namespace tuji {
namespace {

using test::FakeSearchService;

struct Row {
    int icon;
    std::string state, address, title;
};

// The page without windows: what the job shows is recorded.
class FakeView : public KeywordView {
public:
    KeywordInputs inputs;
    SearchChoices choices{0, 0, T("全部颜色")};
    int threadIndex = 4;
    std::string caption = T("开始采集");
    std::vector<std::string> captions, columnTitles, messages;
    std::vector<Row> rows, cleared; // cleared: rows as they were when deleted
    bool addressOnlyEnabled = true;
    std::function<void(FakeView&)> onAppend;

    KeywordInputs Inputs() override { return inputs; }
    SearchChoices Choices() override { return choices; }
    int ThreadCountIndex() override { return threadIndex; }
    void SetStartCaption(const std::string& c) override {
        caption = c;
        captions.push_back(c);
    }
    void SetFirstColumnTitle(const std::string& t) override { columnTitles.push_back(t); }
    void SetAddressOnlyBoxEnabled(bool e) override { addressOnlyEnabled = e; }
    int RowCount() override { return int(rows.size()); }
    void ClearRows() override {
        cleared.insert(cleared.end(), rows.begin(), rows.end());
        rows.clear();
    }
    void AppendRow(int icon, const std::string& s, const std::string& a,
                   const std::string& t) override {
        rows.push_back({icon, s, a, t});
        if (onAppend) onAppend(*this);
    }
    void SetRowState(int row, int icon, const std::string& s) override {
        ASSERT_LT(row, int(rows.size())) << "update for a deleted row";
        rows[size_t(row)].icon = icon;
        rows[size_t(row)].state = s;
    }
    void ScrollToRow(int) override {}
    void ShowCompletion(const std::string& text) override { messages.push_back(text); }
};

class KeywordJobTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetWaitScale(0);
        ASSERT_TRUE(service.Start());
        view.inputs.searchService = service.BaseUrl();
        view.inputs.saveFolderText = tmp.path();
        view.inputs.maximumText = T("全部");
    }
    void TearDown() override { SetWaitScale(1); }

    std::string Message() const { return view.messages.empty() ? "" : view.messages.back(); }
    // Files below the folder, "/"-separated relative names.
    std::vector<std::string> FilesBelow(const std::string& folder) const {
        std::vector<std::string> out;
        QDir base(FsPath(folder));
        QDirIterator it(base.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            out.push_back(FromQString(base.relativeFilePath(it.next())));
        std::sort(out.begin(), out.end());
        return out;
    }
    std::string KeywordFolder(const char* keyword) const { return tmp.path() + "/" + T(keyword); }

    test::TempFolder tmp;
    FakeSearchService service;
    FakeView view;
    KeywordJob job{view};
};

TEST_F(KeywordJobTest, DownloadsEveryHitOfTwoKeywordsAndReportsTheCounts) {
    view.inputs.keywordList = T("猫|外星人");
    job.SetNamingMode(kNameAuto);
    job.OnStartClicked();
    EXPECT_EQ(Message(), T("处理完成，共 2 个关键词，成功下载 124 张图片"));
    EXPECT_EQ(FilesBelow(KeywordFolder("猫")).size(), 62u);
    EXPECT_EQ(FilesBelow(KeywordFolder("外星人")).size(), 62u);
    // Three pages with hits, then five without, for each keyword.
    std::vector<int> perKeyword{0, 30, 60, 90, 90, 90, 90, 90};
    std::vector<int> both = perKeyword;
    both.insert(both.end(), perKeyword.begin(), perKeyword.end());
    EXPECT_EQ(service.OffsetsAsked(), both);
    EXPECT_EQ(view.caption, T("开始采集"));
    EXPECT_EQ(view.columnTitles.front(), T("存放位置 (猫 第 1 页)"));
    EXPECT_EQ(view.columnTitles.back(), T("存放位置"));
    EXPECT_TRUE(view.rows.empty());
    for (const Row& r : view.cleared)
        EXPECT_EQ(r.icon, 0) << r.address << " " << r.state;
    EXPECT_NE(std::find(view.captions.begin(), view.captions.end(),
                        T("停止采集 (外星人 已采集 62 张图片)")),
              view.captions.end());
}

TEST_F(KeywordJobTest, NamingModesDecideTheFileNames) {
    struct Case {
        int mode;
        std::string firstFile; // program text
    } cases[] = {
        {kNameOriginal, "1-9-1024x361.png"},
        {kNameOriginalPath, "img/0/wp-files/2016/07/1-9-1024x361.png"},
        {kNameTitle, T("Mobike产品体验--魔都出行的另一种选择 ｜ 人人都是产品经理.png")},
        {kNameAuto, ShortHash(FakeSearchService::ImageBytes(0)) + ".png"},
    };
    view.inputs.maximumText = "1";
    view.inputs.keywordList = "a|b";
    for (const auto& c : cases) {
        std::string root = tmp.path() + "/mode" + NumberText(c.mode);
        view.inputs.saveFolderText = root;
        job.SetNamingMode(c.mode);
        job.OnStartClicked();
        EXPECT_EQ(Message(), T("处理完成，共 2 个关键词，成功下载 2 张图片"));
        for (const char* k : {"a", "b"}) {
            auto files = FilesBelow(root + "/" + k);
            ASSERT_EQ(files.size(), 1u) << c.mode;
            EXPECT_EQ(files[0], c.firstFile) << c.mode;
        }
    }
}

} // namespace
} // namespace tuji
