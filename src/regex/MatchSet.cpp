#include "regex/MatchSet.h"

namespace tuji {

int MatchSet::Count() const {
    return static_cast<int>(spans.size() / (2 * static_cast<size_t>(groups + 1)));
}

const size_t* MatchSet::Span(int match, int group) const {
    if (match < 1 || match > Count() || group < 0 || group > groups) return nullptr;
    size_t at = (static_cast<size_t>(match - 1) * (groups + 1) + static_cast<size_t>(group)) * 2;
    if (spans[at] == kUnset) return nullptr;
    return &spans[at];
}

std::string_view MatchSet::Text(int match, int group) const {
    const size_t* s = Span(match, group);
    if (!s) return {};
    return std::string_view(subject).substr(s[0], s[1] - s[0]);
}

int MatchSet::Position(int match, int group) const {
    const size_t* s = Span(match, group);
    return s ? static_cast<int>(s[0]) + 1 : -1;
}

} // namespace tuji
