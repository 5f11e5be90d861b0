#pragma once

// The rewrites of one article, collected from the download workers and
// applied when the article is written.
//
// Replacing each reference in turn as its download finishes would make the
// result depend on which worker came first, and would let one reference be
// found again inside the new address written for another ("4.jpg" inside
// "/files/img/0A1B2C3D4.jpg"). So the workers record their rewrites under a
// lock, and the article is rewritten in one pass over its original bytes:
// every occurrence of a recorded reference is replaced, the longest
// reference wins where several start at the same place, and replaced text
// is never searched again.

#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tuji {

class ReferenceRewrites {
public:
    // Safe from any thread.
    void Add(std::string reference, std::string newAddress);
    int Count() const;
    void Clear();

    // The article with every recorded reference replaced. References are
    // found byte for byte; in an article that is not UTF-8 only at
    // character starts of the double-byte text, never at a trail byte.
    std::string ApplyTo(std::string_view article) const;

private:
    mutable std::mutex mutex_;
    std::unordered_map<std::string, std::string> rewrites_;
};

} // namespace tuji
