#include "RawCapture.h"
#include "support/LocalHttpServer.h"
#include "text/Encoding.h"
#include "web/HttpRequest.h"

#include <QCoreApplication>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace tuji;
using tuji::test::LocalHttpServer;
using tuji::test::ServedResponse;

namespace {

std::string Gb(const char* utf8) {
    return *ConvertEncoding(utf8, "UTF-8", "GB18030");
}
std::string To(const char* utf8, const char* to) {
    return *ConvertEncoding(utf8, "UTF-8", to);
}

// A port on 127.0.0.1 that nothing listens on.
int ClosedPort() {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    close(s);
    return ntohs(a.sin_port);
}

class PageFetch : public ::testing::Test {
protected:
    void SetUp() override {
        server.Serve("/page", ServedResponse::Text("hello page"));
        server.Serve("/missing", ServedResponse::Text("<title>404</title>", "text/html", 404));
        server.Redirect("/old", "/page");
        ASSERT_TRUE(server.Start());
    }
    LocalHttpServer server;
    HttpRequest http;
};

double SecondsSince(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

} // namespace

TEST_F(PageFetch, OnlyTheAddressSendsTheProgramsRequest) {
    const std::string url = server.Url("/page");
    EXPECT_EQ(http.FetchBytes("  " + url + Gb("　")), "hello page");
    auto seen = server.LastRequest();
    EXPECT_EQ(seen.method, "GET");
    EXPECT_EQ(seen.Header("Referer"), url);
    EXPECT_EQ(seen.Header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(seen.Header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)");
    EXPECT_FALSE(seen.HasHeader("Cookie"));
    EXPECT_EQ(seen.body, "");

    // Error pages come back like any other body; redirects are followed.
    EXPECT_EQ(http.FetchBytes(server.Url("/missing")), "<title>404</title>");
    EXPECT_EQ(http.Status(), 404);
    EXPECT_EQ(http.StatusText(), "Not Found");
    EXPECT_EQ(http.FetchBytes(server.Url("/old")), "hello page");
    EXPECT_EQ(server.LastRequest().path, "/page");
    EXPECT_EQ(http.Status(), 200);
}

TEST_F(PageFetch, HeadersGoOutInTheProgramsOrder) {
    test::RawCapture raw("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok");
    std::string cookie = "c=1";
    EXPECT_EQ(http.FetchBytes(raw.Url("/r"), "", 0, std::nullopt, false, "", "", &cookie), "ok");
    std::string request = raw.Request();
    size_t referer = request.find("\r\nReferer: " + raw.Url("/r") + "\r\n");
    size_t type = request.find("\r\nContent-Type: application/x-www-form-urlencoded\r\n");
    size_t agent = request.find("\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0;");
    size_t cookieAt = request.find("\r\nCookie: c=1\r\n");
    ASSERT_NE(cookieAt, std::string::npos) << request;
    EXPECT_LT(referer, type) << request;
    EXPECT_LT(type, agent) << request;
    EXPECT_LT(agent, cookieAt) << request;
    EXPECT_EQ(request.find("Expect:"), std::string::npos) << request;
}

TEST_F(PageFetch, CallerArgumentsReplaceTheDefaults) {
    std::string cookie = "k=v";
    http.FetchBytes(server.Url("/page"), "", 0, std::nullopt, true, "", "http://ref/", &cookie,
                    false, "text/plain", "agent/1");
    auto seen = server.LastRequest();
    EXPECT_EQ(seen.Header("Referer"), "http://ref/");
    EXPECT_EQ(seen.Header("Content-Type"), "text/plain");
    EXPECT_EQ(seen.Header("User-Agent"), "agent/1");
    EXPECT_EQ(seen.Header("Cookie"), "k=v");
}

TEST_F(PageFetch, PostBytesWinOverPostText) {
    http.FetchBytes(server.Url("/page"), "text=1", 0, std::nullopt, false, "BYTES");
    EXPECT_EQ(server.LastRequest().method, "POST");
    EXPECT_EQ(server.LastRequest().body, "BYTES");
    http.FetchBytes(server.Url("/page"), "text=1");
    EXPECT_EQ(server.LastRequest().method, "POST");
    EXPECT_EQ(server.LastRequest().body, "text=1");
}

TEST_F(PageFetch, ProgramTextAddressesArePercentEncoded) {
    server.Serve(std::string(u8"/图 片.jpg"), ServedResponse::Bytes("JPEG"));
    EXPECT_EQ(http.FetchBytes(server.Url(Gb("/图 片.jpg"))), "JPEG");
    EXPECT_EQ(server.LastRequest().target, "/%E5%9B%BE%20%E7%89%87.jpg");
}

TEST_F(PageFetch, CookiesKeptSentAndRefused) {
    ServedResponse withCookies = ServedResponse::Text("c");
    withCookies.WithHeader("Set-Cookie", "a=1; path=/").WithHeader("Set-Cookie", "b=2");
    server.Serve("/cookies", withCookies);

    http.FetchBytes(server.Url("/cookies"), "", 0, std::nullopt, false, "", "", nullptr, true);
    EXPECT_EQ(http.SetCookieLines(), "Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n");
    EXPECT_EQ(http.StoredCookies(), "a=1; path=/; b=2; ");
    EXPECT_EQ(http.CookieValue("a"), "1");
    // b has no ";" on its line: the value runs to the next ";" anywhere,
    // and there is none.
    EXPECT_EQ(http.CookieValue("b"), "");

    // The stored string is sent, and handed to the caller's variable.
    std::string cookie;
    http.FetchBytes(server.Url("/page"), "", 0, std::nullopt, false, "", "", &cookie);
    // (The server drops the trailing space of header values.)
    EXPECT_EQ(server.LastRequest().Header("Cookie"), "a=1; path=/; b=2;");
    EXPECT_EQ(cookie, "a=1; path=/; b=2; ");

    // "-1": an empty Cookie header, the stored string unused.
    test::RawCapture raw("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok");
    cookie = "-1";
    EXPECT_EQ(http.FetchBytes(raw.Url("/r"), "", 0, std::nullopt, false, "", "", &cookie), "ok");
    std::string request = raw.Request();
    EXPECT_NE(request.find("\r\nCookie:\r\n"), std::string::npos) << request;

    // Keeping the cookies of a response without any empties the store.
    http.FetchBytes(server.Url("/page"), "", 0, std::nullopt, false, "", "", nullptr, true);
    EXPECT_EQ(http.StoredCookies(), "");
    EXPECT_EQ(http.ResponseCookies(), "");

    HttpRequest copy = http;
    EXPECT_EQ(copy.ClearCookies(), "");
}

TEST_F(PageFetch, CookieValueRunsIntoTheNextLine) {
    ServedResponse r = ServedResponse::Text("c");
    r.WithHeader("Set-Cookie", "a=1").WithHeader("Set-Cookie", "b=2; path=/");
    server.Serve("/c", r);
    http.FetchBytes(server.Url("/c"));
    EXPECT_EQ(http.CookieValue("a"), "1\r\nSet-Cookie: b=2");
    EXPECT_EQ(http.CookieValue("b"), "2");
    EXPECT_EQ(http.CookieValue("B"), ""); // letter case counts
}

TEST_F(PageFetch, RedirectTargetDoesNotFollow) {
    std::string address = server.Url("/old");
    EXPECT_EQ(http.RedirectTarget(address), "/page");
    EXPECT_EQ(server.LastRequest().path, "/old");
    EXPECT_EQ(server.LastRequest().Header("Accept-Language"), "zh-cn");
    EXPECT_EQ(server.LastRequest().Header("Referer"), address);
    EXPECT_EQ(http.RedirectTargetSimple(server.Url("/old")), "/page");
    EXPECT_FALSE(server.LastRequest().HasHeader("Referer"));
    // Later page fetches on the same object follow redirects again.
    EXPECT_EQ(http.FetchBytes(server.Url("/old")), "hello page");

    std::string bare = "127.0.0.1:" + std::to_string(server.Port()) + "/old";
    EXPECT_EQ(http.RedirectTarget(bare), "/page");
    EXPECT_EQ(bare, server.Url("/old")); // the prefix lands in the caller's text
}

TEST_F(PageFetch, OptionSixTurnsRedirectsOff) {
    EXPECT_EQ(http.Option(6), OptionValue(1LL));
    EXPECT_EQ(http.Option(6, 0), OptionValue(0LL));
    EXPECT_EQ(http.FetchBytes(server.Url("/old")), "<title>moved</title>");
    EXPECT_EQ(http.Status(), 302);
    EXPECT_EQ(http.GetResponseHeader("location"), "/page");
    // A copy shares the component, so it shares the switch too.
    HttpRequest copy = http;
    EXPECT_EQ(copy.Option(6), OptionValue(0LL));
    http.Reset();
    EXPECT_EQ(http.Option(6), OptionValue(1LL));
    EXPECT_EQ(copy.Option(6), OptionValue(0LL));
}

TEST_F(PageFetch, ForwardingMembers) {
    std::string url = server.Url("/page");
    http.Open("GET", url, true);
    http.SetRequestHeader("X-One", "1");
    http.Send();
    EXPECT_TRUE(http.WaitForResponse(5));
    EXPECT_EQ(http.ResponseBody(), "hello page");
    EXPECT_EQ(http.ResponseText(), "hello page");
    EXPECT_EQ(server.LastRequest().Header("X-One"), "1");
    std::string all = http.GetAllResponseHeaders();
    EXPECT_NE(all.find("Content-Type: text/html\r\n"), std::string::npos) << all;
    EXPECT_EQ(all.find("HTTP/"), std::string::npos); // no status line

    // A request never sent has no response.
    http.Open("GET", url);
    EXPECT_EQ(http.Status(), 0);
    EXPECT_EQ(http.ResponseBody(), "");

    struct {
        std::string in, out;
    } prefixes[] = {
        {"example.invalid/a", "http://example.invalid/a"},
        {"HTTP://example.invalid/", "HTTP://example.invalid/"},
        {"https://example.invalid/", "https://example.invalid/"},
        {"HTTPS://example.invalid/", "HTTPS://example.invalid/"},
        {"ftp://example.invalid/", "http://ftp://example.invalid/"},
    };
    for (auto& p : prefixes) {
        http.Open("GET", p.in);
        EXPECT_EQ(p.in, p.out);
    }
}

TEST_F(PageFetch, ResponseTextFollowsTheDeclaredCharset) {
    server.Serve("/gbk", ServedResponse::Text(Gb("中文"), "text/html; charset=GBK"));
    EXPECT_EQ(http.FetchText(server.Url("/gbk"), "", -2), Gb("中文"));
    EXPECT_EQ(http.FetchText(server.Url("/gbk"), "", -1), Gb("中文"));
}

TEST_F(PageFetch, KeywordPageStyleFetchDecodesEveryEncoding) {
    const std::string expected = Gb("图片搜索结果");
    server.Serve("/gbk", ServedResponse::Text(expected, "text/html"));
    server.Serve("/utf8", ServedResponse::Text(To("图片搜索结果", "UTF-8"), "application/json"));
    server.Serve("/utf16",
                 ServedResponse::Text("\xFF\xFE" + To("图片搜索结果", "UTF-16LE"), "text/plain"));
    const std::string head = "<html><head><meta charset=\"big5\"></head>";
    server.Serve("/big5", ServedResponse::Text(head + To("圖片搜尋結果", "BIG5")));
    EXPECT_EQ(http.FetchText(server.Url("/gbk")), expected);
    EXPECT_EQ(http.FetchText(server.Url("/utf8")), expected);
    EXPECT_EQ(http.FetchText(server.Url("/utf16")), expected);
    EXPECT_EQ(http.FetchText(server.Url("/big5")), head + Gb("圖片搜尋結果"));
}

TEST_F(PageFetch, ProxyRules) {
    // Another local server plays the proxy: it sees the absolute address.
    LocalHttpServer proxy;
    proxy.Serve("http://127.0.0.1:" + std::to_string(server.Port()) + "/page",
                ServedResponse::Text("via proxy"));
    ASSERT_TRUE(proxy.Start());
    const std::string proxyText = "127.0.0.1:" + std::to_string(proxy.Port());
    EXPECT_EQ(http.FetchBytes(server.Url("/page"), "", 0, proxyText), "via proxy");
    EXPECT_EQ(proxy.RequestCount(), 1u);
    // The proxy stays set on the component until a fetch sets another:
    // "" and "IE" (no system setting here) mean a direct connection.
    EXPECT_EQ(http.FetchBytes(server.Url("/page"), "", 0, std::string("-1")), "via proxy");
    EXPECT_EQ(http.FetchBytes(server.Url("/page"), "", 0, std::string("")), "hello page");
    EXPECT_EQ(http.FetchBytes(server.Url("/page"), "", 0, proxyText), "via proxy");
    EXPECT_EQ(http.FetchBytes(server.Url("/page"), "", 0, std::string("IE")), "hello page");
    EXPECT_EQ(proxy.RequestCount(), 3u);
}

TEST_F(PageFetch, HttpsReachesTheLocalTlsServer) {
    LocalHttpServer tls(LocalHttpServer::Tls);
    tls.Serve("/secure.jpg", ServedResponse::Bytes("SECRET"));
    ASSERT_TRUE(tls.Start());
    // Verification stays on: without the test authority the server is refused.
    RequestComponent::UseTestCertificateAuthority("");
    EXPECT_EQ(http.FetchBytes(tls.Url("/secure.jpg")), "");
    RequestComponent::UseTestCertificateAuthority(LocalHttpServer::TestCaFile());
    EXPECT_EQ(http.FetchBytes(tls.Url("/secure.jpg")), "SECRET");
    std::string address = tls.Url("/secure.jpg");
    http.Open("GET", address);
    EXPECT_EQ(address, tls.Url("/secure.jpg"));
    RequestComponent::UseTestCertificateAuthority("");
}

TEST_F(PageFetch, BadServersGiveEmptyResults) {
    server.Silent("/silent");
    server.Redirect("/loop", "/loop");
    ServedResponse broken = ServedResponse::Bytes(std::string(1000, 'x'));
    broken.announcedLength = 5000;
    server.Serve("/broken", broken);
    ServedResponse huge = ServedResponse::Bytes("x");
    huge.announcedLength = (size_t(1) << 30) + 1;
    server.Serve("/huge", huge);
    ServedResponse slow = ServedResponse::Bytes(std::string(40, 's'));
    slow.pieceSize = 1;
    slow.pieceDelay = std::chrono::milliseconds(100);
    server.Serve("/slow", slow);

    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(http.FetchText(server.Url("/silent"), "", 0, 1.2), "");
    double silentSeconds = SecondsSince(start);
    EXPECT_LT(silentSeconds, 10.0) << "the receive limit did not end the wait";

    EXPECT_EQ(http.FetchBytes(server.Url("/loop")), "");
    EXPECT_EQ(http.FetchBytes(server.Url("/broken")), "");
    EXPECT_EQ(http.FetchBytes(server.Url("/huge")), "");
    // Each byte comes in time, but the whole takes longer than the wait.
    EXPECT_EQ(http.FetchBytes(server.Url("/slow"), "", 2), "");
    EXPECT_EQ(http.FetchBytes("http://127.0.0.1:" + std::to_string(ClosedPort()) + "/x"), "");
    EXPECT_EQ(http.FetchBytes(""), "");
    test::RawCapture resetting("");
    EXPECT_EQ(http.FetchBytes(resetting.Url("/r")), "");
    EXPECT_EQ(http.FetchBytes("http://[bad"), "");
    // Still usable afterwards.
    EXPECT_EQ(http.FetchBytes(server.Url("/page")), "hello page");
}

TEST_F(PageFetch, MissingTimeoutsTakeTheResolveValue) {
    server.Silent("/silent");
    // Connect, send and receive left out or not above 0 take 400 ms: the
    // silent server is given up on long before the component's own
    // 30-second receive limit.
    for (int variant = 0; variant < 2; ++variant) {
        std::string url = server.Url("/silent");
        http.Open("GET", url);
        if (variant == 0)
            http.SetTimeouts(400);
        else
            http.SetTimeouts(400, 400, 0, -1);
        auto start = std::chrono::steady_clock::now();
        http.Send();
        EXPECT_LT(SecondsSince(start), 10.0) << variant;
        EXPECT_EQ(http.Status(), 0);
        EXPECT_EQ(http.ResponseBody(), "");
    }
}

TEST_F(PageFetch, UserInterfaceThreadKeepsProcessingEvents) {
    ServedResponse late = ServedResponse::Text("late");
    late.delay = std::chrono::milliseconds(400);
    server.Serve("/late", late);
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(10);
    EXPECT_EQ(http.FetchBytes(server.Url("/late")), "late");
    EXPECT_GT(ticks, 5);
}

TEST_F(PageFetch, WorkerThreadsFetchInParallel) {
    ServedResponse image = ServedResponse::Bytes(std::string(3000, 'i'), "image/jpeg");
    server.Serve("/img.jpg", image);
    std::atomic<int> good{0};
    std::vector<std::thread> workers;
    for (int w = 0; w < 10; ++w) {
        workers.emplace_back([&] {
            for (int i = 0; i < 20; ++i) {
                HttpRequest own; // one per download, as the workers do
                if (own.FetchBytes(server.Url("/img.jpg")) == std::string(3000, 'i')) ++good;
            }
        });
    }
    for (auto& t : workers)
        t.join();
    EXPECT_EQ(good.load(), 200);
}

TEST(HttpRequestObject, ConnectionsOutliveOneObject) {
    LocalHttpServer server(LocalHttpServer::Plain, true);
    server.Serve("/img", ServedResponse::Bytes("img"));
    ASSERT_TRUE(server.Start());
    for (int i = 0; i < 3; ++i) {
        HttpRequest own;
        EXPECT_EQ(own.FetchBytes(server.Url("/img")), "img");
    }
    auto seen = server.Requests();
    ASSERT_EQ(seen.size(), 3u);
    // A later worker's object takes over the idle connection of an earlier one.
    EXPECT_EQ(seen[0].remotePort, seen[2].remotePort);
}

TEST(HttpRequestObject, WithoutAComponentEverythingIsEmpty) {
    HttpRequest first;
    HttpRequest second(std::move(first));
    HttpRequest& none = first; // moved from: no component
    std::string url = "http://127.0.0.1:1/";
    none.Open("GET", url);
    none.Send("x");
    EXPECT_EQ(none.FetchBytes(url), "");
    EXPECT_EQ(none.FetchText(url), "");
    EXPECT_EQ(none.Status(), 0);
    EXPECT_FALSE(none.WaitForResponse(1));
    EXPECT_EQ(none.Option(6), OptionValue());
    EXPECT_EQ(none.GetAllResponseHeaders(), "");
    EXPECT_EQ(none.RequestObject(), nullptr);
    none.Initialise();
    EXPECT_NE(none.RequestObject(), nullptr);
}
