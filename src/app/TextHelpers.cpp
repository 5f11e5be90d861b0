#include "app/TextHelpers.h"

#include "text/Encoding.h"
#include "text/TextOps.h"

#include <vector>

namespace tuji {

std::string ApostrophesToQuotes(std::string_view text) {
    return ReplaceText(text, "''", "\"");
}

namespace {

// An empty marker is "found" at position 1.
int FindMarker(std::string_view text, std::string_view marker, int from) {
    if (marker.empty()) return 1;
    return FindText(text, marker, from, Case::Ignore);
}

} // namespace

std::string TextBetween(std::string_view text, std::string_view startMarker,
                        std::string_view endMarker, int* cursor) {
    static const std::string kHead = T("#岚舟头#");
    static const std::string kTail = T("#岚舟尾#");
    std::string start = ApostrophesToQuotes(startMarker);
    std::string end = ApostrophesToQuotes(endMarker);
    std::string subject;
    if (start.empty()) {
        start = kHead;
        subject = kHead;
    }
    subject.append(text);
    if (end.empty()) {
        end = kTail;
        subject += kTail;
    }

    int from = cursor ? *cursor : 1;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (attempt == 1) {
            start = ReplaceText(start, "\"", "");
            end = ReplaceText(end, "\"", "");
        }
        int s = FindMarker(subject, start, from);
        if (s < 0) continue;
        int e = FindMarker(subject, end, s + static_cast<int>(start.size()));
        if (e < 0) continue;
        if (cursor) *cursor = e + static_cast<int>(end.size());
        int first = s + static_cast<int>(start.size());
        int length = e - first;
        return length > 0 ? MidText(subject, first, length) : std::string();
    }
    return std::string();
}

std::string ReplaceEach(std::string_view text, std::string_view finds,
                        std::string_view replacements, const ReplaceEachOptions& options) {
    std::string_view sep = options.separator.empty() ? std::string_view("|") : options.separator;
    std::vector<std::string> findList = SplitText(finds, sep);
    std::vector<std::string> withList = SplitText(replacements, sep);
    withList.resize(findList.size());
    std::string out(text);
    Case c = options.caseSensitive ? Case::Sensitive : Case::Ignore;
    for (size_t i = 0; i < findList.size(); ++i) {
        const std::string& with =
            (options.useFirstForEmpty && withList[i].empty() && !withList.empty()) ? withList[0]
                                                                                   : withList[i];
        out = ReplaceText(out, findList[i], with, options.count, c);
    }
    return out;
}

} // namespace tuji
