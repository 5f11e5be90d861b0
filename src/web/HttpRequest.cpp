#include "web/HttpRequest.h"

#include "text/TextOps.h"

namespace tuji {

const char* const kDefaultUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)";
const char* const kAcceptLanguage = "zh-cn";
const char* const kConnection = "Keep-Alive";
const char* const kAcceptList = "image/gif, image/x-xbitmap, image/jpeg, imagepeg, "
                                "application/x-shockwave-flash, application/x-silverlight, */*";
const char* const kDefaultContentType = "application/x-www-form-urlencoded";
const char* const kDefaultMethod = "GET";
const char* const kUrlPrefix = "http://";

HttpRequest::HttpRequest() {
    Initialise();
}

HttpRequest::HttpRequest(const HttpRequest& other)
    : request_(other.request_), cookies_(other.cookies_) {}

HttpRequest& HttpRequest::operator=(const HttpRequest& other) {
    request_ = other.request_;
    cookies_ = other.cookies_;
    return *this;
}

HttpRequest::~HttpRequest() = default;

void HttpRequest::Initialise() {
    try {
        auto component = std::make_shared<RequestComponent>();
        request_ = component->valid() ? std::move(component) : nullptr;
    } catch (...) {
        request_ = nullptr;
    }
}

void HttpRequest::Reset() {
    request_.reset();
    Initialise();
}

void HttpRequest::ResetAll() {
    Reset();
    ClearCookies();
}

// Every forwarding member keeps its own reference while it runs: a fetch
// on the user-interface thread processes events, and one of them may drop
// this object's component.

void HttpRequest::Open(std::string& url) {
    Open(kDefaultMethod, url, false);
}

void HttpRequest::Open(const std::string& method, std::string& url, bool asynchronous) {
    auto r = request_;
    if (!r) return;
    // Addresses without a scheme are taken as plain http; a secure address
    // keeps its scheme.
    if (!StartsWithText(url, "http://", Case::Ignore) &&
        !StartsWithText(url, "https://", Case::Ignore))
        url = kUrlPrefix + url;
    r->Open(method.empty() ? std::string(kDefaultMethod) : method, url, asynchronous);
}

void HttpRequest::Send(const std::string& bodyText, const std::string& bodyBytes) {
    auto r = request_;
    if (!r) return;
    if (!bodyBytes.empty())
        r->Send(bodyBytes);
    else if (!bodyText.empty())
        r->Send(bodyText);
    else
        r->Send();
}

void HttpRequest::SetRequestHeader(const std::string& name, const std::string& value) {
    if (auto r = request_) r->SetRequestHeader(name, value);
}

std::string HttpRequest::GetResponseHeader(const std::string& name) {
    auto r = request_;
    return r ? r->GetResponseHeader(name) : std::string();
}

std::string HttpRequest::GetAllResponseHeaders() {
    auto r = request_;
    return r ? r->GetAllResponseHeaders() : std::string();
}

long HttpRequest::Status() {
    auto r = request_;
    return r ? r->Status() : 0;
}

std::string HttpRequest::StatusText() {
    auto r = request_;
    return r ? r->StatusText() : std::string();
}

std::string HttpRequest::ResponseText() {
    auto r = request_;
    return r ? r->ResponseText() : std::string();
}

std::string HttpRequest::ResponseBody() {
    auto r = request_;
    return r ? r->ResponseBody() : std::string();
}

std::string HttpRequest::ResponseStream() {
    auto r = request_;
    return r ? r->ResponseStream() : std::string();
}

OptionValue HttpRequest::Option(int index) {
    return Option(index, OptionValue());
}

OptionValue HttpRequest::Option(int index, long long value) {
    return Option(index, OptionValue(value));
}

OptionValue HttpRequest::Option(int index, const std::string& value) {
    return Option(index, OptionValue(value));
}

OptionValue HttpRequest::Option(int index, const OptionValue& value) {
    auto r = request_;
    if (!r) return {};
    if (!std::holds_alternative<std::monostate>(value)) r->SetOption(index, value);
    return r->Option(index);
}

void HttpRequest::SetProxy(const std::string& server) {
    SetProxy(2, server, "");
}

void HttpRequest::SetProxy(int setting, const std::string& server, const std::string& bypass) {
    if (auto r = request_) r->SetProxy(setting, server, bypass);
}

void HttpRequest::SetCredentials(const std::string& user, const std::string& password, int flags) {
    if (auto r = request_) r->SetCredentials(user, password, flags);
}

bool HttpRequest::WaitForResponse(long seconds) {
    auto r = request_;
    return r ? r->WaitForResponse(seconds) : false;
}

void HttpRequest::Abort() {
    if (auto r = request_) r->Abort();
}

void HttpRequest::SetTimeouts(long resolve, long connect, long send, long receive) {
    auto r = request_;
    if (!r) return;
    if (connect <= 0) connect = resolve;
    if (send <= 0) send = resolve;
    if (receive <= 0) receive = resolve;
    r->SetTimeouts(resolve, connect, send, receive);
}

void HttpRequest::SetClientCertificate(const std::string& name) {
    if (auto r = request_) r->SetClientCertificate(name);
}

void HttpRequest::SetAutoLogonPolicy(int policy) {
    if (auto r = request_) r->SetAutoLogonPolicy(policy);
}

} // namespace tuji
