#pragma once

// The worker scheme every downloading page shares (keyword collection, batch
// download, article re-hosting).
//
// The page's job runs on the user-interface thread and starts one detached
// thread per item. A running-workers counter, compared with the page's
// thread-count choice, keeps at most N of them running; while the job waits
// for a free slot it keeps processing window events, so the same button can
// ask it to stop. Workers never touch widgets: what they show reaches the
// user-interface thread through PostToUi, in the order they post it.

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace tuji {

// A text the job replaces at defined points while workers read it; readers
// always get their own copy.
class SharedText {
public:
    void Set(std::string value);
    std::string Get() const;

private:
    mutable std::mutex mutex_;
    std::string value_;
};

// The ten items of every downloading page's 组合框线程数 ("1 个线程下载图片" ...),
// as program text; the fifth is the default choice.
std::vector<std::string> ThreadCountItems();
constexpr int kDefaultThreadCountIndex = 4;
// The slot limit for the chosen item index: index + 1, kept within 1..10.
int SlotLimitFromIndex(int index);

// The download state of one page, kept for the life of the page. Create it on
// the user-interface thread; it must outlive its workers (its destructor
// waits for them).
class DownloadJobState {
public:
    DownloadJobState();
    ~DownloadJobState();
    DownloadJobState(const DownloadJobState&) = delete;
    DownloadJobState& operator=(const DownloadJobState&) = delete;

    std::atomic<int> stopRequested{0}; // an int, so WaitWithEvents can watch it
    std::atomic<int> runningWorkers{0};
    std::atomic<int> savedFiles{0};
    SharedText saveFolder; // ends with a separator

    // Clears stop requested, running workers and saved files; a job calls it
    // when it starts (never while its workers run).
    void BeginJob(std::string folder);

    // Where the slot limit comes from: the page's 组合框线程数 (index + 1). It is
    // asked anew at every check, on the user-interface thread. Without a
    // source the limit is 5.
    void SetSlotLimitSource(std::function<int()> source);
    int SlotLimit() const; // 1..10

    // Starts routine(argument) on a thread of its own. The count of running
    // workers is raised before the thread starts and lowered after the routine
    // returns (the routine never changes it); a thread that cannot be started
    // takes its count back and gives false.
    bool StartWorker(std::function<void(int)> routine, int argument);

    // Hands a call to the user-interface thread; calls posted by one thread
    // run there in the order they were posted. Safe from any thread.
    void PostToUi(std::function<void()> call);

    // Processes window events (10-ms steps at most) while the condition
    // holds; wakes as soon as a worker ends. Once it returns, every call that
    // finished workers posted has run, so rows may be cleared safely.
    void WaitWhile(const std::function<bool()>& condition);
    void WaitForFreeSlot();   // while running >= limit
    void WaitForAllWorkers(); // while running > 0 (the drain at a job's end)
    bool NoWorkerRunning();   // running == 0, after running what they posted

    // The three ways the pages start their items, in order, first..last
    // (inclusive). Both stop at a stop request and give the count started.
    // Keyword page: wait for a free slot, then start.
    int WaitThenStart(int first, int last, const std::function<void(int)>& routine);
    // Batch and re-hosting pages: start, then wait until a slot is free.
    // beforeStart(item) runs on the user-interface thread before each start
    // (the batch page processes events and shows its progress there).
    int StartThenWait(int first, int last, const std::function<void(int)>& routine,
                      const std::function<void(int)>& beforeStart = {});

private:
    void WorkerEnded();

    std::function<int()> slotLimitSource_;
    std::unique_ptr<QObject> uiContext_;
    std::mutex endMutex_;
    std::condition_variable endSignal_;
    int endedSinceWait_ = 0; // guarded by endMutex_
};

// The common download step of a worker: fetches the address with FetchBytes
// on an HttpRequest of the calling thread's own, at most two attempts, with a
// one-second pause after each empty body (also after the second).
std::string DownloadWithRetries(const std::string& address);

// A body is no image when it is empty or when its text up to the first zero
// byte holds "<title>" (any letter case): an error page.
bool IsFailedDownload(std::string_view body);

} // namespace tuji
