#pragma once

// Marker search and list replacements shared by the search-answer parsing
// and the page text decoding. All texts are program text.

#include <string>
#include <string_view>

namespace tuji {

// Every "''" (two apostrophes) becomes one double quote mark, left to right.
// The program writes markers holding double quotes this way.
std::string ApostrophesToQuotes(std::string_view text);

// The text between `start` and `end`, searched from *cursor (1 when null),
// ignoring the case of ASCII letters. An empty start marker means from the
// beginning, an empty end marker up to the end. On success *cursor moves
// past the end marker; on failure the result is empty and *cursor stays.
std::string TextBetween(std::string_view text, std::string_view start, std::string_view end,
                        int* cursor = nullptr);

struct ReplaceEachOptions {
    bool caseSensitive = false;
    bool useFirstForEmpty = false; // an empty replacement takes the first one
    std::string_view separator = "|";
    int count = 0; // replacements per piece; 0 = all
};

// Applies the replacements piece by piece: finds and replacements are lists
// split at the separator, later pieces work on the result of earlier ones.
std::string ReplaceEach(std::string_view text, std::string_view finds,
                        std::string_view replacements, const ReplaceEachOptions& options = {});

} // namespace tuji
