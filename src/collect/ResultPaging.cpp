#include "collect/ResultPaging.h"

#include "app/Wait.h"
#include "collect/SearchQuery.h"

namespace tuji {

int RunResultPaging(const PagingSteps& steps, int maximum, const std::atomic<int>& stop) {
    int offset = 0, emptyPages = 0, taken = 0;
    bool lastPageHadHits = false;
    auto reachedMaximum = [&] { return maximum > 0 && taken >= maximum; };
    do {
        if (stop || reachedMaximum()) break;
        ResultPage page = steps.fetchPage(offset);
        if (steps.pageFetched) steps.pageFetched(offset);
        int cursor = page.listPosition, onPage = 0;
        while (!stop) {
            std::string hit = NextResultItem(page.text, cursor);
            if (hit.empty()) break;
            steps.takeHit(hit);
            ++taken;
            ++onPage;
            if (reachedMaximum()) break;
        }
        if (steps.pageDone) steps.pageDone(offset, onPage);
        lastPageHadHits = onPage > 0;
        if (lastPageHadHits) {
            offset += kHitsPerPage;
            emptyPages = 0;
        } else {
            ++emptyPages;
            WaitWithEvents(2000, &stop);
        }
    } while (lastPageHadHits || emptyPages < kEmptyPagesBeforeGivingUp);
    return taken;
}

} // namespace tuji
