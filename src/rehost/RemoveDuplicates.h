#pragma once

// Removing repeated items from a list: of every group of equal items the
// last occurrence survives, and the survivors keep the order of those last
// occurrences (B, A, B gives A, B).

#include <string>
#include <string_view>
#include <vector>

namespace tuji {

// Items compare as exact bytes. With a key separator, only the part before
// its first occurrence is compared (an item without it is its own key); an
// empty key separator means none.
std::vector<std::string> RemoveDuplicates(const std::vector<std::string>& items,
                                          std::string_view keySeparator = {});

struct DeduplicatedText {
    std::string text; // the survivors joined with the separator
    int count = 0;    // how many survived
};

// The same on a text holding the items between separators (CR LF unless
// another is given).
DeduplicatedText RemoveDuplicates(std::string_view text, std::string_view separator = "\r\n",
                                  std::string_view keySeparator = {});

} // namespace tuji
