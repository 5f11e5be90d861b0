#pragma once

// What the download benchmarks' drivers share: the images the loopback nginx
// serves and a free port for it. Header-only, since every bench/*.cpp builds
// into its own executable.

#include "fs/Files.h"

#include <arpa/inet.h>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <netinet/in.h>
#include <random>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace bench {

// Writes FOLDER/00001.jpg ... of random sizes between minKb and maxKb, every
// one different (random bytes from `seed`), and prints their total size.
inline int MakeImages(const std::string& folder, int count, int minKb, int maxKb,
                      std::uint64_t seed) {
    std::mt19937_64 random(seed);
    std::uniform_int_distribution<int> size(minKb * 1024, maxKb * 1024);
    long long total = 0;
    for (int i = 1; i <= count; ++i) {
        std::string bytes(size_t(size(random)), '\0');
        for (size_t k = 0; k + 8 <= bytes.size(); k += 8) {
            uint64_t v = random();
            std::memcpy(&bytes[k], &v, 8);
        }
        // A JPEG start, and a zero byte early on, so no image reads as a page.
        const unsigned char head[] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0x00};
        std::memcpy(&bytes[0], head, sizeof head);
        char name[32];
        std::snprintf(name, sizeof name, "/%05d.jpg", i);
        if (!tuji::WriteFileBytes(folder + name, bytes)) {
            std::fprintf(stderr, "cannot write %s%s\n", folder.c_str(), name);
            return 1;
        }
        total += (long long)bytes.size();
    }
    std::printf("%lld\n", total);
    return 0;
}

// Prints a loopback port that was free a moment ago, for the server to take.
inline int PrintFreePort() {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (s < 0 || bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
        if (s >= 0) close(s);
        return 1;
    }
    std::printf("%d\n", ntohs(a.sin_port));
    close(s);
    return 0;
}

} // namespace bench
