#include "collect/DownloadJob.h"

#include "text/Encoding.h"
#include "text/TextOps.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <algorithm>
#include <chrono>
#include <system_error>
#include <thread>

namespace tuji {

void SharedText::Set(std::string value) {
    std::lock_guard<std::mutex> lock(mutex_);
    value_ = std::move(value);
}

std::string SharedText::Get() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return value_;
}

std::vector<std::string> ThreadCountItems() {
    std::vector<std::string> items;
    for (int i = 1; i <= 10; ++i)
        items.push_back(NumberText(i) + T(" 个线程下载图片"));
    return items;
}

int SlotLimitFromIndex(int index) {
    return std::clamp(index + 1, 1, 10);
}

DownloadJobState::DownloadJobState() : uiContext_(std::make_unique<QObject>()) {}

DownloadJobState::~DownloadJobState() {
    // Detached workers still use this object; the page goes only after them.
    std::unique_lock<std::mutex> lock(endMutex_);
    endSignal_.wait(lock, [this] { return runningWorkers.load() <= 0; });
}

void DownloadJobState::BeginJob(std::string folder) {
    stopRequested = 0;
    runningWorkers = 0;
    savedFiles = 0;
    saveFolder.Set(std::move(folder));
}

void DownloadJobState::SetSlotLimitSource(std::function<int()> source) {
    slotLimitSource_ = std::move(source);
}

int DownloadJobState::SlotLimit() const {
    int limit = slotLimitSource_ ? slotLimitSource_() : kDefaultThreadCountIndex + 1;
    return std::clamp(limit, 1, 10);
}

bool DownloadJobState::StartWorker(std::function<void(int)> routine, int argument) {
    runningWorkers.fetch_add(1);
    try {
        std::thread([this, routine = std::move(routine), argument] {
            try {
                routine(argument);
            } catch (...) {
                // A worker that fails on its own still frees its slot.
            }
            WorkerEnded();
        }).detach();
        return true;
    } catch (const std::system_error&) {
        runningWorkers.fetch_sub(1);
        return false;
    }
}

void DownloadJobState::WorkerEnded() {
    // Under the lock, so that the destructor cannot finish between the
    // decrement and the signal.
    std::lock_guard<std::mutex> lock(endMutex_);
    runningWorkers.fetch_sub(1);
    ++endedSinceWait_;
    endSignal_.notify_all();
}

void DownloadJobState::PostToUi(std::function<void()> call) {
    QMetaObject::invokeMethod(uiContext_.get(), std::move(call), Qt::QueuedConnection);
}

void DownloadJobState::WaitWhile(const std::function<bool()>& condition) {
    constexpr auto kStep = std::chrono::milliseconds(10);
    while (condition()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (!condition()) break;
        std::unique_lock<std::mutex> lock(endMutex_);
        endSignal_.wait_for(lock, kStep, [this] { return endedSinceWait_ > 0; });
        endedSinceWait_ = 0;
    }
    // A worker posts its row updates before it ends; run them now, so the
    // caller never clears or reuses a row that still has updates on the way.
    QCoreApplication::sendPostedEvents(uiContext_.get());
}

void DownloadJobState::WaitForFreeSlot() {
    WaitWhile([this] { return runningWorkers.load() >= SlotLimit(); });
}

void DownloadJobState::WaitForAllWorkers() {
    WaitWhile([this] { return runningWorkers.load() > 0; });
}

bool DownloadJobState::NoWorkerRunning() {
    if (runningWorkers.load() != 0) return false;
    QCoreApplication::sendPostedEvents(uiContext_.get());
    return true;
}

int DownloadJobState::WaitThenStart(int first, int last, const std::function<void(int)>& routine) {
    int started = 0;
    for (int item = first; item <= last; ++item) {
        if (stopRequested) break;
        WaitForFreeSlot();
        // A stop asked for during the wait starts nothing more either.
        if (stopRequested) break;
        if (StartWorker(routine, item)) ++started;
    }
    return started;
}

int DownloadJobState::StartThenWait(int first, int last, const std::function<void(int)>& routine,
                                    const std::function<void(int)>& beforeStart) {
    int started = 0;
    for (int item = first; item <= last; ++item) {
        if (stopRequested) break;
        if (beforeStart) beforeStart(item);
        if (StartWorker(routine, item)) ++started;
        WaitForFreeSlot();
    }
    return started;
}

bool IsFailedDownload(std::string_view body) {
    if (body.empty()) return true;
    return ContainsText(TextBeforeZero(body), "<title>", Case::Ignore);
}

} // namespace tuji
