#include "download/BatchDownloadJob.h"

#include "PageFixture.h"
#include "app/Md5.h"
#include "collect/SavePath.h"
#include "fs/Files.h"
#include "support/LocalHttpServer.h"

#include <QDir>
#include <QProgressBar>
#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

namespace tuji::test {
namespace {

using namespace std::chrono_literals;

// A small "image": distinct bytes per name, with a zero byte early on.
std::string Image(const std::string& name) {
    return std::string("\xFF\xD8\xFF\xE0\0\x10JFIF", 10) + name;
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    const auto entries = QDir(FsPath(folder)).entryList(QDir::Files, QDir::Name);
    for (const QString& name : entries)
        names.push_back(name.toStdString());
    return names;
}

class BatchServerTest : public BatchPageTest {
protected:
    void SetUp() override {
        BatchPageTest::SetUp();
        for (const char* name : {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"})
            server.Serve(std::string("/img/") + name + ".jpg",
                         ServedResponse::Bytes(Image(name), "image/jpeg"));
        ASSERT_TRUE(server.Start());
    }
    std::string Url(const std::string& path) { return server.Url(path); }
    // "http://…/img/a.jpg\n…" for the names given.
    std::string Lines(const std::vector<std::string>& names) {
        std::string list;
        for (const std::string& name : names)
            list += Url("/img/" + name + ".jpg") + "\n";
        return list;
    }

    LocalHttpServer server;
};

TEST_F(BatchServerTest, EmptyMiddleLineCountsButSavesNothing) {
    SetFolder(target.path());
    SetList(Url("/img/a.jpg") + "\r\n\r\n" + Url("/img/b.jpg"));
    EXPECT_EQ(Click(), (std::vector<std::string>{"处理完成，共 3 个地址，成功下载 2 个"}));
    EXPECT_EQ(FilesIn(target.path()).size(), 2u);
    EXPECT_EQ(server.RequestCount(), 2u);
    EXPECT_EQ(Caption(), T("开始下载"));
    EXPECT_FALSE(Find<QProgressBar>(page.get(), "进度条")->isVisible());
}

TEST_F(BatchServerTest, HintTextSendsImagesToTheProgramFolder) {
    const std::string folder = program.file(T("图片目录"));
    ASSERT_FALSE(PathExists(folder));
    SetList(Lines({"a"})); // the folder box keeps its hint
    EXPECT_EQ(Click(), (std::vector<std::string>{"处理完成，共 1 个地址，成功下载 1 个"}));
    EXPECT_TRUE(PathIsFolder(folder));
    EXPECT_EQ(FilesIn(folder).size(), 1u);

    // A folder that does not exist is no folder either.
    SetFolder(target.file("missing"));
    SetList(Lines({"b"}));
    Click();
    EXPECT_EQ(FilesIn(folder).size(), 2u);
    EXPECT_FALSE(PathExists(target.file("missing")));
}

TEST_F(BatchServerTest, ThreadChoiceLimitsDownloadsAtOnce) {
    std::atomic<int> inFlight{0}, peak{0};
    std::mutex mutex;
    std::vector<std::string> order;
    server.On("/slow", [&](const SeenRequest& r) {
        int now = ++inFlight;
        int seen = peak.load();
        while (now > seen && !peak.compare_exchange_weak(seen, now)) {
        }
        {
            std::lock_guard<std::mutex> lock(mutex);
            order.push_back(r.query.at("n"));
        }
        std::this_thread::sleep_for(60ms);
        --inFlight;
        return ServedResponse::Bytes(Image(r.query.at("n")), "image/jpeg");
    });
    struct Case {
        int threads;
        int expectedPeak;
    };
    for (const Case c : {Case{1, 1}, Case{10, 5}}) {
        peak = 0;
        order.clear();
        SetThreads(c.threads);
        SetFolder(target.path());
        std::string list;
        for (int i = 1; i <= 5; ++i)
            list += Url("/slow?n=" + std::to_string(c.threads) + "-" + std::to_string(i)) + "\n";
        SetList(list);
        EXPECT_EQ(Click(), (std::vector<std::string>{"处理完成，共 5 个地址，成功下载 5 个"}));
        EXPECT_EQ(peak.load(), c.expectedPeak) << c.threads;
        if (c.threads == 1) {
            std::vector<std::string> inListOrder;
            for (int i = 1; i <= 5; ++i)
                inListOrder.push_back("1-" + std::to_string(i));
            EXPECT_EQ(order, inListOrder);
        }
    }
}

TEST_F(BatchServerTest, StopAfterTheThirdLineStillReportsEveryLine) {
    SetFolder(target.path());
    SetThreads(1);
    SetList(Lines({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}));
    auto* bar = Find<QProgressBar>(page.get(), "进度条");
    std::string captionWhileStopping;
    QObject::connect(bar, &QProgressBar::valueChanged, page.get(), [&](int i) {
        if (i != 3) return;
        EXPECT_EQ(Caption(), T("停止下载"));
        StartButton()->click();
        captionWhileStopping = Caption();
    });
    EXPECT_EQ(Click(), (std::vector<std::string>{"处理完成，共 10 个地址，成功下载 3 个"}));
    EXPECT_EQ(captionWhileStopping, T("正在停止.."));
    EXPECT_EQ(server.RequestCount(), 3u);
    EXPECT_EQ(FilesIn(target.path()).size(), 3u);
    EXPECT_EQ(Caption(), T("开始下载"));
}

TEST_F(BatchServerTest, SameImageTwiceIsSavedAndCountedOnce) {
    server.Serve("/copy/a.jpg", ServedResponse::Bytes(Image("a"), "image/jpeg"));
    SetFolder(target.path());
    // Twice the same address, and once the same bytes elsewhere; run at once.
    SetList(Lines({"a", "a"}) + Url("/copy/a.jpg"));
    EXPECT_EQ(Click(), (std::vector<std::string>{"处理完成，共 3 个地址，成功下载 1 个"}));
    EXPECT_EQ(FilesIn(target.path()), (std::vector<std::string>{ShortHash(Image("a")) + ".jpg"}));
}

TEST_F(BatchServerTest, ErrorPagesAndEmptyBodiesAreNotSaved) {
    server.Serve("/missing.jpg",
                 ServedResponse::Text("<html><head><TITLE>404 Not Found</TITLE></head></html>",
                                      "text/html", 404));
    server.Serve("/empty.jpg", ServedResponse::Bytes("", "image/jpeg"));
    // An image whose bytes hold the letters after a zero byte is an image.
    server.Serve("/odd.jpg", ServedResponse::Bytes(Image("<title>"), "image/jpeg"));
    SetFolder(target.path());
    SetList(Url("/missing.jpg") + "\n" + Url("/empty.jpg") + "\n" + Url("/odd.jpg"));
    EXPECT_EQ(Click(), (std::vector<std::string>{"处理完成，共 3 个地址，成功下载 1 个"}));
    EXPECT_EQ(FilesIn(target.path()).size(), 1u);
    size_t emptyTries = 0;
    for (const SeenRequest& r : server.Requests())
        emptyTries += r.path == "/empty.jpg";
    EXPECT_EQ(emptyTries, 2u); // the second attempt, then it gives up
}

TEST_F(BatchServerTest, NamingChoiceNamesTheFiles) {
    server.Serve("/p/q/name.gif", ServedResponse::Bytes(Image("gif"), "image/gif"));
    SetFolder(target.path());
    SetList(Url("/p/q/name.gif"));
    Find<QRadioButton>(page.get(), "单选框原图片名")->setChecked(true);
    Click();
    EXPECT_TRUE(PathIsFile(target.file("name.gif")));

    Find<QRadioButton>(page.get(), "单选框原图片路径")->setChecked(true);
    Click();
    EXPECT_TRUE(PathIsFile(target.file("p/q/name.gif")));
}

TEST_F(BatchServerTest, ANamingChangeDuringTheJobNamesTheLaterSaves) {
    // One download at a time; before the third line starts the user picks
    // 原图片名: the two first images keep their content names, the rest
    // are named after their addresses.
    BatchDownloadJob job;
    job.State().SetSlotLimitSource([] { return 1; });
    job.SetNamingMode(kNameAuto);
    BatchDownloadJob::Hooks hooks;
    hooks.progress = [&](int, int i, const std::string&) {
        if (i == 3) job.SetNamingMode(kNameOriginal);
    };
    auto result = job.Run(Lines({"a", "b", "c", "d"}), target.path(), hooks);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->saved, 4);
    std::vector<std::string> expected{ShortHash(Image("a")) + ".jpg",
                                      ShortHash(Image("b")) + ".jpg", "c.jpg", "d.jpg"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FilesIn(target.path()), expected);
}

TEST_F(BatchServerTest, WordsThatLookLikeHostsAreNotFetched) {
    SetFolder(target.path());
    // The request component would put "http://" before these.
    const std::string hostAndPath = "127.0.0.1:" + std::to_string(server.Port()) + "/img/a.jpg";
    SetList(hostAndPath + "\n//" + hostAndPath + "\nhttpx://" + hostAndPath);
    EXPECT_EQ(Click(), (std::vector<std::string>{"处理完成，共 3 个地址，成功下载 0 个"}));
    EXPECT_EQ(server.RequestCount(), 0u);
}

} // namespace
} // namespace tuji::test
