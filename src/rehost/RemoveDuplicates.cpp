#include "rehost/RemoveDuplicates.h"

#include "text/TextOps.h"

#include <algorithm>
#include <unordered_set>

namespace tuji {

namespace {

std::string_view KeyOf(std::string_view item, std::string_view keySeparator) {
    if (keySeparator.empty()) return item;
    int at = FindText(item, keySeparator);
    return at > 0 ? item.substr(0, static_cast<size_t>(at - 1)) : item;
}

} // namespace

// Walking from the end, an item survives when its key has not been seen yet:
// one hash look-up per item instead of comparing every pair, so an article
// with ten thousand references is done at once.
std::vector<std::string> RemoveDuplicates(const std::vector<std::string>& items,
                                          std::string_view keySeparator) {
    if (items.size() < 2) return items;
    std::unordered_set<std::string_view> seen;
    seen.reserve(items.size());
    std::vector<std::string> kept;
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        if (seen.insert(KeyOf(*it, keySeparator)).second) kept.push_back(*it);
    }
    std::reverse(kept.begin(), kept.end());
    return kept;
}

DeduplicatedText RemoveDuplicates(std::string_view text, std::string_view separator,
                                  std::string_view keySeparator) {
    if (separator.empty()) separator = "\r\n";
    std::vector<std::string> items = SplitText(text, separator);
    if (items.size() < 2) return {std::string(text), static_cast<int>(items.size())};
    std::vector<std::string> kept = RemoveDuplicates(items, keySeparator);
    return {JoinText(kept, separator), static_cast<int>(kept.size())};
}

} // namespace tuji
