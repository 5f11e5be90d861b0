// The batch download page's job without its window, for bench/batch-download.sh.
//
//   bench_BatchDownload images FOLDER COUNT MIN_KB MAX_KB   writes COUNT distinct images
//   bench_BatchDownload port                                prints a free loopback port
//   bench_BatchDownload download LIST FOLDER WORKERS        runs the job on LIST
//
// "download" runs exactly what the page's start button runs (the list split,
// the save folder, start-then-wait dispatch, workers with FetchBytes,
// ChooseSavePath under content naming and the no-replace save, the drain),
// with the slot limit fixed at WORKERS and the progress line left out.

#include "collect/SavePath.h"
#include "download/BatchDownloadJob.h"
#include "fs/Files.h"
#include "text/Encoding.h"

#include <QCoreApplication>
#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <random>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int MakeImages(const std::string& folder, int count, int minKb, int maxKb) {
    std::mt19937_64 random(20240607);
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

int FreePort() {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (s < 0 || bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) != 0)
        return 1;
    std::printf("%d\n", ntohs(a.sin_port));
    close(s);
    return 0;
}

int Download(int argc, char** argv, const std::string& list, const std::string& folder,
             int workers) {
    QCoreApplication app(argc, argv);
    std::string listText;
    if (!tuji::ReadFileBytes(list, listText)) {
        std::fprintf(stderr, "cannot read %s\n", list.c_str());
        return 1;
    }
    tuji::BatchDownloadJob job;
    job.State().SetSlotLimitSource([workers] { return workers; });
    job.SetNamingMode(tuji::kNameAuto);
    auto start = std::chrono::steady_clock::now();
    auto result = job.Run(listText, tuji::Utf8ToTextLenient(folder));
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!result) return 1;
    std::printf("%s\n", tuji::TextToUtf8Lenient(tuji::BatchDownloadSummary(*result)).c_str());
    std::printf("job seconds %.3f\n", seconds);
    return result->saved == result->addresses ? 0 : 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string what = argc > 1 ? argv[1] : "";
    if (what == "images" && argc == 6)
        return MakeImages(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
    if (what == "port" && argc == 2) return FreePort();
    if (what == "download" && argc == 5)
        return Download(argc, argv, argv[2], argv[3], std::atoi(argv[4]));
    std::fprintf(stderr,
                 "usage: %s images FOLDER COUNT MIN_KB MAX_KB | port | download LIST FOLDER "
                 "WORKERS\n",
                 argv[0]);
    return 64;
}
