#include "rehost/RehostJob.h"

#include "app/Md5.h"
#include "app/Wait.h"
#include "fs/Files.h"
#include "rehost/FakeRehostView.h"
#include "support/LocalHttpServer.h"
#include "support/TempFolder.h"
#include "text/Encoding.h"
#include "text/TextOps.h"

#include <QDir>
#include <QDirIterator>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace tuji {
namespace {

using test::FakeRehostView;
using test::FakeRow;
using test::LocalHttpServer;
using test::ServedResponse;
using test::TempFolder;

const std::string kPng = std::string("\x89PNG\r\n\x1a\n", 8) + std::string("\0\0\0\rIHDR one", 13);
const std::string kJpeg = std::string("\xFF\xD8\xFF\xE0\0\x10JFIF two", 14);

class RehostJobTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetWaitScale(0.01);
        server.Serve("/img/one.PNG", ServedResponse::Bytes(kPng, "image/png"));
        server.Serve("/img/copy.png", ServedResponse::Bytes(kPng, "image/png"));
        server.Serve("/img/two.jpeg", ServedResponse::Bytes(kJpeg, "image/jpeg"));
        server.Serve("/img/empty.jpg", ServedResponse::Bytes(""));
        server.Serve("/img/page.jpg",
                     ServedResponse::Text("<html><head><TITLE>Not here</TITLE></head></html>"));
        view.inputs.articleFolder = folder.path();
        view.inputs.filter = "*.htm";
        view.inputs.imageFolder = "files\\img";
    }
    void TearDown() override { SetWaitScale(1.0); }

    // Only tests that download start the server: one stopped before it has
    // begun to listen would never stop.
    void StartServer() {
        ASSERT_TRUE(server.Start());
        view.inputs.oldDomain = "127.0.0.1:" + std::to_string(server.Port());
    }

    void WriteArticle(const std::string& name, const std::string& bytes) {
        ASSERT_TRUE(WriteFileBytes(folder.file(name), bytes));
    }
    std::string Results() const { return folder.path() + "/" + T("转存结果") + "/"; }
    std::string Result(const std::string& name) const { return ReadFileBytes(Results() + name); }
    void Run(ListingMethod method = ListingMethod::Walk) { job.StartOrStopRehosting(method); }

    LocalHttpServer server;
    TempFolder folder;
    FakeRehostView view;
    RehostJob job{view};
};

TEST_F(RehostJobTest, RehostsAnArticleFolder) {
    StartServer();
    const std::string absolute = server.Url("/img/two.jpeg");
    const std::string article = "<html><img src=\"/img/one.PNG\"> <IMG SRC='" + absolute +
                                "' alt=x><a href=\"/img/one.PNG\">big</a>"
                                "<img src=img/copy.png><img src=/img/empty.jpg>"
                                "<img src=\"/img/page.jpg\"><img src=\"/rel.gif\"></html>";
    WriteArticle("a.htm", article);
    WriteArticle("plain.htm", "<p>no images \xE4\xB8\xAD</p>");
    WriteArticle("notes.txt", "<img src=\"/img/one.PNG\">");
    view.inputs.excluded = "rel.gif";
    view.answerYes = true;
    Run();

    const std::string png = ShortHash(kPng) + ".png", jpg = ShortHash(kJpeg) + ".jpg";
    // One file for the two references with the same content.
    EXPECT_EQ(ReadFileBytes(Results() + "files/img/" + png), kPng);
    EXPECT_EQ(ReadFileBytes(Results() + "files/img/" + jpg), kJpeg);
    std::string expected = article;
    expected = ReplaceText(expected, "/img/one.PNG", "/files/img/" + png);
    expected = ReplaceText(expected, "img/copy.png", "/files/img/" + png);
    expected = ReplaceText(expected, absolute, "/files/img/" + jpg);
    EXPECT_EQ(Result("a.htm"), expected);
    EXPECT_EQ(Result("plain.htm"), "<p>no images \xE4\xB8\xAD</p>");
    EXPECT_FALSE(PathExists(Results() + "notes.txt"));

    // Nothing was written outside the results folder.
    QDirIterator it(folder.fsPath(), QDir::Files, QDirIterator::Subdirectories);
    int written = 0;
    while (it.hasNext()) {
        std::string path = TextFromFsPath(it.next());
        if (StartsWithText(path, Results()))
            ++written;
        else
            EXPECT_TRUE(path == folder.file("a.htm") || path == folder.file("plain.htm") ||
                        path == folder.file("notes.txt"))
                << path;
    }
    EXPECT_EQ(written, 4);

    EXPECT_EQ(view.captions, (std::vector<std::string>{T("停止转存"), T("开始转存")}));
    EXPECT_EQ(view.barMaximum, 2);
    EXPECT_EQ(view.progressLines, (std::vector<std::string>{"(2:1)a", "(2:2)plain"}));
    EXPECT_FALSE(view.running);
    EXPECT_TRUE(view.rows.empty());
    ASSERT_EQ(view.questions.size(), 1u);
    EXPECT_EQ(view.questions[0],
              T("转存完成。转存结果保存在这个目录：") + Results() + T("\r\n\r\n请问是否打开它？"));
    EXPECT_EQ(view.openedFolders, std::vector<std::string>{Results()});

    // Rows: reverse article order; saved ones show the saved relative path.
    std::vector<std::pair<int, std::string>> rows;
    for (const FakeRow& row : view.finishedRows)
        rows.push_back({row.icon, row.status});
    const std::string failed = T("下载失败 ");
    EXPECT_EQ(rows, (std::vector<std::pair<int, std::string>>{
                        {kIconFailed, failed},
                        {kIconFailed, failed},
                        {kIconSaved, "files/img/" + png},
                        {kIconSaved, "files/img/" + jpg},
                        {kIconSaved, "files/img/" + png},
                    }));
    EXPECT_EQ(view.finishedRows[3].reference, absolute);
}

