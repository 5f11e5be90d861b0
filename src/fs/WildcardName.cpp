#include "fs/WildcardName.h"

#include "text/Encoding.h"

#include <QList>
#include <QString>
#include <vector>

namespace tuji {

namespace {

std::u32string Folded(std::string_view text) {
    const QList<uint> units = ToQString(text).toCaseFolded().toUcs4();
    return std::u32string(units.begin(), units.end());
}

bool WildMatch(const std::u32string& p, const std::u32string& s) {
    // fits[j]: the pattern read so far matches the first j characters.
    std::vector<char> fits(s.size() + 1, 0), next(s.size() + 1, 0);
    fits[0] = 1;
    for (char32_t pc : p) {
        if (pc == U'*') {
            char any = 0;
            for (size_t j = 0; j <= s.size(); ++j)
                next[j] = any = char(any | fits[j]);
        } else if (pc == U'?') {
            for (size_t j = 0; j <= s.size(); ++j)
                next[j] = char(fits[j] | (j > 0 ? fits[j - 1] : 0));
        } else {
            next[0] = 0;
            for (size_t j = 1; j <= s.size(); ++j)
                next[j] = char(fits[j - 1] && s[j - 1] == pc);
        }
        fits.swap(next);
    }
    return fits[s.size()] != 0;
}

} // namespace

WildcardName::WildcardName(std::string_view pattern) : pattern_(Folded(pattern)) {
    everything_ = pattern_ == U"*.*" || pattern_ == U"*";
    if (pattern_.size() >= 2 && pattern_.compare(pattern_.size() - 2, 2, U".*") == 0)
        withoutDotStar_ = pattern_.substr(0, pattern_.size() - 2);
}

bool WildcardName::Matches(std::string_view name) const {
    if (everything_) return true;
    if (pattern_.empty()) return false;
    const std::u32string folded = Folded(name);
    return WildMatch(pattern_, folded) ||
           (!withoutDotStar_.empty() && WildMatch(withoutDotStar_, folded));
}

} // namespace tuji
