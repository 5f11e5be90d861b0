#pragma once

// The page-by-page walk through one keyword's hits: 30 hits a page until five
// pages in a row bring none, the maximum is reached or the user stops.

#include "collect/SearchResults.h"

#include <atomic>
#include <functional>
#include <string>

namespace tuji {

struct PagingSteps {
    // The page of hits beginning at `offset`.
    std::function<ResultPage(int offset)> fetchPage;
    // Runs between the fetch and the first hit (the keyword page clears its
    // list there when no download runs).
    std::function<void(int offset)> pageFetched;
    // One non-empty hit's text.
    std::function<void(const std::string& hit)> takeHit;
    // After the page's hits were taken; hitsOnPage may be 0.
    std::function<void(int offset, int hitsOnPage)> pageDone;
};

// Returns the number of hits taken. `maximum` <= 0 means no maximum. After a
// page without hits it waits 2 s (ended early by a stop request) and asks for
// the same offset again.
int RunResultPaging(const PagingSteps& steps, int maximum, const std::atomic<int>& stop);

constexpr int kEmptyPagesBeforeGivingUp = 5;

} // namespace tuji
