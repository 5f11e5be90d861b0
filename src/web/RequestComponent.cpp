#include "web/RequestComponent.h"

#include "text/Encoding.h"
#include "text/TextOps.h"
#include "web/CurlAddress.h"
#include "web/CurlShared.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <curl/curl.h>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace tuji {

namespace {

using Clock = std::chrono::steady_clock;

// A response body is held in memory; anything larger is refused.
constexpr curl_off_t kMaxBodyBytes = curl_off_t(1) << 30;
// libcurl's own limit on redirect hops, so a redirect loop ends.
constexpr long kMaxRedirects = 10;
// Steps of the wait: on the user-interface thread no step may hold the
// window longer than 10 ms; elsewhere the step only bounds how late a
// stall or overall limit is noticed.
constexpr int kUiStepMs = 10;
constexpr int kWorkerStepMs = 50;

std::mutex g_caMutex;
std::string g_testCaFile;
std::atomic<bool> g_hasTestCa{false};

std::string TestCaFile() {
    if (!g_hasTestCa.load(std::memory_order_acquire)) return {};
    std::lock_guard<std::mutex> lock(g_caMutex);
    return g_testCaFile;
}

bool OnUiThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

// Header names and values must not smuggle in further lines.
std::string OneLine(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        if (c != '\r' && c != '\n' && c != '\0') out += c;
    return out;
}

bool SameName(const std::string& a, const std::string& b) {
    return LowerAscii(a) == LowerAscii(b);
}

// "a.com; *.b.org <local>" -> "a.com,b.org" for CURLOPT_NOPROXY.
std::string NoProxyList(const std::string& bypass) {
    std::string out;
    std::string item;
    auto flush = [&] {
        if (item.rfind("*.", 0) == 0) item.erase(0, 2);
        if (!item.empty() && item != "<local>") {
            if (!out.empty()) out += ',';
            out += item;
        }
        item.clear();
    };
    for (char c : bypass) {
        if (c == ';' || c == ' ' || c == ',' || c == '\t')
            flush();
        else
            item += c;
    }
    flush();
    return out;
}

class BusyGuard {
public:
    explicit BusyGuard(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyGuard() { busy_ = false; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    bool& busy_;
};

} // namespace

struct RequestComponent::Impl {
    CurlHandles handles;

    // Kept from request to request.
    long resolveMs = 0, connectMs = 60000, sendMs = 30000, receiveMs = 30000;
    std::map<int, OptionValue> options;
    bool followRedirects = true;
    int proxySetting = 0;
    std::string proxyServer, proxyBypass;
    std::string clientCertificate;
    int autoLogonPolicy = 0;

    // The request being prepared.
    enum class State { Idle, Opened, Pending, Done, Failed };
    State state = State::Idle;
    std::string method, url;
    bool asynchronous = false;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string user, password;
    int credentialFlags = 0;
    bool hasCredentials = false;
    std::string body;
    bool hasBody = false;

    // The response.
    long status = 0;
    std::string statusText;
    std::vector<std::string> headerLines;
    std::string responseBody;

    // Transfer bookkeeping, touched by the callbacks.
    bool busy = false;
    bool aborted = false;
    bool overflow = false;
    bool connected = false;
    bool uploading = false;
    bool locationSeen = false;
    curl_off_t lastDown = 0, lastUp = 0;
    Clock::time_point lastActivity;

    ~Impl() {
        if (handles.easy) GiveBackHandles(handles);
    }

    void ClearResponse() {
        status = 0;
        statusText.clear();
        headerLines.clear();
        responseBody.clear();
    }

    bool Perform(long overallMs);
    void SetTransferOptions(curl_slist*& headerList);
    bool RunTransfer(long overallMs);

