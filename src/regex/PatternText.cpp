#include "regex/PatternText.h"

#include "text/TextOps.h"

namespace tuji {

namespace {

// Backslash first, so the backslashes added for the others are not doubled.
constexpr std::string_view kWildcardSpecials = "\\^$+.{}[]=()\"";
constexpr std::string_view kAllSpecials = "\\^$+.{}[]=()?*|\"";
constexpr std::string_view kSpecialsButBar = "\\^$+.{}[]=()?*\"";

std::string EscapeEach(std::string_view text, std::string_view specials) {
    std::string out(text);
    for (char c : specials) {
        const std::string one(1, c);
        out = ReplaceText(out, one, "\\" + one);
    }
    return out;
}

} // namespace

std::string WildcardToPattern(std::string_view text) {
    std::string out = EscapeEach(text, kWildcardSpecials);
    out = ReplaceText(out, "*", ".*");
    return ReplaceText(out, "?", ".?");
}

std::string EscapePattern(std::string_view text) {
    return EscapeEach(text, kAllSpecials);
}

std::string EscapePatternKeepAlternation(std::string_view text) {
    return EscapeEach(text, kSpecialsButBar);
}

} // namespace tuji
