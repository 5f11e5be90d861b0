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
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

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
    std::vector<size_t> clearedSizes;
    std::vector<bool> addressOnlyLog;
    std::function<void(FakeView&)> onAppend;

    KeywordInputs Inputs() override { return inputs; }
    SearchChoices Choices() override { return choices; }
    int ThreadCountIndex() override { return threadIndex; }
    void SetStartCaption(const std::string& c) override {
        caption = c;
        captions.push_back(c);
    }
    void SetFirstColumnTitle(const std::string& t) override { columnTitles.push_back(t); }
    void SetAddressOnlyBoxEnabled(bool e) override { addressOnlyLog.push_back(e); }
    int RowCount() override { return int(rows.size()); }
    void ClearRows() override {
        clearedSizes.push_back(rows.size());
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

TEST_F(KeywordJobTest, AddressOnlyWritesOneFilePerKeyword) {
    view.inputs.keywordList = "a|b";
    view.inputs.addressOnly = true;
    job.OnStartClicked();
    EXPECT_EQ(Message(), T("处理完成，共 2 个关键词，成功保存 124 张图片地址"));
    std::string expected;
    for (const std::string& hit : service.RecordedHits()) {
        size_t i = hit.find("\"img\":\"") + 7;
        expected +=
            ReplaceText(hit.substr(i, hit.find('"', i) - i), "BASE", service.BaseUrl()) + "\r\n";
    }
    EXPECT_EQ(ReadFileBytes(tmp.file("a.txt")), expected);
    EXPECT_EQ(ReadFileBytes(tmp.file("b.txt")), expected);
    EXPECT_TRUE(FilesBelow(KeywordFolder("a")).empty());
    // No downloads: the list shows only the current page, each row done.
    ASSERT_FALSE(view.cleared.empty());
    EXPECT_EQ(view.cleared.front().state, "a.txt");
    EXPECT_EQ(view.cleared.front().icon, 0);
    EXPECT_EQ(view.addressOnlyLog, (std::vector<bool>{false, true}));
    EXPECT_NE(std::find(view.captions.begin(), view.captions.end(),
                        T("停止采集 (b 已保存 62 张图片地址)")),
              view.captions.end());
}

TEST_F(KeywordJobTest, MaximumListsExactlyThatManyHitsPerKeyword) {
    view.inputs.keywordList = "a|b";
    view.inputs.addressOnly = true;
    view.inputs.maximumText = "25";
    job.OnStartClicked();
    EXPECT_EQ(Message(), T("处理完成，共 2 个关键词，成功保存 50 张图片地址"));
    EXPECT_EQ(service.OffsetsAsked(), (std::vector<int>{0, 0}));
    EXPECT_EQ(SplitText(ReadFileBytes(tmp.file("a.txt")), "\r\n").size(), 25u);
}

TEST(KeywordJobInputs, MaximumText) {
    EXPECT_EQ(ParseMaximum(T("全部")), 0);
    EXPECT_EQ(ParseMaximum("25"), 25);
    EXPECT_EQ(ParseMaximum(T("　 ２５张")), 25);
    EXPECT_EQ(ParseMaximum("-3"), -3);
    EXPECT_EQ(ParseMaximum("x1"), 0);
}

TEST(KeywordJobInputs, KeywordListsAndSaveRoots) {
    EXPECT_EQ(SplitKeywords(T("猫|外星人")).size(), 2u);
    EXPECT_EQ(SplitKeywords(T("猫||狗")), (std::vector<std::string>{T("猫"), "", T("狗")}));
    EXPECT_EQ(SplitKeywords(T("猫|")).size(), 1u);
    EXPECT_EQ(SplitKeywords("a\r\nb|c").size(), 3u);
    EXPECT_TRUE(SplitKeywords("").empty());
    std::string fallback = DefaultKeywordFolder() + "/";
    EXPECT_EQ(KeywordSaveRoot(T("若没有指定目录，将保存到软件目录下的“关键词目录”")), fallback);
    EXPECT_EQ(KeywordSaveRoot("pics"), fallback);
    EXPECT_EQ(KeywordSaveRoot("/data/pics"), "/data/pics/");
    EXPECT_EQ(KeywordSaveRoot("/data/pics/"), "/data/pics/");
}

TEST_F(KeywordJobTest, AnEmptyKeywordListDoesNothing) {
    view.inputs.keywordList = "";
    job.OnStartClicked();
    EXPECT_TRUE(view.captions.empty());
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(service.Server().RequestCount(), 0u);
}

TEST_F(KeywordJobTest, FailedDownloadsAndIdenticalImagesShowInTheirRows) {
    std::string image = service.BaseUrl() + "/img/0/wp-files/2016/07/1-9-1024x361.png";
    service.SetHits("k",
                    {FakeSearchService::Hit(service.ErrorPageUrl(), "err"),
                     FakeSearchService::Hit(service.EmptyBodyUrl(), "empty"),
                     FakeSearchService::Hit(image, "same"), FakeSearchService::Hit(image, "same")});
    view.inputs.keywordList = "k";
    view.threadIndex = 0; // one after the other, so the second copy sees the first
    job.OnStartClicked();
    EXPECT_EQ(Message(), T("处理完成，共 1 个关键词，成功下载 1 张图片"));
    ASSERT_EQ(view.cleared.size(), 4u);
    EXPECT_EQ(view.cleared[0].icon, 1);
    EXPECT_EQ(view.cleared[0].state, T("下载图片失败！err.jpg"));
    EXPECT_EQ(view.cleared[1].icon, 1);
    EXPECT_EQ(view.cleared[1].state, T("下载图片失败！empty.jpg"));
    EXPECT_EQ(view.cleared[2].icon, 0);
    EXPECT_EQ(view.cleared[2].state, "same.png");
    EXPECT_EQ(view.cleared[3].icon, 0);
    EXPECT_EQ(view.cleared[3].state, T("存在相同图片！"));
    EXPECT_EQ(FilesBelow(KeywordFolder("k")), (std::vector<std::string>{"same.png"}));
    // The empty body was asked for twice, the error page twice too.
    int emptyAsked = 0;
    for (const auto& r : service.Server().Requests())
        emptyAsked += r.path == "/empty.jpg";
    EXPECT_EQ(emptyAsked, 2);
}

TEST_F(KeywordJobTest, StopDuringTheFirstPageStartsNothingMoreAndCountsEveryKeyword) {
    view.inputs.keywordList = "a|b|c";
    view.threadIndex = 1;
    // The second click arrives while the first page is being listed.
    view.onAppend = [this](FakeView& v) {
        if (v.rows.size() == 3) job.OnStartClicked();
    };
    job.OnStartClicked();
    EXPECT_EQ(view.messages.size(), 1u);
    EXPECT_TRUE(StartsWithText(Message(), T("处理完成，共 3 个关键词，成功下载 ")));
    EXPECT_EQ(service.OffsetsAsked(), (std::vector<int>{0}));
    // Stopped during the scan: three rows, none of them started.
    EXPECT_EQ(view.cleared.size(), 3u);
    EXPECT_NE(std::find(view.captions.begin(), view.captions.end(), T("正在停止..")),
              view.captions.end());
    EXPECT_EQ(view.caption, T("开始采集"));
    EXPECT_EQ(job.State().runningWorkers.load(), 0);
}

TEST_F(KeywordJobTest, AServiceWithoutAnswersGivesFiveEmptyPagesOfThreeAttempts) {
    service.Server().Serve("/busy/j", test::ServedResponse::Text("<html>busy</html>"));
    view.inputs.searchService = service.BaseUrl() + "/busy/";
    view.inputs.keywordList = "k";
    job.OnStartClicked();
    EXPECT_EQ(Message(), T("处理完成，共 1 个关键词，成功下载 0 张图片"));
    EXPECT_EQ(service.Server().RequestCount(), 15u);
    for (const auto& r : service.Server().Requests())
        EXPECT_EQ(r.query.at("sn"), "0");
}

TEST_F(KeywordJobTest, TitlesOfTheRecordedAnswerAreClean) {
    view.inputs.keywordList = "k";
    view.inputs.addressOnly = true;
    job.OnStartClicked();
    ASSERT_EQ(view.cleared.size(), 62u);
    int highlighted = 0;
    for (const Row& r : view.cleared) {
        EXPECT_FALSE(ContainsText(r.title, "<")) << r.title;
        EXPECT_FALSE(ContainsText(r.title, "\\u")) << r.title;
        highlighted += ContainsText(r.title, "mobike", Case::Ignore);
    }
    EXPECT_GT(highlighted, 3);
    bool quoted = false;
    for (const Row& r : view.cleared)
        quoted = quoted || ContainsText(r.title, T("“"));
    EXPECT_TRUE(quoted); // from \u201c
}

TEST_F(KeywordJobTest, BeyondFiveThousandRowsTheNextPageStartsWithAnEmptyList) {
    // The first image is held back, so a worker runs at every page start
    // and the list is never cleared; past 5000 rows the job lets every
    // download finish (the image comes once the job waits), and the next
    // page starts with an empty list.
    std::atomic<bool> released{false};
    service.Server().On("/held.png", [&](const test::SeenRequest&) {
        for (int i = 0; i < 30000 && !released; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return test::ServedResponse::Bytes("held", "image/png");
    });
    service.Server().Serve("/fast.png", test::ServedResponse::Bytes("fast", "image/png"));
    std::vector<std::string> hits(5040,
                                  FakeSearchService::Hit(service.BaseUrl() + "/fast.png", "s"));
    hits[0] = FakeSearchService::Hit(service.BaseUrl() + "/held.png", "h");
    service.SetHits("many", hits);
    view.inputs.keywordList = "many";
    view.threadIndex = 9;
    view.onAppend = [&](FakeView& v) {
        if (v.rows.size() == 5010) QTimer::singleShot(200, [&] { released = true; });
    };
    job.SetNamingMode(kNameAuto);
    job.OnStartClicked();
    ASSERT_GE(view.clearedSizes.size(), 2u);
    EXPECT_EQ(view.clearedSizes[0], 0u);    // before the first page
    EXPECT_EQ(view.clearedSizes[1], 5010u); // 167 pages, then the drain
    EXPECT_EQ(Message(), T("处理完成，共 1 个关键词，成功下载 2 张图片"));
}

TEST_F(KeywordJobTest, ALateImageGoesToItsOwnKeywordAndCountsUnderTheCurrentOne) {
    // The image of "a" is held until "b" lists its hit, so it is saved while
    // "b" is the current keyword: into a's folder all the same, counted in
    // b's caption and in the total.
    std::atomic<bool> released{false};
    service.Server().On("/late.png", [&](const test::SeenRequest&) {
        for (int i = 0; i < 30000 && !released; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return test::ServedResponse::Bytes("late", "image/png");
    });
    service.Server().Serve("/soon.png", test::ServedResponse::Bytes("soon", "image/png"));
    service.SetHits("a", {FakeSearchService::Hit(service.BaseUrl() + "/late.png", "l")});
    service.SetHits("b", {FakeSearchService::Hit(service.BaseUrl() + "/soon.png", "s")});
    view.inputs.keywordList = "a|b";
    view.onAppend = [&](FakeView& v) {
        if (v.rows.size() == 2) released = true;
    };
    job.SetNamingMode(kNameOriginal);
    job.OnStartClicked();
    EXPECT_EQ(Message(), T("处理完成，共 2 个关键词，成功下载 2 张图片"));
    EXPECT_EQ(FilesBelow(KeywordFolder("a")), std::vector<std::string>{"late.png"});
    EXPECT_EQ(FilesBelow(KeywordFolder("b")), std::vector<std::string>{"soon.png"});
    EXPECT_NE(
        std::find(view.captions.begin(), view.captions.end(), T("停止采集 (b 已采集 2 张图片)")),
        view.captions.end());
    // The list was not cleared while a's download ran.
    ASSERT_EQ(view.cleared.size(), 2u);
    EXPECT_EQ(view.cleared[0].state, "late.png");
}

TEST_F(KeywordJobTest, AKeywordNeverNamesAFolderOutsideTheSaveFolder) {
    std::string root = tmp.path() + "/root";
    view.inputs.saveFolderText = root;
    view.inputs.keywordList = "..";
    view.inputs.maximumText = "1";
    job.OnStartClicked();
    EXPECT_EQ(Message(), T("处理完成，共 1 个关键词，成功下载 1 张图片"));
    EXPECT_EQ(FilesBelow(root + "/" + T("．．")).size(), 1u);
    EXPECT_EQ(FilesBelow(tmp.path()).size(), 1u);
}

} // namespace
} // namespace tuji