    static size_t OnBody(char* data, size_t size, size_t count, void* self);
    static size_t OnHeader(char* data, size_t size, size_t count, void* self);
    static int OnProgress(void* self, curl_off_t dlTotal, curl_off_t dlNow, curl_off_t ulTotal,
                          curl_off_t ulNow);
    static int OnConnected(void* self, char*, char*, int, int);
};

size_t RequestComponent::Impl::OnBody(char* data, size_t size, size_t count, void* self) {
    auto* d = static_cast<Impl*>(self);
    size_t n = size * count;
    d->lastActivity = Clock::now();
    if (curl_off_t(d->responseBody.size() + n) > kMaxBodyBytes) {
        d->overflow = true;
        return 0; // ends the transfer with a write error
    }
    try {
        d->responseBody.append(data, n);
    } catch (...) {
        d->overflow = true;
        return 0;
    }
    return n;
}

size_t RequestComponent::Impl::OnHeader(char* data, size_t size, size_t count, void* self) {
    auto* d = static_cast<Impl*>(self);
    size_t n = size * count;
    d->lastActivity = Clock::now();
    try {
        std::string line(data, n);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        if (line.rfind("HTTP/", 0) == 0) {
            // A new response (after a redirect or an interim 1xx) replaces
            // the headers of the previous one.
            d->headerLines.clear();
            d->locationSeen = false;
            d->status = 0;
            d->statusText.clear();
            size_t sp = line.find(' ');
            if (sp != std::string::npos) {
                d->status = static_cast<long>(TextNumber(line.substr(sp + 1)));
                size_t sp2 = line.find(' ', sp + 1);
                if (sp2 != std::string::npos) d->statusText = line.substr(sp2 + 1);
            }
        } else if (line.empty()) {
            // End of this response's headers. A redirect about to be
            // followed opens a new connection, whose own connect limit
            // applies until it is established.
            if (d->followRedirects && d->locationSeen && d->status >= 300 && d->status < 400)
                d->connected = false;
        } else if ((line[0] == ' ' || line[0] == '\t') && !d->headerLines.empty()) {
            d->headerLines.back() += ' ' + TrimSpaces(line);
        } else {
            if (StartsWithText(line, "location:", Case::Ignore)) d->locationSeen = true;
            if (StartsWithText(line, "content-length:", Case::Ignore)) {
                long long announced = TextNumber(TrimSpaces(line.substr(15)));
                if (announced > 0 && announced <= kMaxBodyBytes)
                    d->responseBody.reserve(
                        static_cast<size_t>(std::min<long long>(announced, 16 << 20)));
            }
            d->headerLines.push_back(std::move(line));
        }
    } catch (...) {
        d->overflow = true;
        return 0;
    }
    return n;
}

int RequestComponent::Impl::OnProgress(void* self, curl_off_t, curl_off_t dlNow, curl_off_t ulTotal,
                                       curl_off_t ulNow) {
    auto* d = static_cast<Impl*>(self);
    if (dlNow != d->lastDown || ulNow != d->lastUp) {
        d->lastDown = dlNow;
        d->lastUp = ulNow;
        d->lastActivity = Clock::now();
    }
    d->uploading = ulTotal > 0 && ulNow < ulTotal;
    return d->aborted ? 1 : 0;
}

int RequestComponent::Impl::OnConnected(void* self, char*, char*, int, int) {
    auto* d = static_cast<Impl*>(self);
    d->connected = true;
    d->lastActivity = Clock::now();
    return CURL_PREREQFUNC_OK;
}

void RequestComponent::Impl::SetTransferOptions(curl_slist*& headerList) {
    CURL* e = handles.easy;
    curl_easy_reset(e);
    std::string address = CurlAddress(url);
    curl_easy_setopt(e, CURLOPT_URL, address.c_str()); // libcurl copies strings
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    // HTTP/1.1 keeps header names as the server wrote them ("Set-Cookie").
    curl_easy_setopt(e, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, followRedirects ? 1L : 0L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, kMaxBodyBytes);
    if (CURLSH* share = ProcessShare()) curl_easy_setopt(e, CURLOPT_SHARE, share);

    std::string upper = UpperAscii(method);
    if (upper == "GET" && !hasBody) {
        curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
    } else if (upper == "HEAD" && !hasBody) {
        curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
    } else {
        curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(body.size()));
        curl_easy_setopt(e, CURLOPT_POSTFIELDS, body.data());
        if (upper != "POST") curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, method.c_str());
    }