TEST_F(RehostJobTest, NewAddressFollowsNewDomainAndImageFolder) {
    StartServer();
    const std::string png = ShortHash(kPng) + ".png";
    struct Case {
        const char* imageFolder;
        const char* newDomain;
        std::string address;
        std::string savedAt;
    } cases[] = {
        {"files\\img", "", "/files/img/" + png, "files/img/" + png},
        {"files\\img", "www.my.cn", "http://www.my.cn/files/img/" + png, "files/img/" + png},
        {"files\\img\\", "", "/files/img//" + png, "files/img/" + png},
        {"", "", "/" + png, png},
        {"pics", "my.cn", "http://my.cn/pics/" + png, "pics/" + png},
    };
    WriteArticle("a.htm", "<img src=\"/img/one.PNG\">");
    for (const Case& c : cases) {
        view.inputs.imageFolder = c.imageFolder;
        view.inputs.newDomain = c.newDomain;
        Run();
        EXPECT_EQ(Result("a.htm"), "<img src=\"" + c.address + "\">") << c.imageFolder;
        EXPECT_EQ(ReadFileBytes(Results() + c.savedAt), kPng) << c.imageFolder;
    }
}

TEST_F(RehostJobTest, NoMatchingFilesIsReportedAndNothingChanges) {
    WriteArticle("a.html", "<img src=/img/one.PNG>");
    Run();
    EXPECT_EQ(view.messages, std::vector<std::string>{T("在这个目录下‘") + folder.path() +
                                                      T("’找不到‘*.htm’类型的文件！")});
    EXPECT_TRUE(view.captions.empty());
    EXPECT_TRUE(view.questions.empty());
    EXPECT_FALSE(PathExists(Results()));
}

TEST_F(RehostJobTest, ImageFolderOutsideTheResultsFolderIsRefused) {
    WriteArticle("a.htm", "<img src=/img/one.PNG>");
    view.inputs.imageFolder = "..\\..\\img";
    Run();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find(".."), std::string::npos);
    EXPECT_TRUE(view.captions.empty());
    EXPECT_EQ(server.RequestCount(), 0u);
    EXPECT_FALSE(PathExists(Results()));
    EXPECT_FALSE(PathExists(folder.path() + "/../img"));
}

