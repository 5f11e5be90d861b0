#pragma once

// libcurl's process-wide set-up. The program creates one CurlGlobal first
// thing in main, before any thread starts, and keeps it to the end.
// Request components also make sure of the set-up on first use (tests
// create no CurlGlobal), so forgetting it cannot crash.

namespace tuji {

class CurlGlobal {
public:
    CurlGlobal();
    ~CurlGlobal(); // releases libcurl when no request component is left
    CurlGlobal(const CurlGlobal&) = delete;
    CurlGlobal& operator=(const CurlGlobal&) = delete;
};

// Runs curl_global_init once per process; safe from any thread.
void EnsureCurlGlobal();

} // namespace tuji