    bool hasExpect = false;
    for (const auto& [name, value] : headers) {
        if (SameName(name, "Expect")) hasExpect = true;
        // An empty value still goes out ("Name;" is libcurl's way to say so).
        std::string line = value.empty() ? name + ";" : name + ": " + value;
        headerList = curl_slist_append(headerList, line.c_str());
    }
    if (!hasExpect) headerList = curl_slist_append(headerList, "Expect:");
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, headerList);
    auto ua = options.find(kOptionUserAgent);
    if (ua != options.end() && std::holds_alternative<std::string>(ua->second))
        curl_easy_setopt(e, CURLOPT_USERAGENT, std::get<std::string>(ua->second).c_str());

    long connectLimit = (resolveMs > 0 && connectMs > 0) ? resolveMs + connectMs : 0;
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, connectLimit);

    // The component's default proxy configuration is a direct connection;
    // "" also keeps libcurl from reading proxy environment variables.
    std::string proxy = proxySetting == 2 ? TextToUtf8Lenient(proxyServer) : std::string();
    curl_easy_setopt(e, CURLOPT_PROXY, proxy.c_str());
    if (proxySetting == 2 && !proxyBypass.empty())
        curl_easy_setopt(e, CURLOPT_NOPROXY, NoProxyList(proxyBypass).c_str());

    if (hasCredentials) {
        std::string u = TextToUtf8Lenient(user), p = TextToUtf8Lenient(password);
        if (credentialFlags == 1) {
            curl_easy_setopt(e, CURLOPT_PROXYUSERNAME, u.c_str());
            curl_easy_setopt(e, CURLOPT_PROXYPASSWORD, p.c_str());
            curl_easy_setopt(e, CURLOPT_PROXYAUTH, CURLAUTH_ANY);
        } else {
            curl_easy_setopt(e, CURLOPT_USERNAME, u.c_str());
            curl_easy_setopt(e, CURLOPT_PASSWORD, p.c_str());
            curl_easy_setopt(e, CURLOPT_HTTPAUTH, CURLAUTH_ANY);
        }
    }
    if (!clientCertificate.empty()) {
        std::string cert = TextToUtf8Lenient(clientCertificate);
        curl_easy_setopt(e, CURLOPT_SSLCERT, cert.c_str());
    }
    std::string ca = TestCaFile();
    if (!ca.empty()) curl_easy_setopt(e, CURLOPT_CAINFO, ca.c_str());

    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &Impl::OnBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &Impl::OnHeader);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, &Impl::OnProgress);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(e, CURLOPT_PREREQFUNCTION, &Impl::OnConnected);
    curl_easy_setopt(e, CURLOPT_PREREQDATA, this);
}

// Drives the transfer on the multi handle until it ends, fails a limit or
// is aborted. True when a complete response arrived.
bool RequestComponent::Impl::RunTransfer(long overallMs) {
    CURLM* m = handles.multi;
    if (curl_multi_add_handle(m, handles.easy) != CURLM_OK) return false;
    const bool ui = OnUiThread();
    const auto start = Clock::now();
    lastActivity = start;
    bool ok = true;
    for (;;) {
        int running = 0;
        if (curl_multi_perform(m, &running) != CURLM_OK) {
            ok = false;
            break;
        }
        if (running == 0) break;
        auto now = Clock::now();
        auto sinceMs = [now](Clock::time_point t) {
            return std::chrono::duration_cast<std::chrono::milliseconds>(now - t).count();
        };
        if (aborted || (overallMs >= 0 && sinceMs(start) >= overallMs)) {
            ok = false;
            break;
        }
        long stallLimit = uploading ? sendMs : receiveMs;
        if (connected && stallLimit > 0 && sinceMs(lastActivity) >= stallLimit) {
            ok = false;
            break;
        }
        curl_multi_poll(m, nullptr, 0, ui ? kUiStepMs : kWorkerStepMs, nullptr);
        if (ui) QCoreApplication::processEvents();
    }
    if (ok) {
        ok = false;
        int left = 0;
        while (CURLMsg* msg = curl_multi_info_read(m, &left)) {
            if (msg->msg == CURLMSG_DONE && msg->easy_handle == handles.easy)
                ok = msg->data.result == CURLE_OK;
        }
    }
    curl_multi_remove_handle(m, handles.easy);
    return ok && !overflow && !aborted;
}

