#pragma once

// Cutting the hits out of the search service's answer. The answer is JSON,
// but only marker texts are relied on: the list marker "list":[ and, per hit,
// the text between "{" and the first "}" after it, holding "img":"…" and
// "title":"…".

#include <string>
#include <string_view>

namespace tuji {

class HttpRequest;
class RegexObject;

struct ResultPage {
    std::string text;
    int listPosition = -1; // of the list marker; -1 when never found
};

// Position of the list marker (any letter case), or -1.
int FindListPosition(std::string_view page);

// Up to three attempts a second apart (the wait keeps handling events and
// ignores stop requests), each a FetchText of the address on `request`.
ResultPage FetchResultPage(HttpRequest& request, const std::string& address);

// The next hit's text between its braces from *cursor on (a cursor below 1
// searches from the start), moving the cursor past it; empty text when no
// hit is left or the pair is empty.
std::string NextResultItem(std::string_view page, int& cursor);

// The hit's image address with "\/" turned into "/".
std::string ItemImageAddress(std::string_view hit);

// Sets the pattern ItemTitle relies on: every HTML tag.
void PrepareTitleCleaner(RegexObject& regex);
// The hit's title: script escapes decoded, HTML tags removed, half- and
// full-width spaces trimmed. `regex` has been prepared by PrepareTitleCleaner.
std::string ItemTitle(std::string_view hit, RegexObject& regex);

// Half-width and full-width (GBK A1 A1) spaces off both ends.
std::string TrimWideSpaces(std::string_view text);

} // namespace tuji
