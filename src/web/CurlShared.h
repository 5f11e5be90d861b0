#pragma once

// Process-wide libcurl pieces behind the request components: the share
// object (DNS cache and TLS sessions, shared by every thread's handles) and
// a small pool of idle handle pairs, so that a worker's fresh HttpRequest
// starts with the warm connection cache of an earlier one instead of
// opening a new connection for every download.

#include <curl/curl.h>

namespace tuji {

struct CurlHandles {
    CURL* easy = nullptr;
    CURLM* multi = nullptr; // the connection cache lives here
};

// Idle handles from the pool, or new ones; both null when libcurl fails or
// has been released. Counts one live component until GiveBackHandles.
CurlHandles TakeHandles();
void GiveBackHandles(CurlHandles handles);

// The share object for CURLOPT_SHARE; null when it could not be made.
CURLSH* ProcessShare();

// Frees the pool, the share object and libcurl itself, when no component
// is alive. Returns false (and frees nothing) otherwise.
bool ReleaseCurl();

} // namespace tuji
