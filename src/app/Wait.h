#pragma once

#include <atomic>

namespace tuji {

// Waits on the user-interface thread in 10 ms steps, handling every pending
// event after each step, so the window stays alive and a stop click is seen.
// Ends early once *stopFlag is non-zero. The time is counted in steps.
void WaitWithEvents(int milliseconds, const std::atomic<int>* stopFlag = nullptr);

// A plain sleep for worker threads (pauses between attempts).
void SleepOnWorker(int milliseconds);

// The pauses of the jobs (between attempts, pages, keywords) are part of the
// program's behaviour; tests shorten them. 1.0 = as the user gets them.
void SetWaitScale(double scale);
double WaitScale();
// milliseconds * WaitScale(), cut towards zero.
int ScaledMilliseconds(int milliseconds);

} // namespace tuji
