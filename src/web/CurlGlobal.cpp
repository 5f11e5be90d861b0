#include "web/CurlGlobal.h"

#include "web/CurlShared.h"

#include <array>
#include <curl/curl.h>
#include <mutex>
#include <vector>

namespace tuji {

namespace {

std::once_flag g_initOnce;
bool g_initialised = false;

// Everything below is guarded by g_poolMutex.
std::mutex g_poolMutex;
std::vector<CurlHandles> g_idle;
int g_live = 0;
bool g_released = false;
constexpr size_t kMaxIdle = 16;

std::once_flag g_shareOnce;
CURLSH* g_share = nullptr;
std::array<std::mutex, CURL_LOCK_DATA_LAST> g_shareLocks;

void LockShare(CURL*, curl_lock_data data, curl_lock_access, void*) {
    g_shareLocks[static_cast<size_t>(data)].lock();
}
void UnlockShare(CURL*, curl_lock_data data, void*) {
    g_shareLocks[static_cast<size_t>(data)].unlock();
}

void FreeHandles(CurlHandles h) {
    if (h.multi) curl_multi_cleanup(h.multi);
    if (h.easy) curl_easy_cleanup(h.easy);
}

} // namespace

void EnsureCurlGlobal() {
    std::call_once(g_initOnce,
                   [] { g_initialised = curl_global_init(CURL_GLOBAL_ALL) == CURLE_OK; });
}

CurlGlobal::CurlGlobal() {
    EnsureCurlGlobal();
}

CurlGlobal::~CurlGlobal() {
    ReleaseCurl();
}

CURLSH* ProcessShare() {
    std::call_once(g_shareOnce, [] {
        CURLSH* share = curl_share_init();
        if (!share) return;
        curl_share_setopt(share, CURLSHOPT_LOCKFUNC, LockShare);
        curl_share_setopt(share, CURLSHOPT_UNLOCKFUNC, UnlockShare);
        // Connections are not shared: libcurl's shared connection cache is
        // not safe across concurrent threads. The handle pool reuses them.
        curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
        curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
        g_share = share;
    });
    return g_share;
}

CurlHandles TakeHandles() {
    EnsureCurlGlobal();
    {
        std::lock_guard<std::mutex> lock(g_poolMutex);
        if (!g_initialised || g_released) return {};
        ++g_live;
        if (!g_idle.empty()) {
            CurlHandles h = g_idle.back();
            g_idle.pop_back();
            return h;
        }
    }
    CurlHandles h{curl_easy_init(), curl_multi_init()};
    if (!h.easy || !h.multi) {
        FreeHandles(h);
        std::lock_guard<std::mutex> lock(g_poolMutex);
        --g_live;
        return {};
    }
    curl_multi_setopt(h.multi, CURLMOPT_MAXCONNECTS, 8L);
    return h;
}

void GiveBackHandles(CurlHandles h) {
    if (!h.easy) return;
    {
        std::lock_guard<std::mutex> lock(g_poolMutex);
        --g_live;
        if (!g_released && g_idle.size() < kMaxIdle) {
            g_idle.push_back(h);
            return;
        }
    }
    FreeHandles(h);
}

bool ReleaseCurl() {
    std::vector<CurlHandles> idle;
    {
        std::lock_guard<std::mutex> lock(g_poolMutex);
        if (g_live > 0 || g_released) return false;
        g_released = true;
        idle.swap(g_idle);
    }
    for (auto& h : idle)
        FreeHandles(h);
    if (g_share) curl_share_cleanup(g_share);
    g_share = nullptr;
    if (g_initialised) curl_global_cleanup();
    return true;
}

} // namespace tuji
