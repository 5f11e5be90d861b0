#pragma once

// A small HTTP or HTTPS server on 127.0.0.1 for tests, running on its own
// threads inside the test process. Register what each path answers, point
// the code under test at Url(path), then look at the requests it saw.
//
//   LocalHttpServer server;                 // or LocalHttpServer(LocalHttpServer::Tls)
//   server.Serve("/a.jpg", ServedResponse::Bytes(jpegBytes, "image/jpeg"));
//   server.Redirect("/old", "/a.jpg");
//   server.Silent("/never");                // accepts, never answers
//   ASSERT_TRUE(server.Start());
//   ... FetchBytes(server.Url("/a.jpg")) ...
//   EXPECT_EQ(server.LastRequest().Header("Referer"), ...);
//
// For HTTPS, let the request component trust TestCaFile():
//   RequestComponent::UseTestCertificateAuthority(LocalHttpServer::TestCaFile());
// The server certificate is valid for 127.0.0.1 and localhost.
//
// Paths are matched exactly, without the query; an unknown path gets 404.
// By default every answer closes its connection, so Stop is immediate; a
// keep-alive server holds idle connections open for a second, and Stop
// may wait that long for them.
// Handlers run on server threads; everything here is thread-safe.

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tuji::test {

struct SeenRequest {
    std::string method;
    std::string path;   // without the query
    std::string target; // as sent: path and query
    std::string body;
    std::multimap<std::string, std::string> headers; // names as sent
    std::map<std::string, std::string> query;        // decoded query parameters
    int remotePort = 0;                              // the same on a reused connection

    bool HasHeader(const std::string& name) const; // name: any letter case
    std::string Header(const std::string& name) const;
};

struct ServedResponse {
    int status = 200;
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers; // sent in this order
    // Pause before the answer (slow server) and between body pieces.
    std::chrono::milliseconds delay{0};
    std::chrono::milliseconds pieceDelay{0};
    size_t pieceSize = 0; // 0: the body in one piece
    // Announce this many bytes (Content-Length) but send only the body and
    // then drop the connection: a server that breaks off mid-answer.
    size_t announcedLength = 0;

    static ServedResponse Text(std::string body, std::string type = "text/html", int status = 200);
    static ServedResponse Bytes(std::string body, std::string type = "application/octet-stream");
    ServedResponse& WithHeader(std::string name, std::string value);
};

class LocalHttpServer {
public:
    enum Kind { Plain, Tls };
    using Handler = std::function<ServedResponse(const SeenRequest&)>;

    explicit LocalHttpServer(Kind kind = Plain, bool keepAlive = false);
    ~LocalHttpServer(); // stops the server, releasing silent requests
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    // Registration may happen before or after Start.
    void On(const std::string& path, Handler handler);
    void Serve(const std::string& path, ServedResponse response);
    void Redirect(const std::string& path, const std::string& location, int status = 302);
    // Takes the request and answers nothing until the server stops.
    void Silent(const std::string& path);

    // Binds a free port on 127.0.0.1 and starts serving. False on failure.
    bool Start();
    void Stop();

    int Port() const;
    std::string BaseUrl() const; // "http://127.0.0.1:PORT" or "https://…"
    std::string Url(const std::string& pathAndQuery) const;

    std::vector<SeenRequest> Requests() const;
    size_t RequestCount() const;
    SeenRequest LastRequest() const; // empty when none
    void ClearRequests();

    // The certificate authority that signed the server's certificate.
    static std::string TestCaFile();

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

} // namespace tuji::test
