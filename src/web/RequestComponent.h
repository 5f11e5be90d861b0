#pragma once

// Our scriptable HTTP request component: one libcurl handle driven through
// the members a script would call ("Open", "Send", "WaitForResponse", ...).
// It knows nothing of the program's defaults; HttpRequest adds those.
//
// One instance per thread, never shared. Every member is quiet: a failure
// leaves the empty result of its kind and the object usable.
//
// Urls and header values are program text (GB18030). The url goes to
// libcurl as UTF-8 with non-ASCII bytes and spaces percent-encoded.
//
// Waiting: on the thread that owns the QCoreApplication the transfer is
// polled in steps of at most 10 ms with pending events processed between
// them; other threads block. A member called while this instance is in
// the middle of a transfer (re-entered from an event) does nothing.

#include <memory>
#include <string>
#include <variant>

namespace tuji {

// The value of an "Option": none, a whole number, or a text (or bytes).
using OptionValue = std::variant<std::monostate, long long, std::string>;

// Indices of "Option" that the component acts on.
enum RequestOptionIndex {
    kOptionUserAgent = 0,       // text: the user agent sent when no header sets one
    kOptionUrl = 1,             // read only: the url of the current request
    kOptionEnableRedirects = 6, // 0 = do not follow redirects; followed by default
};

class RequestComponent {
public:
    RequestComponent();
    ~RequestComponent();
    RequestComponent(const RequestComponent&) = delete;
    RequestComponent& operator=(const RequestComponent&) = delete;

    // False when libcurl could not give a handle; every member is then inert.
    bool valid() const;

    // Starts a new request. Request headers and credentials belong to one
    // request; timeouts, options and the proxy stay for the next ones.
    void Open(const std::string& method, const std::string& url, bool asynchronous = false);
    void Send();
    void Send(const std::string& body); // sent as the bytes given
    void SetRequestHeader(const std::string& name, const std::string& value);
    std::string GetResponseHeader(const std::string& name);
    std::string GetAllResponseHeaders();
    long Status();
    std::string StatusText();
    std::string ResponseText(); // decoded by the response's charset, UTF-8 when none
    std::string ResponseBody();
    std::string ResponseStream(); // the body bytes
    OptionValue Option(int index);
    void SetOption(int index, const OptionValue& value);
    // setting 2: use `server` ("host:port"), bypassing the hosts of `bypass`
    // (separated by ";" or spaces); 0 or 1: direct connection.
    void SetProxy(int setting, const std::string& server = "", const std::string& bypass = "");
    // flags 0: credentials for the server, 1: for the proxy.
    void SetCredentials(const std::string& user, const std::string& password, int flags = 0);
    // Runs an asynchronous request to its end, at most `seconds` (below 0:
    // no limit). True when a response arrived.
    bool WaitForResponse(long seconds);
    void Abort();
    // Milliseconds; 0 = no limit. Resolve and connect bound the connection,
    // send and receive how long the transfer may stall.
    void SetTimeouts(long resolve, long connect, long send, long receive);
    // A PEM file holding the client certificate (and its key).
    void SetClientCertificate(const std::string& name);
    void SetAutoLogonPolicy(int policy); // kept; there is no automatic logon here

    // Test-only: trust the certificate authority of this PEM file instead of
    // the system store, process-wide, so tests can reach a local TLS server
    // with verification on. An empty path restores the system store.
    static void UseTestCertificateAuthority(const std::string& pemFile);

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

} // namespace tuji
