#pragma once

// The image-search service on 127.0.0.1: "/j" answers from the recorded
// answer (tests/data/collect), 30 hits from offset sn on, then an empty list;
// every hit's image address points at this server, which serves a small
// distinct image for each, plus an error page and an empty body.

#include "support/LocalHttpServer.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace tuji::test {

class FakeSearchService {
public:
    FakeSearchService();
    // Returns once the server answers (a server stopped before it listens
    // would never stop).
    bool Start();
    std::string BaseUrl() const { return server_.BaseUrl(); }
    LocalHttpServer& Server() { return server_; }

    // The recorded hits with their image addresses on this server.
    const std::vector<std::string>& RecordedHits() const { return hits_; }
    // The bytes served for hit i of the recording.
    static std::string ImageBytes(int i);

    // A keyword (UTF-8, as the query decodes it) answered with other hits.
    void SetHits(const std::string& keywordUtf8, std::vector<std::string> hits);
    // A hit object text for an image address and a title (JSON as served).
    static std::string Hit(const std::string& img, const std::string& titleJson);

    std::string ErrorPageUrl() const { return server_.Url("/error.jpg"); }
    std::string EmptyBodyUrl() const { return server_.Url("/empty.jpg"); }

    // The sn values asked for, in order.
    std::vector<int> OffsetsAsked() const;

private:
    ServedResponse Answer(const SeenRequest& request);

    LocalHttpServer server_;
    std::string head_, tail_;
    std::vector<std::string> hits_;
    mutable std::mutex mutex_;
    std::map<std::string, std::vector<std::string>> custom_;
};

} // namespace tuji::test
