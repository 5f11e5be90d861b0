#pragma once

// The matches of one Execute: a copy of the subject and, per match, the byte
// range of the whole match and of every group in that subject.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tuji {

struct MatchSet {
    static constexpr size_t kUnset = static_cast<size_t>(-1);

    std::string subject;
    int groups = 0;
    // Per match, groups + 1 pairs (start, end); kUnset for a group that did
    // not take part.
    std::vector<size_t> spans;

    int Count() const;
    // Match from 1, group 0 = the whole match; empty when out of range.
    std::string_view Text(int match, int group) const;
    // 1-based byte position, -1 when out of range or unset.
    int Position(int match, int group) const;

private:
    const size_t* Span(int match, int group) const;
};

} // namespace tuji
