#pragma once

// A one-connection server on 127.0.0.1 that keeps the exact bytes of the
// request it gets (header order and empty headers included, which a real
// server's parser hides), then answers with fixed bytes or resets the
// connection.

#include <string>
#include <thread>

namespace tuji::test {

class RawCapture {
public:
    // `answer` empty: reset the connection instead of answering.
    explicit RawCapture(std::string answer);
    ~RawCapture();
    RawCapture(const RawCapture&) = delete;
    RawCapture& operator=(const RawCapture&) = delete;

    std::string Url(const std::string& path) const;
    std::string Request(); // waits for the connection to end

private:
    int listener_ = -1;
    int port_ = 0;
    std::string answer_;
    std::string request_;
    std::thread thread_;
};

} // namespace tuji::test
