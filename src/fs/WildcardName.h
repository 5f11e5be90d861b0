#pragma once

// Whole-name wildcard matching as the platform's file search does it: `*`
// any run of characters, `?` at most one character, letter case ignored
// (in every script), "*.*" for every name, and a pattern ending in ".*" also
// fits the name without that part ("README.*" finds README).

#include <string>
#include <string_view>

namespace tuji {

class WildcardName {
public:
    explicit WildcardName(std::string_view pattern);
    bool Matches(std::string_view name) const;

private:
    std::u32string pattern_;
    std::u32string withoutDotStar_; // empty unless the pattern ends in ".*"
    bool everything_ = false;
};

} // namespace tuji
