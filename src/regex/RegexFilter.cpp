#include "regex/RegexFilter.h"

#include "regex/PatternText.h"
#include "regex/RegexEngine.h"

namespace tuji {

RegexFilter::RegexFilter() : matches_(std::make_unique<MatchSet>()) {}
RegexFilter::~RegexFilter() {
    Release();
}

std::string RegexFilter::WildcardToPattern(std::string_view text) {
    return tuji::WildcardToPattern(text);
}
std::string RegexFilter::EscapePattern(std::string_view text) {
    return tuji::EscapePattern(text);
}
std::string RegexFilter::EscapePatternKeepAlternation(std::string_view text) {
    return tuji::EscapePatternKeepAlternation(text);
}

void RegexFilter::Release() {
    engine_.reset();
    *matches_ = MatchSet();
    subject_.clear();
}

bool RegexFilter::Create(std::string_view pattern, bool ignoreCase, bool multiLine, bool global) {
    engine_ = std::make_unique<RegexEngine>();
    engine_->SetOptions(ignoreCase, multiLine, global);
    engine_->SetPattern(pattern);
    return engine_->Accepts();
}

int RegexFilter::Execute(std::string_view subject) {
    subject_ = std::string(subject);
    std::optional<MatchSet> found;
    if (engine_) found = engine_->Execute(subject, SubjectBytes::ProgramText);
    *matches_ = found ? std::move(*found) : MatchSet();
    return matches_->Count();
}

std::string RegexFilter::GetPattern() const {
    return engine_ ? engine_->Pattern() : std::string();
}

std::string RegexFilter::Replace(std::string_view subject, std::string_view replacement) {
    if (!engine_) return {};
    auto out = engine_->Replace(subject, replacement, SubjectBytes::ProgramText);
    return out ? std::move(*out) : std::string();
}

int RegexFilter::MatchCount() const {
    return matches_->Count();
}

std::string RegexFilter::MatchText(int match) const {
    return std::string(matches_->Text(match, 0));
}

std::string RegexFilter::SubMatchText(int match, int subMatch) const {
    if (subMatch <= 0) return {};
    return std::string(matches_->Text(match, subMatch));
}

int RegexFilter::SubMatchCount() const {
    return matches_->Count() > 0 ? matches_->groups : 0;
}

} // namespace tuji
