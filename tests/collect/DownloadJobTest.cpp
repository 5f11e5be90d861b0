#include "collect/DownloadJob.h"

#include "app/Wait.h"
#include "text/Encoding.h"

#include <QTimer>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace tuji {
namespace {

using namespace std::chrono_literals;

// Records how many of its workers ran at once and in which order they began.
class Recorder {
public:
    explicit Recorder(DownloadJobState& job) : job_(job) {}

    std::function<void(int)> Worker(std::chrono::milliseconds work) {
        return [this, work](int item) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                order_.push_back(item);
                running_ += 1;
                peak_ = std::max(peak_, running_);
                countsAtStart_.push_back(job_.runningWorkers.load());
            }
            WaitForGate();
            std::this_thread::sleep_for(work);
            std::lock_guard<std::mutex> lock(mutex_);
            running_ -= 1;
        };
    }
    void CloseGate() { gateOpen_ = false; }
    void OpenGate() { gateOpen_ = true; }
    int Started() {
        std::lock_guard<std::mutex> lock(mutex_);
        return int(order_.size());
    }
    std::vector<int> order_;
    std::vector<int> countsAtStart_;
    int peak_ = 0;

private:
    void WaitForGate() {
        while (!gateOpen_)
            std::this_thread::sleep_for(1ms);
    }
    DownloadJobState& job_;
    std::mutex mutex_;
    int running_ = 0;
    std::atomic<bool> gateOpen_{true};
};

// Runs `step` on the user-interface thread from inside the job's waits once
// `ready` holds.
void WhenReady(std::function<bool()> ready, std::function<void()> step) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, ready, step] {
        if (!ready()) return;
        timer->stop();
        timer->deleteLater();
        step();
    });
    timer->start(5);
}

TEST(DownloadJob, OneSlotRunsStrictlyInListOrder) {
    DownloadJobState job;
    job.BeginJob("/tmp/");
    job.SetSlotLimitSource([] { return 1; });
    Recorder rec(job);
    EXPECT_EQ(job.WaitThenStart(0, 5, rec.Worker(5ms)), 6);
    job.WaitForAllWorkers();
    EXPECT_EQ(rec.order_, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(rec.peak_, 1);
    EXPECT_EQ(job.runningWorkers.load(), 0);
}

TEST(DownloadJob, TenSlotsRunThreeItemsAtOnce) {
    DownloadJobState job;
    job.SetSlotLimitSource([] { return SlotLimitFromIndex(9); });
    Recorder rec(job);
    rec.CloseGate();
    WhenReady([&] { return rec.Started() == 3; }, [&] { rec.OpenGate(); });
    EXPECT_EQ(job.StartThenWait(1, 3, rec.Worker(0ms)), 3);
    job.WaitForAllWorkers();
    EXPECT_EQ(rec.peak_, 3);
}

TEST(DownloadJob, LoweringTheLimitWaitsUntilBelowIt) {
    DownloadJobState job;
    std::atomic<int> limit{5};
    job.SetSlotLimitSource([&] { return limit.load(); });
    Recorder rec(job);
    rec.CloseGate();
    WhenReady([&] { return rec.Started() == 5; },
              [&] {
                  limit = 1;
                  rec.OpenGate();
              });
    EXPECT_EQ(job.WaitThenStart(0, 7, rec.Worker(10ms)), 8);
    job.WaitForAllWorkers();
    // The five first ran together; every later one ran alone.
    ASSERT_EQ(rec.countsAtStart_.size(), 8u);
    for (size_t i = 5; i < 8; ++i)
        EXPECT_EQ(rec.countsAtStart_[i], 1) << i;
}

TEST(DownloadJob, StopStartsNoMoreWorkersAndRunningOnesFinish) {
    DownloadJobState job;
    job.SetSlotLimitSource([] { return 4; });
    Recorder rec(job);
    rec.CloseGate();
    WhenReady([&] { return rec.Started() == 4; },
              [&] {
                  job.stopRequested = 1;
                  rec.OpenGate();
              });
    EXPECT_EQ(job.WaitThenStart(0, 9, rec.Worker(20ms)), 4);
    job.WaitForAllWorkers();
    EXPECT_EQ(rec.Started(), 4);
    EXPECT_EQ(job.runningWorkers.load(), 0);
}

TEST(DownloadJob, PostedUpdatesArriveInOrderBeforeTheDrainEnds) {
    DownloadJobState job;
    std::vector<int> seen; // touched on this thread only
    for (int w = 0; w < 3; ++w) {
        job.StartWorker(
            [&job, &seen](int base) {
                for (int i = 0; i < 200; ++i)
                    job.PostToUi([&seen, base, i] { seen.push_back(base + i); });
            },
            w * 1000);
    }
    job.WaitForAllWorkers();
    ASSERT_EQ(seen.size(), 600u);
    for (int w = 0; w < 3; ++w) {
        int last = -1;
        for (int v : seen)
            if (v / 1000 == w) {
                EXPECT_GT(v, last);
                last = v;
            }
    }
}

TEST(DownloadJob, ThreadChoiceItems) {
    auto items = ThreadCountItems();
    ASSERT_EQ(items.size(), 10u);
    EXPECT_EQ(items[0], T("1 个线程下载图片"));
    EXPECT_EQ(items[9], T("10 个线程下载图片"));
    EXPECT_EQ(SlotLimitFromIndex(kDefaultThreadCountIndex), 5);
    EXPECT_EQ(SlotLimitFromIndex(-1), 1);
    EXPECT_EQ(SlotLimitFromIndex(42), 10);
}

TEST(DownloadJob, ErrorPagesAreFailedDownloads) {
    using namespace std::string_literals;
    EXPECT_TRUE(IsFailedDownload(""));
    EXPECT_TRUE(IsFailedDownload("<html><head><TITLE>404</TITLE>"));
    EXPECT_FALSE(IsFailedDownload("\x89PNG\r\n"s + '\0' + "<title>"));
    EXPECT_FALSE(IsFailedDownload("GIF89a"));
}

} // namespace
} // namespace tuji
