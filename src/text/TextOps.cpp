#include "text/TextOps.h"

#include "text/Chars.h"

#include <cstdlib>
#include <cstring>

namespace tuji {

namespace {

// Does `what` stand at byte offset `at` of `text`? With Case::Ignore only
// single-byte ASCII characters of `what` are folded; multi-byte characters
// must match exactly, which keeps their trail bytes out of the folding.
bool MatchesAt(std::string_view text, size_t at, std::string_view what, Case c) {
    if (at + what.size() > text.size()) return false;
    if (c == Case::Sensitive) return std::memcmp(text.data() + at, what.data(), what.size()) == 0;
    size_t i = 0;
    while (i < what.size()) {
        size_t n = CharLength(what, i);
        if (n == 1) {
            if (LowerAsciiChar(text[at + i]) != LowerAsciiChar(what[i])) return false;
        } else if (std::memcmp(text.data() + at + i, what.data() + i, n) != 0) {
            return false;
        }
        i += n;
    }
    return true;
}

// Finds candidates with a fast byte search, then accepts only those that
// start on a character boundary. The boundary walk only moves forward, so a
// whole scan stays linear.
class BoundaryWalker {
public:
    explicit BoundaryWalker(std::string_view text) : text_(text) {}
    // True when byte offset `at` starts a character.
    bool isBoundary(size_t at) {
        while (pos_ < at)
            pos_ += CharLength(text_, pos_);
        return pos_ == at;
    }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

size_t FirstCandidate(std::string_view text, std::string_view what, size_t from, Case c) {
    if (c == Case::Sensitive) return text.find(what, from);
    char first = what[0];
    if (!IsAsciiLetter(first)) {
        return text.find(first, from);
    }
    char lo = LowerAsciiChar(first), up = UpperAsciiChar(first);
    for (size_t i = from; i < text.size(); ++i)
        if (text[i] == lo || text[i] == up) return i;
    return std::string_view::npos;
}

// 0-based offset of the first boundary match at or after `from`, or npos.
size_t FindFrom(std::string_view text, std::string_view what, size_t from, Case c,
                BoundaryWalker& walker) {
    while (from < text.size()) {
        size_t cand = FirstCandidate(text, what, from, c);
        if (cand == std::string_view::npos || cand + what.size() > text.size())
            return std::string_view::npos;
        if (walker.isBoundary(cand) && MatchesAt(text, cand, what, c)) return cand;
        from = cand + 1;
    }
    return std::string_view::npos;
}

} // namespace

int FindText(std::string_view text, std::string_view what, int start, Case c) {
    if (start < 1) start = 1;
    size_t from = static_cast<size_t>(start - 1);
    if (what.empty()) return from <= text.size() ? start : -1;
    BoundaryWalker walker(text);
    size_t at = FindFrom(text, what, from, c, walker);
    return at == std::string_view::npos ? -1 : static_cast<int>(at + 1);
}

int FindLastText(std::string_view text, std::string_view what, int start, Case c) {
    if (what.size() > text.size()) return -1;
    size_t limit = start < 1 ? text.size() : static_cast<size_t>(start - 1);
    BoundaryWalker walker(text);
    size_t found = std::string_view::npos;
    size_t from = 0;
    if (what.empty()) return static_cast<int>(std::min(limit, text.size()) + 1);
    for (;;) {
        size_t at = FindFrom(text, what, from, c, walker);
        if (at == std::string_view::npos || at > limit) break;
        found = at;
        from = at + 1;
    }
    return found == std::string_view::npos ? -1 : static_cast<int>(found + 1);
}

bool StartsWithText(std::string_view text, std::string_view prefix, Case c) {
    return MatchesAt(text, 0, prefix, c);
}

bool EndsWithText(std::string_view text, std::string_view suffix, Case c) {
    if (suffix.size() > text.size()) return false;
    size_t at = text.size() - suffix.size();
    BoundaryWalker walker(text);
    return walker.isBoundary(at) && MatchesAt(text, at, suffix, c);
}

std::string ReplaceText(std::string_view text, std::string_view find, std::string_view with,
                        int count, Case c) {
    if (find.empty()) return std::string(text);
    std::string out;
    out.reserve(text.size());
    BoundaryWalker walker(text);
    size_t from = 0;
    int done = 0;
    while (count <= 0 || done < count) {
        size_t at = FindFrom(text, find, from, c, walker);
        if (at == std::string_view::npos) break;
        out.append(text.substr(from, at - from));
        out.append(with);
        from = at + find.size();
        ++done;
    }
    out.append(text.substr(from));
    return out;
}

std::vector<std::string> SplitText(std::string_view text, std::string_view sep) {
    std::vector<std::string> pieces;
    if (text.empty()) return pieces;
    if (sep.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    BoundaryWalker walker(text);
    size_t from = 0;
    for (;;) {
        size_t at = FindFrom(text, sep, from, Case::Sensitive, walker);
        if (at == std::string_view::npos) break;
        pieces.emplace_back(text.substr(from, at - from));
        from = at + sep.size();
    }
    if (from < text.size()) pieces.emplace_back(text.substr(from));
    return pieces;
}

std::string JoinText(const std::vector<std::string>& pieces, std::string_view sep) {
    std::string out;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (i) out.append(sep);
        out.append(pieces[i]);
    }
    return out;
}

std::string MidText(std::string_view text, int start, int length) {
    if (start < 1) start = 1;
    size_t from = static_cast<size_t>(start - 1);
    if (from >= text.size() || length == 0) return std::string();
    size_t n = length < 0 ? std::string_view::npos : static_cast<size_t>(length);
    return std::string(text.substr(from, n));
}

namespace {
template <typename F> std::string MapAscii(std::string_view text, F f) {
    std::string out(text);
    size_t i = 0;
    while (i < out.size()) {
        size_t n = CharLength(out, i);
        if (n == 1) out[i] = f(out[i]);
        i += n;
    }
    return out;
}
} // namespace

std::string LowerAscii(std::string_view text) {
    return MapAscii(text, LowerAsciiChar);
}
std::string UpperAscii(std::string_view text) {
    return MapAscii(text, UpperAsciiChar);
}

std::string TrimSpaces(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ')
        ++b;
    while (e > b && text[e - 1] == ' ')
        --e;
    return std::string(text.substr(b, e - b));
}

std::string_view TextBeforeZero(std::string_view bytes) {
    size_t z = bytes.find('\0');
    return z == std::string_view::npos ? bytes : bytes.substr(0, z);
}

std::string NumberText(long long n) {
    return std::to_string(n);
}

long long TextNumber(std::string_view text) {
    std::string s(TrimSpaces(text));
    return std::strtoll(s.c_str(), nullptr, 10);
}

} // namespace tuji
