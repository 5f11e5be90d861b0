#include "collect/SearchResults.h"

#include "app/TextHelpers.h"
#include "collect/ScriptUnescape.h"
#include "regex/RegexObject.h"
#include "text/Chars.h"
#include "text/TextOps.h"

namespace tuji {

namespace {
const char* const kFullWidthSpace = "\xA1\xA1";
} // namespace

int FindListPosition(std::string_view page) {
    return FindText(page, ApostrophesToQuotes("''list'':["), 1, Case::Ignore);
}

std::string NextResultItem(std::string_view page, int& cursor) {
    if (cursor < 1) cursor = 1;
    return TextBetween(page, "{", "}", &cursor);
}

std::string ItemImageAddress(std::string_view hit) {
    std::string address = TextBetween(hit, "''img'':''", "''");
    return ReplaceEach(address, "\\/", "/");
}

void PrepareTitleCleaner(RegexObject& regex) {
    regex.SetSubjectBytes(SubjectBytes::ProgramText);
    regex.SetPattern("<[\\s\\S]+?>");
}

std::string ItemTitle(std::string_view hit, RegexObject& regex) {
    std::string title = ScriptUnescape(TextBetween(hit, "''title'':''", "''"));
    return TrimWideSpaces(regex.Replace(title, ""));
}

std::string TrimWideSpaces(std::string_view text) {
    // Walk by characters, so a trail byte never passes for a space.
    size_t begin = std::string_view::npos, end = 0;
    for (size_t i = 0; i < text.size();) {
        size_t n = CharLength(text, i);
        std::string_view ch = text.substr(i, n);
        if (ch != " " && ch != kFullWidthSpace) {
            if (begin == std::string_view::npos) begin = i;
            end = i + n;
        }
        i += n;
    }
    if (begin == std::string_view::npos) return {};
    return std::string(text.substr(begin, end - begin));
}

} // namespace tuji
