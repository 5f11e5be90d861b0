#include "FakeSearchService.h"

#include "fs/Files.h"
#include "web/HttpRequest.h"

#include <gtest/gtest.h>

namespace tuji::test {

namespace {

std::string Between(const std::string& s, const std::string& a, const std::string& b,
                    size_t from = 0) {
    size_t i = s.find(a, from);
    if (i == std::string::npos) return {};
    i += a.size();
    size_t j = s.find(b, i);
    return j == std::string::npos ? std::string() : s.substr(i, j - i);
}

} // namespace

FakeSearchService::FakeSearchService() {
    std::string json =
        ReadFileBytes(std::string(TUJI_TEST_DATA) + "/collect/so-j-2018-page-62hits.json");
    EXPECT_FALSE(json.empty()) << "fixture missing";
    const std::string marker = "\"list\":[";
    size_t listStart = json.find(marker) + marker.size();
    size_t listEnd = json.find("],\"boxresult\"");
    head_ = json.substr(0, listStart);
    tail_ = json.substr(listEnd);
    std::string list = json.substr(listStart, listEnd - listStart);
    // The hits are flat objects: one ends at the first "}".
    for (size_t pos = 0; (pos = list.find('{', pos)) != std::string::npos;) {
        size_t end = list.find('}', pos);
        std::string hit = list.substr(pos, end - pos + 1);
        pos = end + 1;
        std::string img = Between(hit, "\"img\":\"", "\"");
        std::string path = img.substr(img.find('/', img.find("://") + 3));
        std::string local = "/img/" + std::to_string(hits_.size()) + path;
        size_t q = local.find('?');
        server_.Serve(q == std::string::npos ? local : local.substr(0, q),
                      ServedResponse::Bytes(ImageBytes(int(hits_.size())), "image/jpeg"));
        hits_.push_back(hit.replace(hit.find(img), img.size(), "BASE" + local));
    }
    server_.Serve("/error.jpg",
                  ServedResponse::Text("<html><head><title>404 Not Found</title></head></html>",
                                       "text/html", 404));
    server_.Serve("/empty.jpg", ServedResponse::Bytes("", "image/jpeg"));
    server_.On("/j", [this](const SeenRequest& r) { return Answer(r); });
}

bool FakeSearchService::Start() {
    if (!server_.Start()) return false;
    server_.Serve("/ready", ServedResponse::Text("ready", "text/plain"));
    HttpRequest probe;
    for (int i = 0; i < 50 && probe.FetchBytes(server_.Url("/ready")) != "ready"; ++i) {
    }
    server_.ClearRequests();
    return true;
}

std::string FakeSearchService::ImageBytes(int i) {
    std::string bytes("\x89PNG\r\n\x1a\n", 8);
    bytes += std::string(1, '\0') + "image " + std::to_string(i);
    bytes += std::string(size_t(200 + i), char('a' + i % 26));
    return bytes;
}

std::string FakeSearchService::Hit(const std::string& img, const std::string& titleJson) {
    return "{\"id\":\"x\",\"title\":\"" + titleJson + "\",\"img\":\"" + img + "\",\"n\":1}";
}

void FakeSearchService::SetHits(const std::string& keywordUtf8, std::vector<std::string> hits) {
    std::lock_guard<std::mutex> lock(mutex_);
    custom_[keywordUtf8] = std::move(hits);
}

std::vector<int> FakeSearchService::OffsetsAsked() const {
    std::vector<int> out;
    for (const auto& r : server_.Requests())
        if (r.path == "/j") out.push_back(std::stoi(r.query.count("sn") ? r.query.at("sn") : "0"));
    return out;
}

ServedResponse FakeSearchService::Answer(const SeenRequest& request) {
    auto get = [&](const char* key) {
        auto it = request.query.find(key);
        return it == request.query.end() ? std::string() : it->second;
    };
    int sn = std::stoi(get("sn").empty() ? "0" : get("sn"));
    int pn = std::stoi(get("pn").empty() ? "30" : get("pn"));
    std::vector<std::string> hits;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = custom_.find(get("q"));
        hits = it != custom_.end() ? it->second : hits_;
    }
    std::string body = head_;
    for (int i = sn; i < sn + pn && i < int(hits.size()); ++i) {
        if (i > sn) body += ",";
        body += hits[size_t(i)];
    }
    body += tail_;
    for (size_t p; (p = body.find("BASE")) != std::string::npos;)
        body.replace(p, 4, server_.BaseUrl());
    return ServedResponse::Text(body, "application/json; charset=utf-8");
}

} // namespace tuji::test
