#include "regex/RegexObject.h"

#include "regex/PatternText.h"
#include "regex/RegexEngine.h"

#include <cstdint>

namespace tuji {

namespace {

constexpr uint32_t kIgnoreCase = 1, kMultiLine = 2, kGlobal = 4;

} // namespace

// The engine with the state that goes with it: the matches of the last
// Execute, the options as flags (0 until the first SetPattern) and the
// pattern last handed to the engine.
struct RegexObject::Inner {
    RegexEngine engine;
    MatchSet matches;
    uint32_t flags = 0;
    std::string pattern;
    SubjectBytes reading = SubjectBytes::Detect;
};

RegexObject::RegexObject() : inner_(std::make_unique<Inner>()) {}
RegexObject::~RegexObject() = default;

std::string RegexObject::WildcardToPattern(std::string_view text) {
    return tuji::WildcardToPattern(text);
}
std::string RegexObject::EscapePattern(std::string_view text) {
    return tuji::EscapePattern(text);
}
std::string RegexObject::EscapePatternKeepAlternation(std::string_view text) {
    return tuji::EscapePatternKeepAlternation(text);
}

std::string RegexObject::MatchText(int match) const {
    return std::string(inner_->matches.Text(match, 0));
}

std::string RegexObject::SubMatchText(int match, int subMatch) const {
    return std::string(inner_->matches.Text(match, subMatch < 0 ? 0 : subMatch));
}

int RegexObject::SubMatchPosition(int match, int subMatch) const {
    return inner_->matches.Position(match, subMatch < 0 ? 0 : subMatch);
}

int RegexObject::Execute(std::string_view subject) {
    auto found = inner_->engine.Execute(subject, inner_->reading);
    inner_->matches = found ? std::move(*found) : MatchSet();
    return inner_->matches.Count();
}

std::string RegexObject::Replace(std::string_view subject, std::string_view replacement) {
    auto out = inner_->engine.Replace(subject, replacement, inner_->reading);
    return out ? std::move(*out) : std::string();
}

bool RegexObject::SetPattern(std::string_view pattern, bool ignoreCase, bool multiLine,
                             bool global) {
    uint32_t flags =
        (ignoreCase ? kIgnoreCase : 0) | (multiLine ? kMultiLine : 0) | (global ? kGlobal : 0);
    if (pattern == inner_->pattern && flags == inner_->flags) return true;
    if (!pattern.empty()) {
        inner_->pattern = std::string(pattern);
        inner_->engine.SetPattern(pattern);
    }
    inner_->flags = flags;
    inner_->engine.SetOptions(ignoreCase, multiLine, global);
    return true;
}

std::string RegexObject::GetPattern() const {
    return inner_->pattern;
}

int RegexObject::MatchCount() const {
    return inner_->matches.Count();
}

int RegexObject::SubMatchCount() const {
    return inner_->matches.Count() > 0 ? inner_->matches.groups : 0;
}

void RegexObject::SetSubjectBytes(SubjectBytes reading) {
    inner_->reading = reading;
}

} // namespace tuji