bool RequestComponent::Impl::Perform(long overallMs) {
    if (busy || !handles.easy) return false;
    BusyGuard guard(busy);
    ClearResponse();
    aborted = overflow = connected = uploading = locationSeen = false;
    lastDown = lastUp = 0;
    curl_slist* headerList = nullptr;
    bool ok = false;
    try {
        SetTransferOptions(headerList);
        ok = RunTransfer(overallMs);
    } catch (...) {
        ok = false;
    }
    curl_slist_free_all(headerList);
    if (ok) {
        long code = 0;
        if (curl_easy_getinfo(handles.easy, CURLINFO_RESPONSE_CODE, &code) == CURLE_OK && code)
            status = code;
        state = State::Done;
    } else {
        ClearResponse();
        state = State::Failed;
    }
    return ok;
}

// --- The members -------------------------------------------------------------

RequestComponent::RequestComponent() : d_(std::make_unique<Impl>()) {
    d_->handles = TakeHandles();
}

RequestComponent::~RequestComponent() = default;

bool RequestComponent::valid() const {
    return d_->handles.easy != nullptr;
}

void RequestComponent::Open(const std::string& method, const std::string& url, bool asynchronous) {
    Impl& d = *d_;
    if (d.busy || !valid()) return;
    d.method = method.empty() ? std::string("GET") : OneLine(method);
    d.url = url;
    d.asynchronous = asynchronous;
    d.headers.clear();
    d.hasCredentials = false;
    d.user.clear();
    d.password.clear();
    d.body.clear();
    d.hasBody = false;
    d.ClearResponse();
    d.state = Impl::State::Opened;
}

void RequestComponent::Send() {
    Impl& d = *d_;
    if (d.busy || d.state != Impl::State::Opened) return;
    d.hasBody = false;
    d.body.clear();
    if (d.asynchronous)
        d.state = Impl::State::Pending;
    else
        d.Perform(-1);
}

void RequestComponent::Send(const std::string& body) {
    Impl& d = *d_;
    if (d.busy || d.state != Impl::State::Opened) return;
    d.body = body;
    d.hasBody = true;
    if (d.asynchronous)
        d.state = Impl::State::Pending;
    else
        d.Perform(-1);
}

void RequestComponent::SetRequestHeader(const std::string& name, const std::string& value) {
    Impl& d = *d_;
    if (d.busy || d.state != Impl::State::Opened) return;
    std::string n = OneLine(TrimSpaces(name));
    if (n.empty() || n.find(':') != std::string::npos) return;
    std::string v = OneLine(value);
    if (SameName(n, "Referer")) v = CurlAddress(v);
    for (auto& header : d.headers) {
        if (SameName(header.first, n)) {
            header.second = v;
            return;
        }
    }
    d.headers.emplace_back(n, v);
}

std::string RequestComponent::GetResponseHeader(const std::string& name) {
    Impl& d = *d_;
    if (d.state == Impl::State::Pending) d.Perform(-1);
    if (d.state != Impl::State::Done) return {};
    std::string prefix = LowerAscii(name) + ":";
    for (const auto& line : d.headerLines) {
        if (StartsWithText(line, prefix, Case::Ignore))
            return TrimSpaces(line.substr(prefix.size()));
    }
    return {};
}

std::string RequestComponent::GetAllResponseHeaders() {
    Impl& d = *d_;
    if (d.state == Impl::State::Pending) d.Perform(-1);
    if (d.state != Impl::State::Done) return {};
    std::string all;
    for (const auto& line : d.headerLines) {
        all += line;
        all += "\r\n";
    }
    return all;
}

long RequestComponent::Status() {
    if (d_->state == Impl::State::Pending) d_->Perform(-1);
    return d_->state == Impl::State::Done ? d_->status : 0;
}