TEST_F(RehostJobTest, StopDuringAnArticleWritesItWithTheRewritesMadeSoFar) {
    StartServer();
    server.Serve("/slow/1.gif", ServedResponse::Bytes("GIF89a-1").WithHeader("X", "1"));
    ServedResponse slow = ServedResponse::Bytes("GIF89a-slow");
    slow.delay = std::chrono::milliseconds(300);
    server.Serve("/slow/2.gif", slow);
    server.Serve("/slow/3.gif", slow);
    const std::string article = "<img src=/slow/1.gif><img src=/slow/2.gif><img src=/slow/3.gif>";
    WriteArticle("a.htm", article);
    WriteArticle("b.htm", "<img src=/slow/1.gif>");
    view.threadCountIndex = 0; // one download at a time
    bool stopped = false;
    view.onRowChanged = [&](int, int icon) {
        if (icon == kIconDownloading && !stopped) {
            stopped = true;
            Run(); // the second press: stop
        }
    };
    Run();

    EXPECT_EQ(view.captions,
              (std::vector<std::string>{T("停止转存"), T("正在停止中.."), T("开始转存")}));
    // Rows run from the last reference to the first: only /slow/3.gif had
    // been started when the stop came.
    const std::string name = ShortHash("GIF89a-slow") + ".gif";
    EXPECT_EQ(Result("a.htm"),
              "<img src=/slow/1.gif><img src=/slow/2.gif><img src=/files/img/" + name + ">");
    EXPECT_FALSE(PathExists(Results() + "b.htm"));
    EXPECT_EQ(view.questions.size(), 1u);
    EXPECT_EQ(server.RequestCount(), 1u);
}

TEST_F(RehostJobTest, LeftAndRightClickListDifferently) {
    StartServer();
    WriteArticle("a.htm", "");
    WriteArticle("ba.htm", "");
    view.inputs.filter = "a*";
    Run(ListingMethod::Walk); // unanchored pattern: both names contain "a"
    EXPECT_EQ(view.barMaximum, 2);
    Run(ListingMethod::Search); // whole-name wildcard: only a.htm
    EXPECT_EQ(view.barMaximum, 1);
    EXPECT_EQ(view.progressLines.back(), "(1:1)a");
}

TEST_F(RehostJobTest, NeverMoreDownloadsAtOnceThanChosen) {
    StartServer();
    std::atomic<int> now{0}, most{0};
    server.On("/many.gif", [&](const test::SeenRequest& request) {
        int n = ++now;
        int seen = most.load();
        while (n > seen && !most.compare_exchange_weak(seen, n)) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        --now;
        return ServedResponse::Bytes("GIF89a" + request.target);
    });
    std::string article;
    for (int i = 0; i < 8; ++i)
        article += "<img src=/many.gif?" + std::to_string(i) + ">";
    WriteArticle("a.htm", article);
    view.threadCountIndex = 1;
    Run();
    EXPECT_LE(most.load(), 2);
    EXPECT_EQ(server.RequestCount(), 8u);
    EXPECT_EQ(Result("a.htm").find("/many.gif"), std::string::npos);
}

TEST_F(RehostJobTest, ImageThatCannotBeSavedKeepsItsReference) {
    StartServer();
    WriteArticle("a.htm", "<img src=/img/one.PNG>");
    ASSERT_TRUE(QDir().mkpath(FsPath(Results())));
    ASSERT_TRUE(WriteFileBytes(Results() + "files", "a file where the folder should be"));
    Run();
    EXPECT_EQ(Result("a.htm"), "<img src=/img/one.PNG>");
    ASSERT_EQ(view.finishedRows.size(), 1u);
    EXPECT_EQ(view.finishedRows[0].icon, kIconFailed);
    EXPECT_TRUE(StartsWithText(view.finishedRows[0].status, T("保存失败 ")));
}

TEST_F(RehostJobTest, HalfWrittenImagesAreNeverLeftBehind) {
    StartServer();
    WriteArticle("a.htm", "<img src=/img/one.PNG>");
    Run();
    QDirIterator it(FsPath(Results() + "files/img"),
                    QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    std::vector<std::string> names;
    while (it.hasNext())
        names.push_back(TextFromFsPath(it.next()));
    EXPECT_EQ(names, std::vector<std::string>{Results() + "files/img/" + ShortHash(kPng) + ".png"});
}

} // namespace
} // namespace tuji
