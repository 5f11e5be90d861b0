// The keyword collection page's job without its window, for
// bench/keyword-collect.sh.
//
//   bench_KeywordCollect images FOLDER COUNT MIN_KB MAX_KB    writes COUNT distinct images
//   bench_KeywordCollect port                                 prints a free loopback port
//   bench_KeywordCollect answers FOLDER BASE KEYWORDS COUNT   writes the search answers
//   bench_KeywordCollect collect BASE KEYWORDS FOLDER         runs the job
//
// "answers" spreads COUNT hits over KEYWORDS keywords (k1, k2, ...), 30 a
// page, as FOLDER/answers/kN/SN.json plus FOLDER/answers/empty.json, and
// writes the images' addresses to FOLDER/list.txt for the peers.
// "collect" runs what the page's start button runs (keyword split, result
// pages fetched and cut up, titles cleaned, a worker per hit with FetchBytes,
// ChooseSavePath under content naming and the no-replace save, the 5000-row
// rule, the drain) with 10 workers and the pauses scaled to zero. It prints
// the hits listed, the images saved, the rates, the longest stall of the
// user-interface thread while the job ran, and the peak memory.

#include "BenchSupport.h"
#include "app/Paths.h"
#include "app/Wait.h"
#include "collect/KeywordJob.h"
#include "collect/SearchQuery.h"
#include "fs/Files.h"
#include "text/Encoding.h"
#include "text/TextOps.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>

namespace {

// A hit as the service writes it: escaped slashes, highlighting, \u escapes.
std::string HitJson(const std::string& base, int image, int index) {
    char name[32];
    std::snprintf(name, sizeof name, "%05d.jpg", image);
    std::string img = tuji::ReplaceText(base + "/img/" + name, "/", "\\/");
    return "{\"id\":\"" + std::to_string(image) + "\",\"index\":" + std::to_string(index) +
           ",\"title\":\"\\u732b <em>image<\\/em> " + std::to_string(image) +
           " \\u201cbench\\u201d\",\"width\":\"800\",\"height\":\"600\",\"img\":\"" + img +
           "\",\"thumb\":\"" + img + "\",\"thumbHeight\":240}";
}

int MakeAnswers(const std::string& folder, const std::string& base, int keywords, int count) {
    std::string list;
    int image = 1;
    for (int k = 1; k <= keywords; ++k) {
        int hits = count / keywords + (k <= count % keywords ? 1 : 0);
        std::string dir = folder + "/answers/k" + std::to_string(k);
        tuji::CreateMissingFolders(dir + "/");
        for (int sn = 0; sn < hits; sn += tuji::kHitsPerPage) {
            std::string body = "{\"total\":" + std::to_string(hits) +
                               ",\"end\":false,\"lastindex\":" + std::to_string(sn + 30) +
                               ",\"list\":[";
            for (int i = sn; i < std::min(hits, sn + tuji::kHitsPerPage); ++i, ++image) {
                if (i > sn) body += ",";
                body += HitJson(base, image, i);
                char name[32];
                std::snprintf(name, sizeof name, "%05d.jpg", image);
                list += base + "/img/" + name + "\n";
            }
            body += "],\"boxresult\":null,\"wordguess\":null}";
            if (!tuji::WriteFileBytes(dir + "/" + std::to_string(sn) + ".json", body)) {
                std::fprintf(stderr, "cannot write %s\n", dir.c_str());
                return 1;
            }
        }
    }
    tuji::WriteFileBytes(folder + "/answers/empty.json",
                         "{\"total\":0,\"end\":true,\"list\":[],\"boxresult\":null}");
    tuji::WriteFileBytes(folder + "/list.txt", list);
    return 0;
}

class BenchView : public tuji::KeywordView {
public:
    tuji::KeywordInputs in;
    int rows = 0;
    long long listed = 0;
    std::string message;

    tuji::KeywordInputs Inputs() override { return in; }
    tuji::SearchChoices Choices() override { return {0, 0, tuji::T("全部颜色")}; }
    int ThreadCountIndex() override { return 9; }
    void SetStartCaption(const std::string&) override {}
    void SetFirstColumnTitle(const std::string&) override {}
    void SetAddressOnlyBoxEnabled(bool) override {}
    int RowCount() override { return rows; }
    void ClearRows() override { rows = 0; }
    void AppendRow(int, const std::string&, const std::string&, const std::string&) override {
        ++rows;
        ++listed;
    }
    void SetRowState(int, int, const std::string&) override {}
    void ScrollToRow(int) override {}
    void ShowCompletion(const std::string& text) override { message = text; }
};

int Collect(int argc, char** argv, const std::string& base, int keywords,
            const std::string& folder) {
    QCoreApplication app(argc, argv);
    tuji::SetWaitScale(0);
    BenchView view;
    for (int k = 1; k <= keywords; ++k)
        view.in.keywordList += (k > 1 ? "|k" : "k") + std::to_string(k);
    view.in.saveFolderText = tuji::Utf8ToTextLenient(folder);
    view.in.maximumText = tuji::T("全部");
    view.in.searchService = base;
    tuji::KeywordJob job(view);
    job.SetNamingMode(tuji::kNameAuto);

    // The user-interface thread's stalls: the longest gap between ticks of
    // a 1-ms timer while the job runs.
    QElapsedTimer sinceTick;
    qint64 longest = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceTick.nsecsElapsed());
        sinceTick.restart();
    });
    tick.start(1);
    sinceTick.start();
    auto start = std::chrono::steady_clock::now();
    job.OnStartClicked();
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    tick.stop();

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::string message = tuji::TextToUtf8Lenient(view.message);
    long long saved = 0;
    if (size_t p = message.find("成功下载 "); p != std::string::npos)
        saved = std::atoll(message.c_str() + p + std::strlen("成功下载 "));
    std::printf("%s\n", message.c_str());
    std::printf("listed %lld saved %lld seconds %.3f hits/s %.0f saved/s %.0f "
                "stall_ms %.1f peak_mb %.1f\n",
                view.listed, saved, seconds, view.listed / seconds, saved / seconds, longest / 1e6,
                usage.ru_maxrss / 1024.0);
    return saved == view.listed ? 0 : 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string what = argc > 1 ? argv[1] : "";
    if (what == "images" && argc == 6)
        return bench::MakeImages(argv[2], std::atoi(argv[3]), std::atoi(argv[4]),
                                 std::atoi(argv[5]), 20240611);
    if (what == "port" && argc == 2) return bench::PrintFreePort();
    if (what == "answers" && argc == 6)
        return MakeAnswers(argv[2], argv[3], std::atoi(argv[4]), std::atoi(argv[5]));
    if (what == "collect" && argc == 5)
        return Collect(argc, argv, argv[2], std::atoi(argv[3]), argv[4]);
    std::fprintf(stderr,
                 "usage: %s images FOLDER COUNT MIN_KB MAX_KB | port | answers FOLDER BASE "
                 "KEYWORDS COUNT | collect BASE KEYWORDS FOLDER\n",
                 argv[0]);
    return 64;
}