std::string RequestComponent::StatusText() {
    if (d_->state == Impl::State::Pending) d_->Perform(-1);
    return d_->state == Impl::State::Done ? d_->statusText : std::string();
}

std::string RequestComponent::ResponseBody() {
    if (d_->state == Impl::State::Pending) d_->Perform(-1);
    return d_->state == Impl::State::Done ? d_->responseBody : std::string();
}

std::string RequestComponent::ResponseStream() {
    return ResponseBody();
}

std::string RequestComponent::ResponseText() {
    std::string body = ResponseBody();
    if (body.empty()) return {};
    std::string type = GetResponseHeader("Content-Type");
    int at = FindText(type, "charset=", 1, Case::Ignore);
    if (at > 0) {
        std::string charset = MidText(type, at + 8);
        size_t end = charset.find(';');
        if (end != std::string::npos) charset.resize(end);
        charset = TrimSpaces(charset);
        if (charset.size() >= 2 && (charset.front() == '"' || charset.front() == '\''))
            charset = charset.substr(1, charset.size() - 2);
        if (!charset.empty()) {
            if (auto text = ConvertEncoding(body, charset.c_str(), "GB18030")) return *text;
        }
    }
    return Utf8ToTextLenient(body);
}

OptionValue RequestComponent::Option(int index) {
    const Impl& d = *d_;
    if (index == kOptionEnableRedirects) return static_cast<long long>(d.followRedirects ? 1 : 0);
    if (index == kOptionUrl) return d.url;
    auto it = d.options.find(index);
    return it == d.options.end() ? OptionValue() : it->second;
}

void RequestComponent::SetOption(int index, const OptionValue& value) {
    Impl& d = *d_;
    if (d.busy || std::holds_alternative<std::monostate>(value) || index == kOptionUrl) return;
    if (index == kOptionEnableRedirects) {
        if (auto* n = std::get_if<long long>(&value)) {
            d.followRedirects = *n != 0;
        } else {
            std::string t = LowerAscii(TrimSpaces(std::get<std::string>(value)));
            d.followRedirects = !(t.empty() || t == "0" || t == "false");
        }
        return;
    }
    d.options[index] = value;
}

void RequestComponent::SetProxy(int setting, const std::string& server, const std::string& bypass) {
    Impl& d = *d_;
    if (d.busy) return;
    d.proxySetting = setting;
    d.proxyServer = server;
    d.proxyBypass = bypass;
}

void RequestComponent::SetCredentials(const std::string& user, const std::string& password,
                                      int flags) {
    Impl& d = *d_;
    if (d.busy || d.state != Impl::State::Opened) return;
    d.user = user;
    d.password = password;
    d.credentialFlags = flags;
    d.hasCredentials = true;
}

bool RequestComponent::WaitForResponse(long seconds) {
    Impl& d = *d_;
    if (d.state == Impl::State::Pending) return d.Perform(seconds < 0 ? -1 : seconds * 1000);
    return d.state == Impl::State::Done;
}

void RequestComponent::Abort() {
    Impl& d = *d_;
    if (d.busy) {
        d.aborted = true; // the running transfer ends at its next step
        return;
    }
    d.ClearResponse();
    d.state = Impl::State::Idle;
}

void RequestComponent::SetTimeouts(long resolve, long connect, long send, long receive) {
    Impl& d = *d_;
    if (d.busy) return;
    d.resolveMs = std::max(0L, resolve);
    d.connectMs = std::max(0L, connect);
    d.sendMs = std::max(0L, send);
    d.receiveMs = std::max(0L, receive);
}

void RequestComponent::SetClientCertificate(const std::string& name) {
    if (!d_->busy) d_->clientCertificate = name;
}

void RequestComponent::SetAutoLogonPolicy(int policy) {
    d_->autoLogonPolicy = policy;
}

void RequestComponent::UseTestCertificateAuthority(const std::string& pemFile) {
    std::lock_guard<std::mutex> lock(g_caMutex);
    g_testCaFile = pemFile;
    g_hasTestCa.store(!pemFile.empty(), std::memory_order_release);
}

} // namespace tuji
