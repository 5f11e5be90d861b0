#include "support/LocalHttpServer.h"

#include <algorithm>
#include <condition_variable>
#include <httplib.h>
#include <mutex>
#include <thread>

namespace tuji::test {

namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

std::string DataFile(const char* name) {
    return std::string(TUJI_TEST_DATA) + "/web/" + name;
}

// cpp-httplib listens with a backlog of 5: ten workers connecting at once
// would see dropped connection attempts and a one-second retry. Listening
// again on the bound socket raises the backlog.
template <class Base> struct WideBacklog : Base {
    using Base::Base;
    void RaiseBacklog() { ::listen(this->svr_sock_, 256); }
};
using PlainServer = WideBacklog<httplib::Server>;
using TlsServer = WideBacklog<httplib::SSLServer>;

} // namespace

bool SeenRequest::HasHeader(const std::string& name) const {
    for (const auto& [key, value] : headers)
        if (Lower(key) == Lower(name)) return true;
    return false;
}

std::string SeenRequest::Header(const std::string& name) const {
    for (const auto& [key, value] : headers)
        if (Lower(key) == Lower(name)) return value;
    return {};
}

ServedResponse ServedResponse::Text(std::string body, std::string type, int status) {
    ServedResponse r;
    r.status = status;
    r.body = std::move(body);
    r.headers.emplace_back("Content-Type", std::move(type));
    return r;
}

ServedResponse ServedResponse::Bytes(std::string body, std::string type) {
    return Text(std::move(body), std::move(type), 200);
}

ServedResponse& ServedResponse::WithHeader(std::string name, std::string value) {
    headers.emplace_back(std::move(name), std::move(value));
    return *this;
}

struct LocalHttpServer::Impl {
    Kind kind;
    bool keepAlive;
    std::unique_ptr<httplib::Server> server;
    std::thread thread;
    int port = 0;

    mutable std::mutex mutex;
    std::condition_variable stopped; // wakes silent and slow handlers
    bool stopping = false;
    std::map<std::string, Handler> handlers;
    std::vector<SeenRequest> seen;

    // Waits up to `d`; false when the server is stopping.
    bool Pause(std::chrono::milliseconds d) {
        std::unique_lock<std::mutex> lock(mutex);
        return !stopped.wait_for(lock, d, [this] { return stopping; });
    }

    void Handle(const httplib::Request& req, httplib::Response& res);
};

void LocalHttpServer::Impl::Handle(const httplib::Request& req, httplib::Response& res) {
    SeenRequest r;
    r.method = req.method;
    r.path = req.path;
    r.target = req.target;
    r.body = req.body;
    r.remotePort = req.remote_port;
    for (const auto& h : req.headers)
        r.headers.emplace(h.first, h.second);
    for (const auto& p : req.params)
        r.query.emplace(p.first, p.second);

    Handler handler;
    {
        std::lock_guard<std::mutex> lock(mutex);
        seen.push_back(r);
        auto it = handlers.find(req.path);
        if (it != handlers.end()) handler = it->second;
    }
    ServedResponse out =
        handler ? handler(r) : ServedResponse::Text("<title>404</title>not here", "text/html", 404);

    if (out.delay.count() > 0 && !Pause(out.delay)) return;
    res.status = out.status;
    std::string type;
    for (const auto& [name, value] : out.headers) {
        if (Lower(name) == "content-type")
            type = value;
        else
            res.headers.emplace(name, value); // keeps repeated names, in order
    }
    bool streamed = out.pieceSize > 0 || out.announcedLength > out.body.size();
    if (!streamed) {
        if (!type.empty()) res.set_header("Content-Type", type);
        res.body = std::move(out.body);
        return;
    }
    size_t length = std::max(out.announcedLength, out.body.size());
    size_t piece = out.pieceSize > 0 ? out.pieceSize : out.body.size();
    auto body = std::make_shared<std::string>(std::move(out.body));
    auto pieceDelay = out.pieceDelay;
    res.set_content_provider(
        length, type.empty() ? "application/octet-stream" : type,
        [this, body, piece, pieceDelay](size_t offset, size_t, httplib::DataSink& sink) {
            if (offset >= body->size()) return false; // breaks off: fewer bytes than announced
            if (offset > 0 && pieceDelay.count() > 0 && !Pause(pieceDelay)) return false;
            size_t n = std::min(piece, body->size() - offset);
            return sink.write(body->data() + offset, n);
        });
}

