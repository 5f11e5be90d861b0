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

#include "BenchSupport.h"
#include "collect/SavePath.h"
#include "download/BatchDownloadJob.h"
#include "fs/Files.h"
#include "text/Encoding.h"

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

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
        return bench::MakeImages(argv[2], std::atoi(argv[3]), std::atoi(argv[4]),
                                 std::atoi(argv[5]), 20240607);
    if (what == "port" && argc == 2) return bench::PrintFreePort();
    if (what == "download" && argc == 5)
        return Download(argc, argv, argv[2], argv[3], std::atoi(argv[4]));
    std::fprintf(stderr,
                 "usage: %s images FOLDER COUNT MIN_KB MAX_KB | port | download LIST FOLDER "
                 "WORKERS\n",
                 argv[0]);
    return 64;
}
