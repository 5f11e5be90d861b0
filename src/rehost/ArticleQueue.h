#pragma once

// The download queue of one article: one entry per distinct image reference
// that survives the scan, shown as one row of the page's 超级列表框. The row
// number (0-based) is the entry's identity for its worker.

#include <string>
#include <vector>

namespace tuji {

// Status icons of a queue row.
enum RowIcon { kIconSaved = 0, kIconFailed = 1, kIconQueued = 2, kIconDownloading = 3 };

struct QueueEntry {
    std::string reference;       // exactly as captured from the article bytes
    std::string downloadAddress; // absolute, resolved from the trimmed reference
};

// Why a captured reference gets no row; its text stays as it is.
enum class DropReason {
    Empty,                    // nothing left after trimming blanks
    RelativeWithoutOldDomain, // relative, and no old domain to resolve it
    Excluded,                 // matched by the excluded addresses
};

struct DroppedReference {
    std::string reference;
    DropReason reason;
};

struct ArticleQueue {
    std::vector<QueueEntry> entries; // in row order
    std::vector<DroppedReference> dropped;
};

} // namespace tuji
