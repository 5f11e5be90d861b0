#pragma once

// The program's only way to the web: one request component (one libcurl
// handle) plus a stored cookie text, with the program's defaults and the
// composite fetch operations.
//
// One object belongs to one thread: the thread that created it. Copies
// share the component and carry their own cookie text. Nothing here throws
// or reports: a failed operation gives the empty result of its kind.
//
// All texts are program text (GB18030); bytes are std::string holding raw
// bytes. A fetch made on the thread that owns the QCoreApplication keeps
// processing events while it waits; on other threads it simply blocks.

#include "web/RequestComponent.h"

#include <memory>
#include <optional>
#include <string>

namespace tuji {

class HttpRequest {
public:
    HttpRequest(); // runs Initialise
    HttpRequest(const HttpRequest& other);
    HttpRequest& operator=(const HttpRequest& other);
    HttpRequest(HttpRequest&&) noexcept = default;
    HttpRequest& operator=(HttpRequest&&) noexcept = default;
    ~HttpRequest();

    // --- Lifecycle ---------------------------------------------------------
    void Initialise();
    void Reset();    // a fresh component, same cookies
    void ResetAll(); // Reset, then ClearCookies
    // The component itself, for callers that drive it directly (may be null
    // when it could not be created).
    std::shared_ptr<RequestComponent> RequestObject() const { return request_; }

    // --- Forwarding --------------------------------------------------------
    // Puts "http://" in front of a url that begins with neither "http://"
    // nor "https://" (ignoring case); the caller's text is changed.
    void Open(std::string& url);
    void Open(const std::string& method, std::string& url, bool asynchronous = false);
    // Bytes win over text; with neither no body is sent.
    void Send(const std::string& bodyText = std::string(),
              const std::string& bodyBytes = std::string());
    void SetRequestHeader(const std::string& name, const std::string& value);
    std::string GetResponseHeader(const std::string& name);
    std::string GetAllResponseHeaders(); // lines separated by CR LF
    long Status();
    std::string StatusText();
    std::string ResponseText();
    std::string ResponseBody();
    std::string ResponseStream();
    // Assigns the value when one is given, then reads the option.
    // Index 6 is the redirect switch (0 = do not follow).
    OptionValue Option(int index);
    OptionValue Option(int index, long long value);
    OptionValue Option(int index, const std::string& value);
    OptionValue Option(int index, const OptionValue& value);
    void SetProxy(const std::string& server); // setting 2
    void SetProxy(int setting, const std::string& server, const std::string& bypass = "");
    void SetCredentials(const std::string& user, const std::string& password, int flags = 0);
    bool WaitForResponse(long seconds);
    void Abort();
    // Connect, send and receive that are left out or not above 0 take the
    // resolve value. All in milliseconds.
    void SetTimeouts(long resolve, long connect = 0, long send = 0, long receive = 0);
    void SetClientCertificate(const std::string& name);
    void SetAutoLogonPolicy(int policy);

    // --- Page fetch --------------------------------------------------------
    // One complete request with the program's header set. Every argument but
    // the address has a default; callers in the program give only the
    // address. `proxy`: std::nullopt (not given) is not the same as "".
    // `cookie`: in and out; "-1" sends an empty Cookie header.
    // Result: the response body whatever the status; empty on any failure.
    std::string FetchBytes(const std::string& address, const std::string& postText = "",
                           long timeoutSeconds = 0,
                           const std::optional<std::string>& proxy = std::nullopt,
                           bool synchronous = false, const std::string& postBytes = "",
                           const std::string& referer = "", std::string* cookie = nullptr,
                           bool keepCookies = false, const std::string& contentType = "",
                           const std::string& userAgent = "");
    // The same request; the body decoded by `encoding` (see web/PageText.h:
    // 0 detects, -1 gives the raw body up to its first zero byte, -2 the
    // component's own decoding).
    std::string FetchText(const std::string& address, const std::string& postText = "",
                          int encoding = 0, double timeoutSeconds = 0,
                          const std::optional<std::string>& proxy = std::nullopt,
                          bool synchronous = false, const std::string& postBytes = "",
                          const std::string& referer = "", std::string* cookie = nullptr,
                          bool keepCookies = false, const std::string& contentType = "",
                          const std::string& userAgent = "");

    // The "Location" header of the address, without following redirects.
    // RedirectTarget prefixes "http://" in the caller's address as Open does.
    std::string RedirectTarget(std::string& address, bool synchronous = false,
                               const std::string& referer = "");
    std::string RedirectTargetSimple(const std::string& address);

    // --- Cookies of the last response ----------------------------------------
    std::string SetCookieLines();
    std::string ResponseCookies();
    std::string CookieValue(const std::string& name);
    std::string ClearCookies(); // empties the stored cookie string; returns ""
    const std::string& StoredCookies() const { return cookies_; }

private:
    std::string Fetch(const std::string& address, const std::string& postText, bool noTimeouts,
                      bool defaultTimeouts, long sendReceiveMs, long waitSeconds,
                      const std::optional<std::string>& proxy, bool synchronous,
                      const std::string& postBytes, const std::string& referer, std::string* cookie,
                      bool keepCookies, const std::string& contentType,
                      const std::string& userAgent);

    std::shared_ptr<RequestComponent> request_;
    std::string cookies_;
};

// The program's request defaults.
extern const char* const kDefaultUserAgent;
extern const char* const kAcceptLanguage;
extern const char* const kConnection;
extern const char* const kAcceptList;
extern const char* const kDefaultContentType;
extern const char* const kDefaultMethod;
extern const char* const kUrlPrefix;

} // namespace tuji