LocalHttpServer::LocalHttpServer(Kind kind, bool keepAlive) : d_(std::make_unique<Impl>()) {
    d_->kind = kind;
    d_->keepAlive = keepAlive;
}

LocalHttpServer::~LocalHttpServer() {
    Stop();
}

void LocalHttpServer::On(const std::string& path, Handler handler) {
    std::lock_guard<std::mutex> lock(d_->mutex);
    d_->handlers[path] = std::move(handler);
}

void LocalHttpServer::Serve(const std::string& path, ServedResponse response) {
    On(path, [response](const SeenRequest&) { return response; });
}

void LocalHttpServer::Redirect(const std::string& path, const std::string& location, int status) {
    ServedResponse r = ServedResponse::Text("<title>moved</title>", "text/html", status);
    r.WithHeader("Location", location);
    Serve(path, r);
}

void LocalHttpServer::Silent(const std::string& path) {
    Impl* d = d_.get();
    On(path, [d](const SeenRequest&) {
        d->Pause(std::chrono::hours(1));
        return ServedResponse::Text("", "text/plain", 204);
    });
}

bool LocalHttpServer::Start() {
    if (d_->server) return d_->port > 0;
    if (d_->kind == Tls) {
        d_->server = std::make_unique<TlsServer>(DataFile("server-cert.pem").c_str(),
                                                 DataFile("server-key.pem").c_str());
    } else {
        d_->server = std::make_unique<PlainServer>();
    }
    httplib::Server& s = *d_->server;
    if (!s.is_valid()) return false;
    // Enough threads for ten parallel downloads plus silent requests.
    s.new_task_queue = [] { return new httplib::ThreadPool(32); };
    // An idle kept-alive connection holds a server thread until its
    // timeout, even through stop().
    s.set_keep_alive_timeout(1);
    s.set_tcp_nodelay(true);
    if (!d_->keepAlive) s.set_keep_alive_max_count(1);
    Impl* d = d_.get();
    auto handle = [d](const httplib::Request& req, httplib::Response& res) { d->Handle(req, res); };
    s.Get(".*", handle);
    s.Post(".*", handle);
    s.Put(".*", handle);
    s.Delete(".*", handle);
    s.Patch(".*", handle);
    s.Options(".*", handle);
    d_->port = s.bind_to_any_port("127.0.0.1");
    if (d_->port <= 0) return false;
    if (d_->kind == Tls)
        static_cast<TlsServer&>(s).RaiseBacklog();
    else
        static_cast<PlainServer&>(s).RaiseBacklog();
    d_->thread = std::thread([&s] { s.listen_after_bind(); });
    // stop() does nothing until the server loop runs, so a server stopped
    // right after Start() would never end: wait for the loop here.
    for (int i = 0; i < 5000 && !s.is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

void LocalHttpServer::Stop() {
    if (!d_->server) return;
    {
        std::lock_guard<std::mutex> lock(d_->mutex);
        d_->stopping = true;
    }
    d_->stopped.notify_all();
    d_->server->stop();
    if (d_->thread.joinable()) d_->thread.join();
}

int LocalHttpServer::Port() const {
    return d_->port;
}

std::string LocalHttpServer::BaseUrl() const {
    return std::string(d_->kind == Tls ? "https" : "http") +
           "://127.0.0.1:" + std::to_string(d_->port);
}

std::string LocalHttpServer::Url(const std::string& pathAndQuery) const {
    return BaseUrl() + pathAndQuery;
}

std::vector<SeenRequest> LocalHttpServer::Requests() const {
    std::lock_guard<std::mutex> lock(d_->mutex);
    return d_->seen;
}

size_t LocalHttpServer::RequestCount() const {
    std::lock_guard<std::mutex> lock(d_->mutex);
    return d_->seen.size();
}

SeenRequest LocalHttpServer::LastRequest() const {
    std::lock_guard<std::mutex> lock(d_->mutex);
    return d_->seen.empty() ? SeenRequest() : d_->seen.back();
}

void LocalHttpServer::ClearRequests() {
    std::lock_guard<std::mutex> lock(d_->mutex);
    d_->seen.clear();
}

std::string LocalHttpServer::TestCaFile() {
    return DataFile("test-ca.pem");
}

} // namespace tuji::test
