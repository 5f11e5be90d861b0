// The re-hosting job's rewrite of an article: a 5 MB UTF-8 article with
// 10,000 image references, every one of which is rewritten.
//
//   bench_RehostRewrite [FOLDER]
//
// Writes the article, the rewrite table (reference TAB new address, one a
// line) and our result into FOLDER (when given) for the peers that
// bench/rehost-rewrite.sh runs on the same bytes. Prints our time for the
// one-pass rewrite (ReferenceRewrites::ApplyTo, as the job calls it) and the
// time of replacing each reference in turn over the whole article
// (ReplaceText once per reference), measured on the first 1,000 references
// and scaled to 10,000. Processor time of this thread, best of 5 (the
// one-by-one replacement: one run).
#include "rehost/ReferenceRewrites.h"
#include "text/TextOps.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace tuji;

constexpr int kReferences = 10000;
constexpr size_t kTargetBytes = 5 * 1024 * 1024;

double ThreadMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

struct Article {
    std::string bytes;
    std::vector<std::pair<std::string, std::string>> rewrites;
};

Article MakeArticle() {
    Article a;
    const std::string para = "<p>这是一段用来测试的中文正文，其中有标点符号、数字１２３和English "
                             "words，图片就在下面。</p>\n";
    a.bytes = "<html><head><meta charset=\"utf-8\"></head><body>\n";
    for (int i = 0; i < kReferences; ++i) {
        char number[16];
        std::snprintf(number, sizeof number, "%05d", i);
        std::string ref = (i % 3 == 0)
                              ? "http://img.example.com/2024/photo_" + std::string(number) + ".jpg"
                          : (i % 3 == 1) ? "/pics/" + std::string(number) + ".png"
                                         : "//cdn.example.com/i/" + std::string(number) + ".gif";
        char name[16];
        std::snprintf(name, sizeof name, "%09X", 0x1A2B0000u + unsigned(i));
        a.rewrites.push_back({ref, "/files/img/" + std::string(name) + ".jpg"});
        a.bytes += "<img class=\"pic\" src=\"" + ref + "\" alt=\"图\">\n";
        while (a.bytes.size() < (kTargetBytes / kReferences) * size_t(i + 1))
            a.bytes += para;
    }
    a.bytes += "</body></html>\n";
    return a;
}

} // namespace

int main(int argc, char** argv) {
    Article article = MakeArticle();
    ReferenceRewrites table;
    for (const auto& [from, to] : article.rewrites)
        table.Add(from, to);

    std::string ours;
    double best = 1e18;
    for (int run = 0; run < 5; ++run) {
        double t = ThreadMs();
        ours = table.ApplyTo(article.bytes);
        best = std::min(best, ThreadMs() - t);
    }

    std::string oneByOne = article.bytes;
    double t = ThreadMs();
    for (int i = 0; i < 1000; ++i)
        oneByOne = ReplaceText(oneByOne, article.rewrites[size_t(i)].first,
                               article.rewrites[size_t(i)].second);
    double sequential = (ThreadMs() - t) * (kReferences / 1000.0);

    if (argc > 1) {
        std::string folder = argv[1];
        std::ofstream(folder + "/article.htm", std::ios::binary) << article.bytes;
        std::ofstream(folder + "/ours.htm", std::ios::binary) << ours;
        std::ofstream map(folder + "/rewrites.tsv", std::ios::binary);
        for (const auto& [from, to] : article.rewrites)
            map << from << '\t' << to << '\n';
    }
    std::printf("article %zu bytes, %d references\n", article.bytes.size(), kReferences);
    std::printf("ours one pass            %10.1f ms\n", best);
    std::printf("one by one (scaled)      %10.1f ms\n", sequential);
    return 0;
}
