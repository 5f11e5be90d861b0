#include "rehost/ClassifyReferences.h"

#include "rehost/ReferenceRules.h"
#include "rehost/RemoveDuplicates.h"

namespace tuji {

ArticleQueue ClassifyReferences(const std::vector<std::string>& captured,
                                std::string_view oldDomain,
                                const std::function<bool(const std::string&)>& isExcluded) {
    ArticleQueue queue;
    std::vector<std::string> distinct = RemoveDuplicates(captured);
    for (auto it = distinct.rbegin(); it != distinct.rend(); ++it) {
        const std::string& reference = *it;
        std::string trimmed = TrimBlanks(reference);
        if (trimmed.empty()) {
            queue.dropped.push_back({reference, DropReason::Empty});
            continue;
        }
        std::optional<std::string> address = DownloadAddress(trimmed, oldDomain);
        if (!address) {
            queue.dropped.push_back({reference, DropReason::RelativeWithoutOldDomain});
            continue;
        }
        if (isExcluded && isExcluded(*address)) {
            queue.dropped.push_back({reference, DropReason::Excluded});
            continue;
        }
        queue.entries.push_back({reference, std::move(*address)});
    }
    return queue;
}

} // namespace tuji
