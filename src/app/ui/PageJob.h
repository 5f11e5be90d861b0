#pragma once

namespace tuji {

// A page whose job runs inside the start button's click handler. When the
// main window closes while such a job waits, the job would otherwise go on
// invisibly (downloading, paging through keywords) until it ended by
// itself; the window asks every page to stop instead, so the program ends
// once the running downloads are done.
class PageJob {
public:
    virtual ~PageJob() = default;
    // Asks a running job to stop; does nothing when no job runs.
    virtual void StopRunningJob() = 0;
};

} // namespace tuji
