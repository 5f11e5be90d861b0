#pragma once

#include "rehost/ArticleQueue.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tuji {

// Turns the references captured from one article, in article order, into
// its queue: repeated references are removed (the last occurrence counts),
// each one is trimmed, resolved against the old domain and tested against
// the exclusions, and the survivors are queued from the last to the first.
// `isExcluded` is asked with the resolved address; leave it empty when no
// exclusions are given.
ArticleQueue ClassifyReferences(const std::vector<std::string>& captured,
                                std::string_view oldDomain,
                                const std::function<bool(const std::string&)>& isExcluded);

} // namespace tuji
