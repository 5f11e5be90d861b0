#include "RawCapture.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tuji::test {

RawCapture::RawCapture(std::string answer) : answer_(std::move(answer)) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        listen(listener_, 1) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len) != 0)
        return;
    port_ = ntohs(a.sin_port);
    thread_ = std::thread([this] {
        pollfd p{listener_, POLLIN, 0};
        if (poll(&p, 1, 10000) <= 0) return;
        int c = accept(listener_, nullptr, nullptr);
        if (c < 0) return;
        char buf[4096];
        while (request_.find("\r\n\r\n") == std::string::npos) {
            pollfd q{c, POLLIN, 0};
            if (poll(&q, 1, 5000) <= 0) break;
            ssize_t n = recv(c, buf, sizeof buf, 0);
            if (n <= 0) break;
            request_.append(buf, static_cast<size_t>(n));
        }
        if (answer_.empty()) {
            linger l{1, 0}; // close with a reset
            setsockopt(c, SOL_SOCKET, SO_LINGER, &l, sizeof l);
        } else {
            send(c, answer_.data(), answer_.size(), MSG_NOSIGNAL);
        }
        close(c);
    });
}

RawCapture::~RawCapture() {
    if (thread_.joinable()) thread_.join();
    if (listener_ >= 0) close(listener_);
}

std::string RawCapture::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::string RawCapture::Request() {
    if (thread_.joinable()) thread_.join();
    return request_;
}

} // namespace tuji::test
