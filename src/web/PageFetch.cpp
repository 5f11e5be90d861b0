// The composite operations of HttpRequest: page fetch, redirect target,
// cookies of the last response.

#include "text/Chars.h"
#include "text/TextOps.h"
#include "web/HttpRequest.h"
#include "web/PageText.h"
#include "web/SystemProxy.h"

#include <QCoreApplication>
#include <cmath>

namespace tuji {

namespace {

constexpr double kTolerance = 0.0000001;
constexpr long kDefaultWaitSeconds = 120;

bool IsBlankAt(const std::string& s, size_t i, size_t len) {
    if (len == 1) return s[i] == ' ' || s[i] == '\t' || s[i] == '\r' || s[i] == '\n';
    // The full-width space of GBK.
    return len == 2 && static_cast<unsigned char>(s[i]) == 0xA1 &&
           static_cast<unsigned char>(s[i + 1]) == 0xA1;
}

// The address without spaces (also full-width ones) and line breaks at
// either end, walking whole characters so no trail byte is mistaken.
std::string TrimAddress(const std::string& s) {
    size_t begin = std::string::npos, end = 0;
    for (size_t i = 0; i < s.size();) {
        size_t len = CharLength(s, i);
        if (!IsBlankAt(s, i, len)) {
            if (begin == std::string::npos) begin = i;
            end = i + len;
        }
        i += len;
    }
    return begin == std::string::npos ? std::string() : s.substr(begin, end - begin);
}

enum class TimeoutRule { LeaveAlone, Defaults, Given };

} // namespace

std::string HttpRequest::FetchBytes(const std::string& address, const std::string& postText,
                                    long timeoutSeconds, const std::optional<std::string>& proxy,
                                    bool synchronous, const std::string& postBytes,
                                    const std::string& referer, std::string* cookie,
                                    bool keepCookies, const std::string& contentType,
                                    const std::string& userAgent) {
    long t = timeoutSeconds;
    return Fetch(address, postText, t == -1, t < 1, t * 1000, t < 1 ? kDefaultWaitSeconds : t,
                 proxy, synchronous, postBytes, referer, cookie, keepCookies, contentType,
                 userAgent);
}

std::string HttpRequest::FetchText(const std::string& address, const std::string& postText,
                                   int encoding, double timeoutSeconds,
                                   const std::optional<std::string>& proxy, bool synchronous,
                                   const std::string& postBytes, const std::string& referer,
                                   std::string* cookie, bool keepCookies,
                                   const std::string& contentType, const std::string& userAgent) {
    double t = timeoutSeconds;
    bool leaveAlone = std::fabs(t + 1) < kTolerance;
    bool below1 = t - 1 < -kTolerance;
    std::string body = Fetch(
        address, postText, leaveAlone, below1, below1 ? 0 : static_cast<long>(std::trunc(t * 1000)),
        below1 ? kDefaultWaitSeconds : static_cast<long>(std::trunc(t)), proxy, synchronous,
        postBytes, referer, cookie, keepCookies, contentType, userAgent);
    try {
        if (encoding == -2) return ResponseText();
        if (encoding == -1) return std::string(TextBeforeZero(body));
        return DecodePageText("", encoding, nullptr, nullptr, body);
    } catch (...) {
        return {};
    }
}

std::string HttpRequest::Fetch(const std::string& address, const std::string& postText,
                               bool noTimeouts, bool defaultTimeouts, long sendReceiveMs,
                               long waitSeconds, const std::optional<std::string>& proxy,
                               bool synchronous, const std::string& postBytes,
                               const std::string& referer, std::string* cookie, bool keepCookies,
                               const std::string& contentType, const std::string& userAgent) {
    auto keep = request_; // see HttpRequest.cpp
    if (!keep) return {};
    try {
        const std::string trimmed = TrimAddress(address);
        const bool post = !postText.empty() || !postBytes.empty();
        std::string url = trimmed;
        Open(post ? "POST" : "GET", url, !synchronous);

        SetRequestHeader("Referer", referer.empty() ? trimmed : referer);
        SetRequestHeader("Content-Type", contentType.empty() ? kDefaultContentType : contentType);
        SetRequestHeader("User-Agent", userAgent.empty() ? kDefaultUserAgent : userAgent);

        std::string cookieArg = cookie ? *cookie : std::string();
        if (!cookies_.empty() && cookieArg.empty()) {
            cookieArg = cookies_;
            if (cookie) *cookie = cookieArg;
        }
        if (cookieArg == "-1")
            SetRequestHeader("Cookie", "");
        else if (!cookieArg.empty())
            SetRequestHeader("Cookie", cookieArg);

        if (!noTimeouts) {
            if (defaultTimeouts)
                SetTimeouts(10000, 10000, 120000, 60000);
            else
                SetTimeouts(10000, 10000, sendReceiveMs, sendReceiveMs);
        }

        if (proxy && *proxy != "-1") {
            std::string server = *proxy == "IE" ? SystemProxyServer() : *proxy;
            if (QCoreApplication::instance()) QCoreApplication::processEvents();
            SetProxy(server.empty() ? 0 : 2, server, "");
        }

        Send(postText, postBytes);
        if (!synchronous) WaitForResponse(waitSeconds);
        if (keepCookies) cookies_ = ResponseCookies();
        return ResponseBody();
    } catch (...) {
        return {};
    }
}

// Asks without following redirects, then restores the switch: a later
// page fetch on this object must follow redirects again.
std::string HttpRequest::RedirectTarget(std::string& address, bool synchronous,
                                        const std::string& referer) {
    auto keep = request_;
    if (!keep) return {};
    try {
        OptionValue before = Option(kOptionEnableRedirects);
        Option(kOptionEnableRedirects, 0LL);
        SetTimeouts(5000, 5000, 10000, 5000);
        Open("GET", address, !synchronous);
        SetRequestHeader("User-Agent", kDefaultUserAgent);
        SetRequestHeader("Accept-Language", kAcceptLanguage);
        SetRequestHeader("Connection", kConnection);
        SetRequestHeader("Accept", kAcceptList);
        SetRequestHeader("Referer", referer.empty() ? TrimAddress(address) : referer);
        Send();
        if (!synchronous) WaitForResponse(25);
        std::string location = GetResponseHeader("Location");
        Option(kOptionEnableRedirects, before);
        return location;
    } catch (...) {
        return {};
    }
}

std::string HttpRequest::RedirectTargetSimple(const std::string& address) {
    auto r = request_;
    if (!r) return {};
    try {
        OptionValue before = r->Option(kOptionEnableRedirects);
        r->SetOption(kOptionEnableRedirects, 0LL);
        r->SetTimeouts(5000, 5000, 10000, 5000);
        r->Open("GET", address, false);
        r->SetRequestHeader("User-Agent", kDefaultUserAgent);
        r->SetRequestHeader("Accept-Language", kAcceptLanguage);
        r->SetRequestHeader("Connection", kConnection);
        r->SetRequestHeader("Accept", kAcceptList);
        r->Send();
        std::string location = r->GetResponseHeader("Location");
        r->SetOption(kOptionEnableRedirects, before);
        return location;
    } catch (...) {
        return {};
    }
}

std::string HttpRequest::SetCookieLines() {
    std::string lines;
    for (const auto& line : SplitText(GetAllResponseHeaders(), "\r\n")) {
        if (StartsWithText(line, "Set-Cookie:")) {
            lines += line;
            lines += "\r\n";
        }
    }
    return lines;
}

std::string HttpRequest::ResponseCookies() {
    std::string cookies = ReplaceText(SetCookieLines(), "Set-Cookie: ", "");
    return ReplaceText(cookies, "\r\n", "; ");
}

std::string HttpRequest::CookieValue(const std::string& name) {
    const std::string all = GetAllResponseHeaders();
    auto valueAfter = [&all](const std::string& marker) -> std::string {
        int at = FindText(all, marker);
        if (at < 0) return {};
        int start = at + static_cast<int>(marker.size());
        int end = FindText(all, ";", start);
        if (end < 0) return {};
        return MidText(all, start, end - start);
    };
    std::string value = valueAfter("Set-Cookie: " + name + "=");
    if (value.empty()) value = valueAfter("Set-Cookie:" + name + "=");
    return value;
}

std::string HttpRequest::ClearCookies() {
    cookies_.clear();
    return {};
}

} // namespace tuji
