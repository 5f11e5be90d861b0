#include "app/Wait.h"

#include <QCoreApplication>
#include <chrono>
#include <thread>

namespace tuji {

namespace {
std::atomic<double> g_waitScale{1.0};
constexpr int kStepMs = 10;
} // namespace

void SetWaitScale(double scale) {
    g_waitScale = scale < 0 ? 0 : scale;
}
double WaitScale() {
    return g_waitScale;
}
int ScaledMilliseconds(int milliseconds) {
    return static_cast<int>(milliseconds * WaitScale());
}

void WaitWithEvents(int milliseconds, const std::atomic<int>* stopFlag) {
    int total = ScaledMilliseconds(milliseconds);
    if (total == 0 && milliseconds > 0) {
        // A wait shortened to nothing still yields and handles events once,
        // so loops that wait for workers never spin on the processor.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    for (int elapsed = 0; elapsed < total && !(stopFlag && *stopFlag != 0); elapsed += kStepMs) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kStepMs));
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

void SleepOnWorker(int milliseconds) {
    int total = ScaledMilliseconds(milliseconds);
    if (total > 0) std::this_thread::sleep_for(std::chrono::milliseconds(total));
}

} // namespace tuji
