// The re-hosting job over the shared corpus of real web pages. Every image
// address is answered by a local server with a small image of its own, so
// nothing but 127.0.0.1 is ever contacted.

#include "app/Md5.h"
#include "app/Paths.h"
#include "app/Wait.h"
#include "collect/DownloadJob.h"
#include "fs/Files.h"
#include "fs/FolderListing.h"
#include "rehost/FakeRehostView.h"
#include "rehost/ReferenceRewrites.h"
#include "rehost/RehostJob.h"
#include "rehost/RehostPaths.h"
#include "rehost/ScanArticle.h"
#include "support/LocalHttpServer.h"
#include "support/TempFolder.h"
#include "text/Encoding.h"
#include "text/TextOps.h"

#include <QByteArray>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace tuji {
namespace {

bool IsNewAddress(const std::string& reference) {
    // "/files/img/" + nine upper-case hexadecimal digits + "." + extension
    if (!StartsWithText(reference, "/files/img/")) return false;
    std::string name = reference.substr(11);
    if (name.size() < 13 || name[9] != '.') return false;
    for (int i = 0; i < 9; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(name[size_t(i)])) ||
            std::islower(static_cast<unsigned char>(name[size_t(i)])))
            return false;
    std::string ext = name.substr(10);
    return ext == "jpg" || ext == "png" || ext == "gif" || ext == "ico" || ext == "bmp";
}

struct CorpusRun {
    const char* name;
    std::string folder; // under TUJI_SHARED_CORPUS when shared, else TUJI_TEST_DATA
    bool shared;
    std::string oldDomain;
    std::string excluded;
};

void PrintTo(const CorpusRun& run, std::ostream* os) {
    *os << run.name;
}

class RehostCorpus : public ::testing::TestWithParam<CorpusRun> {};

TEST_P(RehostCorpus, EveryReferenceRewrittenOrLeftForAReasonAndTheRestUnchanged) {
    const std::string corpus =
        std::string(GetParam().shared ? TUJI_SHARED_CORPUS : TUJI_TEST_DATA) + GetParam().folder;
    std::vector<std::string> sources;
    if (ListFolderEntries(corpus, "*.htm", sources) == 0) {
        ASSERT_TRUE(GetParam().shared) << "fixtures missing: " << corpus;
        GTEST_SKIP() << "the shared article corpus is not here: " << corpus;
    }

    test::TempFolder folder;
    for (const std::string& source : sources)
        ASSERT_TRUE(WriteFileBytes(folder.file(PathFileName(source, PathForm::File)),
                                   ReadFileBytes(source)));

    test::LocalHttpServer server;
    server.On("/img", [](const test::SeenRequest& request) {
        auto it = request.query.find("u");
        return test::ServedResponse::Bytes("GIF89a" + (it == request.query.end() ? "" : it->second),
                                           "image/gif");
    });
    ASSERT_TRUE(server.Start());

    SetWaitScale(0.01);
    test::FakeRehostView view;
    view.inputs = {folder.path(),        "*.htm", "files\\img",
                   GetParam().oldDomain, "",      GetParam().excluded};
    view.threadCountIndex = 9;
    RehostJob job(view);
    job.SetDownloader([&server](const std::string& address) {
        QByteArray hex = QByteArray::fromStdString(address).toHex();
        return DownloadWithRetries(server.Url("/img?u=" + hex.toStdString()));
    });
    job.StartOrStopRehosting(ListingMethod::Walk);
    SetWaitScale(1.0);

    ASSERT_EQ(view.questions.size(), 1u);
    std::map<std::string, std::string> rewritten; // reference -> new address
    int failed = 0;
    for (const test::FakeRow& row : view.finishedRows) {
        if (row.icon == kIconSaved)
            rewritten[row.reference] = NewImageAddress(row.status, "");
        else
            ++failed;
    }
    EXPECT_EQ(failed, 0);

    const std::string results = ResultsFolder(folder.path());
    std::map<DropReason, int> left;
    int found = 0;
    for (const std::string& source : sources) {
        const std::string name = PathFileName(source, PathForm::File);
        const std::string original = ReadFileBytes(source);
        const std::string result = ReadFileBytes(results + name);

        ArticleScanner scanner(GetParam().excluded);
        ArticleQueue queue = scanner.ScanArticle(TextBeforeZero(original), GetParam().oldDomain);
        std::map<std::string, DropReason> dropped;
        for (const DroppedReference& d : queue.dropped) {
            dropped[d.reference] = d.reason;
            ++left[d.reason];
        }
        // Every queued reference was downloaded and rewritten.
        ReferenceRewrites expected;
        for (const QueueEntry& entry : queue.entries) {
            auto it = rewritten.find(entry.reference);
            ASSERT_NE(it, rewritten.end()) << name << ": " << entry.reference;
            expected.Add(entry.reference, it->second);
        }
        // What the pattern finds in the result is a new address or a
        // reference that was left alone for its reason.
        for (const std::string& reference : scanner.CapturedReferences(TextBeforeZero(result))) {
            ++found;
            EXPECT_TRUE(IsNewAddress(reference) || dropped.count(reference))
                << name << ": " << reference;
        }
        // Nothing else changed, byte for byte.
        EXPECT_TRUE(expected.ApplyTo(original) == result) << name;
    }
    std::cout << "[ corpus   ] " << sources.size() << " articles, " << found
              << " image references in the results, " << rewritten.size() << " rewritten, "
              << left[DropReason::RelativeWithoutOldDomain] << " relative without an old domain, "
              << left[DropReason::Excluded] << " excluded, " << left[DropReason::Empty]
              << " empty\n";
}

INSTANTIATE_TEST_SUITE_P(
    Runs, RehostCorpus,
    ::testing::Values(CorpusRun{"Fixtures", "/rehost/articles", false, "", ""},
                      CorpusRun{"FixturesOldDomain", "/rehost/articles", false, "old.example", ""},
                      CorpusRun{"SharedCorpus", "/articles", true, "", ""},
                      CorpusRun{"SharedCorpusOldDomainExcluded", "/articles", true, "old.example",
                                "data:|.svg"}),
    [](const ::testing::TestParamInfo<CorpusRun>& info) { return std::string(info.param.name); });

} // namespace
} // namespace tuji
